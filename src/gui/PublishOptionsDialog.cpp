#include "gui/PublishOptionsDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "gui/Language.h"
#include "gui/MessageBoxes.h"
#include "gui/WindowPlacement.h"
#include "shell/Session.h"

namespace relicor {
namespace {

// What sits beside a field: nothing, a colour picker, or the font picker (face and size).
enum class Picker : std::uint8_t { kNone, kColour, kFont };

// The fields, column by column, top to bottom. A field without a settings key keeps its design
// value for the run and is read by nothing.
struct OptionField {
  const char* name;
  std::string_view label;
  std::string_view designValue;
  std::string HtmlOptionValues::*field;  // nullptr: no settings key
  int maxLength;                         // 0: no limit
  bool wide;
  Picker picker;
};

inline constexpr std::size_t kLeftFieldCount = 9;
inline constexpr std::size_t kRightFieldCount = 5;

// Typing limits: the background colour takes a whole "#RRGGBB", the prefix three characters.
// clang-format off
//   name              label                                                                     design     field                              max  wide   picker
inline constexpr std::array<OptionField, kLeftFieldCount> kLeftFields{{
    {"HTML_FONTFACE",  QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "default font face"),  "arial",   &HtmlOptionValues::fontface,       0,   false, Picker::kFont},    // 0
    {"HTML_FONTSIZE",  QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "default font size"),  "10pt",    &HtmlOptionValues::fontsize,       0,   false, Picker::kNone},    // 1
    {"HTML_FONTSIZE2", QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "small font size"),    "8pt",     &HtmlOptionValues::fontsize2,      0,   false, Picker::kNone},    // 2
    {"HTML_COLOR",     QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "default font color"), "#C0C0C0", &HtmlOptionValues::color,          0,   false, Picker::kColour},  // 3
    {"HTML_BGPIC",     QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "BACKGROUN&D"),        "",        nullptr,                           0,   false, Picker::kNone},    // 4
    {"HTML_BGCOLOR",   QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "BGCOLOR"),            "#000000", &HtmlOptionValues::bgColor,        7,   false, Picker::kColour},  // 5
    {"edFILEPREFIX",   QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "file prefix"),        "itm",     &HtmlOptionValues::filePrefix,     3,   false, Picker::kNone},    // 6
    {"edURL1",         QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "add URL"),            "",        &HtmlOptionValues::headerUrl1,     0,   true,  Picker::kNone},    // 7
    {"edURLNAME1",     QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "add URL Name"),       "",        &HtmlOptionValues::headerUrl1Name, 0,   true,  Picker::kNone},    // 8
}};
inline constexpr std::array<OptionField, kRightFieldCount> kRightFields{{
    {"HTML_LFONTFACE", QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "link font face"),     "arial",   nullptr,                           0,   false, Picker::kNone},    // 0
    {"HTML_LFONTSIZE", QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "link font size"),     "10pt",    nullptr,                           0,   false, Picker::kNone},    // 1
    {"HTML_LINKCOLOR", QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "link font color"),    "#C00000", &HtmlOptionValues::linkColor,      0,   false, Picker::kColour},  // 2
    {"HTML_HLCOLOR",   QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "highlight font"),     "#F0F0F0", &HtmlOptionValues::inv1Color,      0,   false, Picker::kColour},  // 3
    {"HTML_HLBG",      QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "highlight bgcolor"),  "#606000", &HtmlOptionValues::inv1BgColor,    0,   false, Picker::kColour},  // 4
}};
// clang-format on

constexpr int kSwatchSize = 14;

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A square of the field's colour; a colour the desktop cannot read (the field takes any text)
// shows as a crossed-out square.
QIcon Swatch(const QString& text) {
  QPixmap pixmap(kSwatchSize, kSwatchSize);
  const QColor colour(text.trimmed());
  pixmap.fill(colour.isValid() ? colour : QColor(Qt::white));
  QPainter painter(&pixmap);
  painter.setPen(QColor(Qt::darkGray));
  painter.drawRect(0, 0, kSwatchSize - 1, kSwatchSize - 1);
  if (!colour.isValid()) painter.drawLine(0, kSwatchSize - 1, kSwatchSize - 1, 0);
  return QIcon(pixmap);
}

// "10pt" -> 10; nothing for a size in other units.
std::optional<double> PointSize(const QString& text) {
  static const QRegularExpression kPoints(R"(^\s*(\d+(?:\.\d+)?)\s*pt\s*$)",
                                          QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = kPoints.match(text);
  if (!match.hasMatch()) return std::nullopt;
  return match.captured(1).toDouble();
}

}  // namespace

