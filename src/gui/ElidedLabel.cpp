#include "gui/ElidedLabel.h"

#include <QFontMetrics>
#include <QResizeEvent>

namespace relicor {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setWordWrap(false);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::SetFullText(const QString& text) {
  full_ = text;
  setToolTip(text);
  Elide();
}

QSize ElidedLabel::sizeHint() const {
  // As high as a line, and no wider than nothing: the layout gives it the room there is.
  return {0, QLabel::sizeHint().height()};
}

QSize ElidedLabel::minimumSizeHint() const {
  return {0, QLabel::minimumSizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Elide();
}

void ElidedLabel::Elide() {
  const int room = contentsRect().width();
  setText(fontMetrics().elidedText(full_, Qt::ElideRight, room > 0 ? room : 0));
}

}  // namespace relicor
