#include "gui/PublishOptionsDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>
#include <array>
#include <string_view>

#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "gui/Language.h"
#include "gui/MessageBoxes.h"
#include "shell/Session.h"

namespace relicor {
namespace {

// The fields, column by column, top to bottom. A field without a settings key keeps its design
// value for the run and is read by nothing.
struct OptionField {
  const char* name;
  std::string_view label;
  std::string_view designValue;
  std::string HtmlOptionValues::*field;  // nullptr: no settings key
  int maxLength;                         // 0: no limit
  bool wide;
};

inline constexpr std::size_t kLeftFieldCount = 9;
inline constexpr std::size_t kRightFieldCount = 5;

// Typing limits: the background colour takes a whole "#RRGGBB", the prefix three characters.
// clang-format off
//   name              label                                                                     design     field                              max  wide
inline constexpr std::array<OptionField, kLeftFieldCount> kLeftFields{{
    {"HTML_FONTFACE",  QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "default font face"),  "arial",   &HtmlOptionValues::fontface,       0,   false},  // 0
    {"HTML_FONTSIZE",  QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "default font size"),  "10pt",    &HtmlOptionValues::fontsize,       0,   false},  // 1
    {"HTML_FONTSIZE2", QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "small font size"),    "8pt",     &HtmlOptionValues::fontsize2,      0,   false},  // 2
    {"HTML_COLOR",     QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "default font color"), "#C0C0C0", &HtmlOptionValues::color,          0,   false},  // 3
    {"HTML_BGPIC",     QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "BACKGROUN&D"),        "",        nullptr,                           0,   false},  // 4
    {"HTML_BGCOLOR",   QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "BGCOLOR"),            "#000000", &HtmlOptionValues::bgColor,        7,   false},  // 5
    {"edFILEPREFIX",   QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "file prefix"),        "itm",     &HtmlOptionValues::filePrefix,     3,   false},  // 6
    {"edURL1",         QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "add URL"),            "",        &HtmlOptionValues::headerUrl1,     0,   true},   // 7
    {"edURLNAME1",     QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "add URL Name"),       "",        &HtmlOptionValues::headerUrl1Name, 0,   true},   // 8
}};
inline constexpr std::array<OptionField, kRightFieldCount> kRightFields{{
    {"HTML_LFONTFACE", QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "link font face"),     "arial",   nullptr,                           0,   false},  // 0
    {"HTML_LFONTSIZE", QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "link font size"),     "10pt",    nullptr,                           0,   false},  // 1
    {"HTML_LINKCOLOR", QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "link font color"),    "#C00000", &HtmlOptionValues::linkColor,      0,   false},  // 2
    {"HTML_HLCOLOR",   QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "highlight font"),     "#F0F0F0", &HtmlOptionValues::inv1Color,      0,   false},  // 3
    {"HTML_HLBG",      QT_TRANSLATE_NOOP("relicor::PublishOptionsDialog", "highlight bgcolor"),  "#606000", &HtmlOptionValues::inv1BgColor,    0,   false},  // 4
}};
// clang-format on

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

PublishOptionsDialog::PublishOptionsDialog(Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
  setObjectName("IOPTIONS");
  setWindowTitle(tr("Options"));
  setModal(true);
  resize(450, 331);

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

  auto place = [this](QFormLayout* form, const OptionField& row) {
    QLineEdit* edit = AddField(row.name, Q(row.designValue), row.field);
    // A limit on typing only: a longer value from the settings file is shown and kept whole.
    if (row.maxLength > 0) {
      edit->setValidator(
          new QRegularExpressionValidator(QRegularExpression(QString(".{0,%1}").arg(row.maxLength)), edit));
    }
    if (row.field == nullptr && row.designValue.empty()) edit->setEnabled(false);
    auto* label = new QLabel(tr(std::string(row.label).c_str()), this);
    label->setBuddy(edit);
    form->addRow(label, edit);
  };
  for (const OptionField& row : kLeftFields) place(row.wide ? wide : left, row);
  for (const OptionField& row : kRightFields) place(right, row);

  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 1);
  columns->addSpacing(12);
  columns->addLayout(right, 1);
  auto* pageLayout = new QVBoxLayout(page);
  pageLayout->addLayout(columns);
  pageLayout->addLayout(wide);
  pageLayout->addStretch();

  auto* ok = new QPushButton(OkIcon(), tr("OK"), this);
  ok->setObjectName("BitBtn1");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(AddLanguageChoice());
  buttons->addStretch();
  buttons->addWidget(ok);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs, 1);
  layout->addLayout(buttons);

  // The option keys were read at start-up with the design values as their defaults.
  ShowValues(session_.settings().html);
}

QLineEdit* PublishOptionsDialog::AddField(const char* name, const QString& designValue,
                                          std::string HtmlOptionValues::*field) {
  auto* edit = new QLineEdit(designValue, this);
  edit->setObjectName(name);
  if (field != nullptr) {
    connect(edit, &QLineEdit::textChanged, this,
            [this, field](const QString& text) { session_.settings().html.*field = FromQt(text); });
  }
  return edit;
}

QWidget* PublishOptionsDialog::AddLanguageChoice() {
  auto* box = new QWidget(this);
  auto* label = new QLabel(tr("&Language"), box);
  auto* choice = new QComboBox(box);
  choice->setObjectName("LanguageChoice");
  // The languages by their own names; Classic is the program's own mix of German and English.
  const QString names[] = {tr("Classic"), "English", "Deutsch", tr("System")};
  for (std::size_t i = 0; i < kLanguageChoiceCount; ++i)
    choice->addItem(names[i], static_cast<int>(kLanguageChoices[i].choice));
  choice->setCurrentIndex(choice->findData(static_cast<int>(ReadLanguageChoice(session_.programDir()))));
  label->setBuddy(choice);
  connect(choice, &QComboBox::activated, this, [this, choice] {
    const auto chosen = static_cast<LanguageChoice>(choice->currentData().toInt());
    if (chosen == ReadLanguageChoice(session_.programDir())) return;
    if (const Status kept = WriteLanguageChoice(session_.programDir(), chosen); !kept) {
      MessageBoxes::Error(this, MessageToQt(kept.error()));
      return;
    }
    MessageBoxes::Information(this, tr("The language changes when Relicor starts again."));
  });
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(label);
  row->addWidget(choice);
  return box;
}

void PublishOptionsDialog::ShowValues(const HtmlOptionValues& values) {
  const HtmlOptionValues copy = values;  // the fields write back into `values` as they change
  auto fill = [this, &copy](const OptionField& row) {
    if (row.field == nullptr) return;
    if (auto* edit = findChild<QLineEdit*>(row.name)) edit->setText(ToQt(copy.*(row.field)));
  };
  for (const OptionField& row : kLeftFields) fill(row);
  for (const OptionField& row : kRightFields) fill(row);
}

}  // namespace relicor