PublishOptionsDialog::PublishOptionsDialog(Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
  setObjectName("IOPTIONS");
  setWindowTitle(tr("Options"));
  setModal(true);
  // Wider than the designed 450 by 331, for the pickers beside the fields.
  resize(560, 340);
  FitOnScreenWhenShown(this, Placement::kOverParent);

  auto* tabs = new QTabWidget(this);
  tabs->setObjectName("PageControl1");
  auto* page = new QWidget(tabs);
  page->setObjectName("TabSheet1");
  tabs->addTab(page, tr("HTML"));

  auto* left = new QFormLayout;
  auto* right = new QFormLayout;
  auto* wide = new QFormLayout;
  for (QFormLayout* form : {left, right, wide}) {
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  }

  QLineEdit* fontFace = nullptr;
  auto place = [this, &fontFace](QFormLayout* form, const OptionField& row) {
    QLineEdit* edit = AddField(row.name, Q(row.designValue));
    // A limit on typing only: a longer value from the settings file is shown and kept whole.
    if (row.maxLength > 0) {
      edit->setValidator(
          new QRegularExpressionValidator(QRegularExpression(QString(".{0,%1}").arg(row.maxLength)), edit));
    }
    if (row.field == nullptr && row.designValue.empty()) edit->setEnabled(false);
    auto* label = new QLabel(tr(std::string(row.label).c_str()), this);
    label->setBuddy(edit);
    if (row.picker == Picker::kNone) {
      form->addRow(label, edit);
      return;
    }
    if (row.picker == Picker::kFont) fontFace = edit;
    auto* line = new QHBoxLayout;
    line->setSpacing(2);
    line->addWidget(edit, 1);
    if (row.picker == Picker::kColour) line->addWidget(AddColourPicker(edit));
    form->addRow(label, line);
  };
  for (const OptionField& row : kLeftFields) place(row.wide ? wide : left, row);
  for (const OptionField& row : kRightFields) place(right, row);
  // The font picker sets the face and the size, so it stands beside the face once both exist.
  if (fontFace != nullptr) {
    if (auto* line = qobject_cast<QHBoxLayout*>(left->itemAt(0, QFormLayout::FieldRole)->layout()))
      line->addWidget(AddFontPicker(fontFace, findChild<QLineEdit*>("HTML_FONTSIZE")));
  }

  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 1);
  columns->addSpacing(12);
  columns->addLayout(right, 1);
  auto* pageLayout = new QVBoxLayout(page);
  pageLayout->addLayout(columns);
  pageLayout->addLayout(wide);
  // Our own option: one more page, over every item, for the members to search.
  auto* searchPage = new QCheckBox(tr("Search page"), page);
  searchPage->setObjectName("CBSearchPage");
  searchPage->setToolTip(tr("Also write a page that searches, filters and sorts every item of the pool"));
  connect(searchPage, &QCheckBox::toggled, this, [this] {
    if (apply_ != nullptr) apply_->setEnabled(FieldValues() != session_.settings().html);
  });
  pageLayout->addWidget(searchPage);
  pageLayout->addStretch();

  auto* buttons = new QDialogButtonBox(this);
  buttons->setObjectName("ButtonBox");
  auto* ok = new QPushButton(OkIcon(), tr("OK"), this);
  ok->setObjectName("BitBtn1");
  ok->setDefault(true);
  buttons->addButton(ok, QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
  cancel->setObjectName("BitBtnCancel");
  apply_ = buttons->addButton(QDialogButtonBox::Apply);
  apply_->setObjectName("BitBtnApply");
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(apply_, &QPushButton::clicked, this, &PublishOptionsDialog::Apply);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs, 1);
  layout->addWidget(AddLanguageChoice());
  layout->addWidget(buttons);

  // The option keys were read at start-up with the design values as their defaults.
  ShowValues(session_.settings().html);
}

QLineEdit* PublishOptionsDialog::AddField(const char* name, const QString& designValue) {
  auto* edit = new QLineEdit(designValue, this);
  edit->setObjectName(name);
  connect(edit, &QLineEdit::textChanged, this, [this] {
    if (apply_ != nullptr) apply_->setEnabled(Changed());
  });
  return edit;
}

QWidget* PublishOptionsDialog::AddLanguageChoice() {
  auto* box = new QWidget(this);
  auto* label = new QLabel(tr("&Language"), box);
  language_ = new QComboBox(box);
  language_->setObjectName("LanguageChoice");
  // The languages by their own names; Classic is the program's own mix of German and English.
  const QString names[] = {tr("Classic"), "English", "Deutsch", tr("System")};
  for (std::size_t i = 0; i < kLanguageChoiceCount; ++i)
    language_->addItem(names[i], static_cast<int>(kLanguageChoices[i].choice));
  label->setBuddy(language_);
  connect(language_, &QComboBox::currentIndexChanged, this, [this] {
    if (apply_ != nullptr) apply_->setEnabled(Changed());
  });
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(label);
  row->addWidget(language_);
  row->addStretch();
  return box;
}

LanguageChoice PublishOptionsDialog::ChosenLanguage() const {
  return static_cast<LanguageChoice>(language_->currentData().toInt());
}

bool PublishOptionsDialog::Changed() const {
  return FieldValues() != session_.settings().html ||
         (language_ != nullptr && ChosenLanguage() != ReadLanguageChoice(session_.programDir()));
}

