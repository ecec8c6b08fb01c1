#pragma once
// A one-line label that never asks for more width than it has: a text longer than the label is
// cut with an ellipsis at its end, and the whole text is the tooltip.

#include <QLabel>
#include <QString>

namespace relicor {

class ElidedLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ElidedLabel(QWidget* parent = nullptr);

  // The whole text (shown cut where it does not fit).
  void SetFullText(const QString& text);
  const QString& FullText() const { return full_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Elide();
  QString full_;
};

}  // namespace relicor
