#include "gui/PublishOptionsDialog.h"

#include <QCheckBox>
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
//   name              label                 design     field                              max  wide
inline constexpr std::array<OptionField, kLeftFieldCount> kLeftFields{{
    {"HTML_FONTFACE",  "default font face",  "arial",   &HtmlOptionValues::fontface,       0,   false},  // 0
    {"HTML_FONTSIZE",  "default font size",  "10pt",    &HtmlOptionValues::fontsize,       0,   false},  // 1
    {"HTML_FONTSIZE2", "small font size",    "8pt",     &HtmlOptionValues::fontsize2,      0,   false},  // 2
    {"HTML_COLOR",     "default font color", "#C0C0C0", &HtmlOptionValues::color,          0,   false},  // 3
    {"HTML_BGPIC",     "BACKGROUN&D",        "",        nullptr,                           0,   false},  // 4
    {"HTML_BGCOLOR",   "BGCOLOR",            "#000000", &HtmlOptionValues::bgColor,        7,   false},  // 5
    {"edFILEPREFIX",   "file prefix",        "itm",     &HtmlOptionValues::filePrefix,     3,   false},  // 6
    {"edURL1",         "add URL",            "",        &HtmlOptionValues::headerUrl1,     0,   true},   // 7
    {"edURLNAME1",     "add URL Name",       "",        &HtmlOptionValues::headerUrl1Name, 0,   true},   // 8
}};
inline constexpr std::array<OptionField, kRightFieldCount> kRightFields{{
    {"HTML_LFONTFACE", "link font face",     "arial",   nullptr,                           0,   false},  // 0
    {"HTML_LFONTSIZE", "link font size",     "10pt",    nullptr,                           0,   false},  // 1
    {"HTML_LINKCOLOR", "link font color",    "#C00000", &HtmlOptionValues::linkColor,      0,   false},  // 2
    {"HTML_HLCOLOR",   "highlight font",     "#F0F0F0", &HtmlOptionValues::inv1Color,      0,   false},  // 3
    {"HTML_HLBG",      "highlight bgcolor",  "#606000", &HtmlOptionValues::inv1BgColor,    0,   false},  // 4
}};
// clang-format on

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

PublishOptionsDialog::PublishOptionsDialog(Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
  setObjectName("IOPTIONS");
  setWindowTitle("Options");
  setModal(true);
  resize(450, 331);

  auto* tabs = new QTabWidget(this);
  tabs->setObjectName("PageControl1");
  auto* page = new QWidget(tabs);
  page->setObjectName("TabSheet1");
  tabs->addTab(page, "HTML");

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
    auto* label = new QLabel(Q(row.label), this);
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
  // Our own option: one more page, over every item, for the members to search.
  auto* searchPage = new QCheckBox(tr("Search page"), page);
  searchPage->setObjectName("CBSearchPage");
  searchPage->setToolTip(tr("Also write a page that searches, filters and sorts every item of the pool"));
  connect(searchPage, &QCheckBox::toggled, this,
          [this](bool on) { session_.settings().html.searchPage = on; });
  pageLayout->addWidget(searchPage);
  pageLayout->addStretch();

  auto* ok = new QPushButton(OkIcon(), "OK", this);
  ok->setObjectName("BitBtn1");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
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

void PublishOptionsDialog::ShowValues(const HtmlOptionValues& values) {
  const HtmlOptionValues copy = values;  // the fields write back into `values` as they change
  auto fill = [this, &copy](const OptionField& row) {
    if (row.field == nullptr) return;
    if (auto* edit = findChild<QLineEdit*>(row.name)) edit->setText(ToQt(copy.*(row.field)));
  };
  for (const OptionField& row : kLeftFields) fill(row);
  for (const OptionField& row : kRightFields) fill(row);
  if (auto* box = findChild<QCheckBox*>("CBSearchPage")) box->setChecked(copy.searchPage);
}

}  // namespace relicor