QToolButton* PublishOptionsDialog::AddColourPicker(QLineEdit* field) {
  auto* button = new QToolButton(this);
  button->setObjectName(field->objectName() + "_PICK");
  button->setToolTip(tr("Choose the colour"));
  button->setAccessibleName(tr("Choose the colour"));
  button->setIcon(Swatch(field->text()));
  connect(field, &QLineEdit::textChanged, button,
          [button](const QString& text) { button->setIcon(Swatch(text)); });
  connect(button, &QToolButton::clicked, this, [this, field] {
    QColorDialog picker(QColor(field->text().trimmed()), this);
    picker.setObjectName("ColorPicker");
    if (picker.exec() != QDialog::Accepted || !picker.selectedColor().isValid()) return;
    // The stored format of the colour keys: "#" and six upper-case hex digits.
    field->setText(picker.selectedColor().name(QColor::HexRgb).toUpper());
  });
  return button;
}

QToolButton* PublishOptionsDialog::AddFontPicker(QLineEdit* face, QLineEdit* size) {
  auto* button = new QToolButton(this);
  button->setObjectName(face->objectName() + "_PICK");
  button->setText(tr("Font…"));
  button->setToolTip(tr("Choose the font face and size"));
  connect(button, &QToolButton::clicked, this, [this, face, size] {
    QFont initial(face->text().section(',', 0, 0).trimmed());
    if (const auto points = PointSize(size->text()); points && *points > 0) initial.setPointSizeF(*points);
    QFontDialog picker(initial, this);
    picker.setObjectName("FontPicker");
    if (picker.exec() != QDialog::Accepted) return;
    const QFont chosen = picker.selectedFont();
    face->setText(chosen.family());
    // The size keys hold a CSS size in points ("10pt").
    if (chosen.pointSizeF() > 0) size->setText(QString::number(chosen.pointSizeF()) + "pt");
  });
  return button;
}

void PublishOptionsDialog::ShowValues(const HtmlOptionValues& values) {
  Fill(values, isVisible());
}

void PublishOptionsDialog::Fill(const HtmlOptionValues& values, bool keepEdits) {
  const HtmlOptionValues copy = values;
  auto fill = [this, &copy, keepEdits](const OptionField& row) {
    if (row.field == nullptr) return;
    auto* edit = findChild<QLineEdit*>(row.name);
    if (edit == nullptr) return;
    if (keepEdits && FromQt(edit->text()) != shown_.*(row.field)) return;
    edit->setText(ToQt(copy.*(row.field)));
  };
  for (const OptionField& row : kLeftFields) fill(row);
  for (const OptionField& row : kRightFields) fill(row);
  if (auto* box = findChild<QCheckBox*>("CBSearchPage")) {
    if (!keepEdits || box->isChecked() == shown_.searchPage) box->setChecked(copy.searchPage);
  }
  shown_ = copy;
  // The language choice is a draft too: while the dialog is open it stays as the keeper left it.
  if (language_ != nullptr && !keepEdits) {
    const QSignalBlocker block(language_);
    language_->setCurrentIndex(
        language_->findData(static_cast<int>(ReadLanguageChoice(session_.programDir()))));
  }
  if (apply_ != nullptr) apply_->setEnabled(Changed());
}

HtmlOptionValues PublishOptionsDialog::FieldValues() const {
  HtmlOptionValues values = session_.settings().html;
  auto take = [this, &values](const OptionField& row) {
    if (row.field == nullptr) return;
    if (const auto* edit = findChild<QLineEdit*>(row.name)) values.*(row.field) = FromQt(edit->text());
  };
  for (const OptionField& row : kLeftFields) take(row);
  for (const OptionField& row : kRightFields) take(row);
  if (const auto* box = findChild<QCheckBox*>("CBSearchPage")) values.searchPage = box->isChecked();
  return values;
}

bool PublishOptionsDialog::Apply() {
  // The language is kept at once; the windows take it at the next start.
  if (const LanguageChoice chosen = ChosenLanguage(); chosen != ReadLanguageChoice(session_.programDir())) {
    if (const Status kept = WriteLanguageChoice(session_.programDir(), chosen); !kept) {
      MessageBoxes::Error(this, MessageToQt(kept.error()));
      return false;
    }
    MessageBoxes::Information(this, tr("The language changes when Relicor starts again."));
  }
  session_.settings().html = FieldValues();
  const Status written = session_.WriteSettings();
  // The file may have brought another program's values for the keys not changed here.
  Fill(session_.settings().html, false);
  if (!written) {
    MessageBoxes::Error(this, MessageToQt(written.error()));
    return false;
  }
  return true;
}

void PublishOptionsDialog::accept() {
  if (Apply()) QDialog::accept();
}

void PublishOptionsDialog::reject() {
  Fill(session_.settings().html, false);
  QDialog::reject();
}

}  // namespace relicor
