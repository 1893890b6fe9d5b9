#include "ui/config_pages.h"

#include <QAbstractButton>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QVBoxLayout>
#include <array>
#include <span>
#include <string_view>

#include "engine/catalogue.h"
#include "ui/column_chooser.h"
#include "ui/configuration_widgets.h"
#include "ui/option_dialogs.h"
#include "ui/other_exports_page.h"
#include "ui/template_list_panel.h"

namespace tabulon::ui {
namespace {

using P = ConfigPage;

// The sheet's pages in order: the table's fifteen, then the platform's.
constexpr std::array<ConfigPage, kSheetPageCount + 1> kPageOrder{
    P::kGeneral,         P::kOutput,   P::kServices, P::kComputers,           P::kShares,
    P::kRegistry,        P::kDrives,   P::kPrinters, P::kLocalGroups,         P::kLocalUsers,
    P::kActiveDirectory, P::kSecurity, P::kWmi,      P::kFilesAndDirectories, P::kOther,
    P::kPlatform,
};

enum class PageButton { kNone, kComputerFilter, kControllerOptions, kPhotoOptions };

// A group box of a page: its keys ("Section/Key", blank-separated, in the
// order shown) and the option dialog it opens. Keys of a page that no box
// names follow the boxes in the table's order.
struct KeyGroup {
  ConfigPage page;
  const char* title;
  std::string_view keys;
  PageButton button = PageButton::kNone;
};

// clang-format off
constexpr KeyGroup kKeyGroups[] = {
    {P::kGeneral, "Domain Computers", "General/ComputerSource General/MergeBrowseList"},
    {P::kGeneral, "Active Directory Options", "Computers/UseNetbiosName Computers/SkipDisabled"},
    {P::kGeneral, "Computer Filtering", "Computers/FilteringEnable", PageButton::kComputerFilter},
    {P::kGeneral, "Skip List", "Computers/SkipEnable Computers/SkipFileName"},
    {P::kGeneral, "Ping", "Computers/PingEnable Computers/PingType Computers/PingHideProgressErrors "
                          "Computers/PingTTL Computers/PingTimeout Computers/PingRetry "
                          "Computers/PingRetryMultiplier"},
    {P::kGeneral, "Performance", "General/ParallelTargets"},
    {P::kOutput, "Progress", "General/VerboseProgress General/OpenOutputWindow"},
    {P::kOutput, "Log File", "General/EnableLogging General/LogSuccess General/LogFailure "
                             "General/AppendLog General/LogFileName"},
    {P::kOutput, "Output Files", "General/WriteTitles General/UnicodeOutput General/AppendOutput "
                                 "General/KeepRowsWhole General/SpreadsheetSafe "
                                 "General/DefaultOutputDirectory"},
    {P::kOutput, "Special Characters (\\t, \\n, \\r)",
     "General/Delimiter General/SecondaryDelimiter General/LineTerminator General/CrLfReplacement"},
    {P::kOutput, "Dates and Times", "Advanced/UserCustomDateFormat Advanced/UserCustomTimeFormat"},
    {P::kServices, "Services to Export", "Services/ServiceType Services/ServiceState "
                                         "Services/ExportSpecificServices Services/SpecificFileName"},
    {P::kShares, "Share Types", "Shares/ShowFileShares Shares/ShowHiddenShares "
                                "Shares/ShowAdminShares Shares/ShowPrintShares"},
    {P::kDrives, "Drive Options", "Drives/DrivesFormat Drives/DrivesMask"},
    {P::kLocalGroups, "Group Options", "Groups/ExportUnresolvedSids Groups/ExportEmptyGroups "
                                       "Groups/ExportNestedGroups Groups/ExportDisabledUsers "
                                       "Groups/ExportSpecificGroups Groups/SpecificFileName"},
    {P::kLocalUsers, "Domain Users", "", PageButton::kControllerOptions},
    {P::kActiveDirectory, "User Photos", "AD/EnableAdPhotoExporting", PageButton::kPhotoOptions},
    {P::kSecurity, "Share Security", "Security/ExportShareSecurity Security/ExportShareSecurityFile "
                                     "Security/ExportShareSecurityHidden Security/ExportShareSecurityAdmin "
                                     "Security/ExportShareSecurityFolder Security/ExportShareSecurityPrinter"},
    {P::kSecurity, "Other Objects", "Security/ExportPrinterSecurity Security/ExportServiceSecurity "
                                    "Security/ExportRegistrySecurity Security/ExportFileSecurity "
                                    "Security/ExportOwnerSecurity"},
    {P::kSecurity, "Listed Trustees", "Security/ExportSpecificTrustees Security/SpecificFileName"},
    {P::kWmi, "WMI Object Source", "WMI/ReferenceComputer"},
    {P::kPlatform, "Network", "Platform/Estate Platform/LocalShares Platform/Timeout"},
    {P::kPlatform, "Logon", "Platform/Credentials Platform/Kerberos"},
    {P::kPlatform, "Directory", "Platform/DirectoryServer Platform/DirectoryCaFile "
                                "Platform/DirectoryStartTls"},
};
// clang-format on

// Keys an option dialog edits: the page shows the dialog's button instead.
constexpr std::string_view kDialogKeys =
    "Computers/FilteringType Users/GetLogonInformation Users/LastLogonType "
    "Users/SkipSpecifiedDomainControllers AD/PhotoFileOutputPath AD/PhotoFileExtension";

// Settings that mean something only while a switch is on: their controls
// are greyed while it is off (their values are still kept and written).
constexpr struct {
  const char* key;
  std::string_view governed;
} kGoverningSwitches[] = {
    {"Computers/PingEnable",
     "Computers/PingType Computers/PingHideProgressErrors Computers/PingTTL "
     "Computers/PingTimeout Computers/PingRetry Computers/PingRetryMultiplier"},
    {"Computers/SkipEnable", "Computers/SkipFileName"},
    {"General/EnableLogging",
     "General/LogSuccess General/LogFailure General/AppendLog General/LogFileName"},
    {"Services/ExportSpecificServices", "Services/SpecificFileName"},
    {"Groups/ExportSpecificGroups", "Groups/SpecificFileName"},
    {"Security/ExportShareSecurity",
     "Security/ExportShareSecurityFile Security/ExportShareSecurityHidden "
     "Security/ExportShareSecurityAdmin Security/ExportShareSecurityFolder "
     "Security/ExportShareSecurityPrinter"},
    {"Security/ExportSpecificTrustees", "Security/SpecificFileName"},
};

constexpr struct {
  ConfigPage page;
  TemplateKind kind;
} kTemplatePages[] = {
    {P::kRegistry, TemplateKind::kRegistry},
    {P::kActiveDirectory, TemplateKind::kDirectory},
    {P::kWmi, TemplateKind::kWmi},
    {P::kFilesAndDirectories, TemplateKind::kFile},
};

std::vector<QString> Names(std::string_view list) {
  std::vector<QString> names;
  for (const QString& name : ToQString(list).split(' ', Qt::SkipEmptyParts)) names.push_back(name);
  return names;
}

QString NameOf(const ConfigKey& key) {
  return ToQString(key.section) + "/" + ToQString(key.key);
}

bool HasOwnPage(std::uint32_t type) {
  const ExportTypeDescriptor& d = ExportTypeInfo(type);
  return !d.section.empty() && d.group == 1;
}

// Gives each label of a page a mnemonic of its own where one is free.
class Mnemonics {
 public:
  QString operator()(const QString& text) {
    const qsizetype amp = text.indexOf('&');
    if (amp >= 0 && amp + 1 < text.size()) {
      used_.insert(text[amp + 1].toLower());
      return text;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
      const QChar c = text[i].toLower();
      if (!c.isLetter() || used_.contains(c)) continue;
      used_.insert(c);
      return text.left(i) + '&' + text.mid(i);
    }
    return text;
  }

 private:
  QSet<QChar> used_;
};

// A page's body: group boxes, each a form of key controls.
class PageBuilder {
 public:
  explicit PageBuilder(QWidget* page) : layout_(new QVBoxLayout(page)) {}

  QVBoxLayout* layout() const { return layout_; }
  Mnemonics& marks() { return marks_; }

  QFormLayout* Box(const QString& title) {
    auto* box = new QGroupBox(title);
    auto* form = new QFormLayout(box);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    layout_->addWidget(box);
    return form;
  }
  void Add(QFormLayout* form, const KeyControl& control) {
    if (control.carries_label()) {
      form->addRow(control.widget());
      return;
    }
    auto* label = new QLabel(marks_(ToQString(control.key().label)) + ":");
    label->setBuddy(control.focus());
    label->setToolTip(ToQString(control.key().help));
    form->addRow(label, control.widget());
  }
  QPushButton* Button(const QString& text, const char* name) {
    auto* button = Named(new QPushButton(marks_(text)), name, text);
    return button;
  }
  // A button at the end of a form, at its left.
  static void AddButton(QFormLayout* form, QPushButton* button) {
    auto* row = new QHBoxLayout;
    row->addWidget(button);
    row->addStretch();
    form->addRow(row);
  }

 private:
  QVBoxLayout* layout_;
  Mnemonics marks_;
};

}  // namespace

ConfigPages::ConfigPages(const SheetContext& context, QWidget* dialog)
    : context_(context), dialog_(dialog) {
  const std::vector<QString> dialog_keys_list = Names(kDialogKeys);
  const QSet<QString> dialog_keys(dialog_keys_list.begin(), dialog_keys_list.end());
  // Check boxes get their mnemonics when their page is built; the label
  // they are made with is replaced there.
  for (std::span<const ConfigKey> list : {GeneralConfigKeys(), PerTypeKeys()}) {
    for (const ConfigKey& key : list) {
      const auto index = static_cast<std::uint32_t>(key.page);
      if (index >= kSheetPageCount && key.page != P::kPlatform) continue;
      // The template lists are their panels', which write them.
      if (key.kind == KeyKind::kTemplateList) continue;
      const QString name = NameOf(key);
      const bool held = dialog_keys.contains(name) || key.page == P::kOther;
      controls_.push_back(held ? std::make_unique<HeldKey>(key)
                               : MakeKeyControl(key, ToQString(key.label)));
      by_name_.insert(name, controls_.back().get());
    }
  }
  const Configuration config = context_.config();
  for (const auto& control : controls_) control->Load(config);
  for (ConfigPage page : kPageOrder) pages_.push_back({page, BuildPage(page)});
  for (const auto& rule : kGoverningSwitches) {
    auto* governing = qobject_cast<QAbstractButton*>(Control(rule.key)->widget());
    for (const QString& name : Names(rule.governed)) {
      QWidget* governed = Control(name)->widget();
      governed->setEnabled(governing->isChecked());
      QObject::connect(governing, &QAbstractButton::toggled, governed, &QWidget::setEnabled);
    }
  }
}

ConfigPages::~ConfigPages() = default;

void ConfigPages::Save() const {
  const Configuration config = context_.config();
  for (const auto& control : controls_) control->Save(config);
  for (TemplateListPanel* panel : panels_) panel->Save();
}

std::int32_t ConfigPages::Number(const char* name) const {
  return ProfileInteger(ToUtf8(Control(name)->Value()));
}

void ConfigPages::SetNumber(const char* name, std::int32_t value) const {
  Control(name)->SetValue(QString::number(value));
}

QWidget* ConfigPages::BuildPage(ConfigPage page) {
  auto* widget = new QWidget;
  widget->setObjectName(ToQString(PageTitle(page)));
  PageBuilder builder(widget);
  QSet<QString> placed;
  const auto place = [&](QFormLayout* form, KeyControl* control) {
    if (auto* box = qobject_cast<QAbstractButton*>(control->widget())) {
      box->setText(builder.marks()(box->text()));
    }
    builder.Add(form, *control);
    placed.insert(control->Name());
  };

  bool has_panel = false;
  for (const auto& entry : kTemplatePages) {
    if (entry.page != page) continue;
    auto* panel = new TemplateListPanel(context_, entry.kind);
    panels_.push_back(panel);
    builder.layout()->addWidget(panel, 1);
    has_panel = true;
  }

  // The page's export types, each with its enable key and output file.
  bool has_columns = false;
  for (std::uint32_t type = 0; type < kExportTypeCount; ++type) {
    const ExportTypeDescriptor& d = ExportTypeInfo(type);
    if (d.page_index != static_cast<std::uint32_t>(page) || !HasOwnPage(type)) continue;
    QFormLayout* form = builder.Box(ToQString(d.settings_label));
    const QString section = ToQString(d.section) + "/";
    place(form, Control(section + ToQString(d.enable_key)));
    KeyControl* file = Control(section + ToQString(d.output_file_key));
    place(form, file);
    // An empty name is the type's default file.
    if (auto* edit = qobject_cast<QLineEdit*>(file->focus())) {
      edit->setPlaceholderText(ToQString(d.default_file_name));
    }
    has_columns = has_columns || !d.columns_key.empty();
  }
  if (has_columns) {
    auto* button = builder.Button(QObject::tr("Customize Output Columns..."), "customizeColumns");
    QObject::connect(button, &QPushButton::clicked, dialog_, [this, page] { EditColumns(page); });
    auto* row = new QHBoxLayout;
    row->addWidget(button);
    row->addStretch();
    builder.layout()->addLayout(row);
  }

  if (page == P::kOther) {
    std::vector<OtherExport> others;
    for (std::uint32_t type = 0; type < kExportTypeCount; ++type) {
      const ExportTypeDescriptor& d = ExportTypeInfo(type);
      if (d.group != 2) continue;
      const QString section = ToQString(d.section) + "/";
      others.push_back({type, Control(section + ToQString(d.enable_key)),
                        Control(section + ToQString(d.output_file_key)),
                        Control(section + ToQString(d.columns_key))});
    }
    builder.layout()->addWidget(MakeOtherExportsPage(std::move(others)), 1);
    return widget;
  }

  for (const KeyGroup& group : kKeyGroups) {
    if (group.page != page) continue;
    QFormLayout* form = builder.Box(QObject::tr(group.title));
    for (const QString& name : Names(group.keys)) place(form, Control(name));
    switch (group.button) {
      case PageButton::kNone:
        break;
      case PageButton::kComputerFilter: {
        auto* button = builder.Button(QObject::tr("Set Filter..."), "setFilter");
        QObject::connect(button, &QPushButton::clicked, dialog_, [this] { EditFilter(); });
        PageBuilder::AddButton(form, button);
        break;
      }
      case PageButton::kControllerOptions: {
        auto* button =
            builder.Button(QObject::tr("Domain User Exporting Options..."), "domainUserOptions");
        QObject::connect(button, &QPushButton::clicked, dialog_, [this] { EditControllers(); });
        PageBuilder::AddButton(form, button);
        break;
      }
      case PageButton::kPhotoOptions: {
        auto* button = builder.Button(QObject::tr("Set Options..."), "photoOptions");
        QObject::connect(button, &QPushButton::clicked, dialog_, [this] { EditPhotos(); });
        PageBuilder::AddButton(form, button);
        break;
      }
    }
  }

  // Whatever key of the page no box names, so that none is left out.
  QFormLayout* rest = nullptr;
  for (const auto& control : controls_) {
    if (control->key().page != page || control->widget() == nullptr) continue;
    if (placed.contains(control->Name())) continue;
    if (rest == nullptr) rest = builder.Box(QObject::tr("Other Settings"));
    place(rest, control.get());
  }
  // A template list takes the page's height; other pages keep their
  // boxes at the top.
  if (!has_panel) builder.layout()->addStretch();
  return widget;
}

void ConfigPages::EditFilter() const {
  std::int32_t filter = Number("Computers/FilteringType");
  if (EditComputerFilter(dialog_, filter)) SetNumber("Computers/FilteringType", filter);
}

void ConfigPages::EditControllers() const {
  // The group assignments are the user groups export's enable key, which
  // the page shows as well.
  ControllerOptions options{Number("Users/GetLogonInformation"), Number("Users/LastLogonType"),
                            Number("Users/SkipSpecifiedDomainControllers"),
                            Number("Users/ExportUsersGroups")};
  if (!EditControllerOptions(dialog_, AccountKind::kUser, options)) return;
  SetNumber("Users/GetLogonInformation", options.all_controllers);
  SetNumber("Users/LastLogonType", options.last_logon_type);
  SetNumber("Users/SkipSpecifiedDomainControllers", options.skip_listed);
  SetNumber("Users/ExportUsersGroups", options.group_assignments);
}

void ConfigPages::EditPhotos() const {
  PhotoOptions options{ToUtf8(Control("AD/PhotoFileOutputPath")->Value()),
                       ToUtf8(Control("AD/PhotoFileExtension")->Value())};
  if (!EditPhotoOptions(dialog_, options)) return;
  Control("AD/PhotoFileOutputPath")->SetValue(ToQString(options.output_path));
  Control("AD/PhotoFileExtension")->SetValue(ToQString(options.extension));
}

void ConfigPages::EditColumns(ConfigPage page) const {
  std::vector<ColumnChoice> choices;
  std::vector<KeyControl*> keys;
  for (std::uint32_t type = 0; type < kExportTypeCount; ++type) {
    const ExportTypeDescriptor& d = ExportTypeInfo(type);
    if (d.page_index != static_cast<std::uint32_t>(page) || !HasOwnPage(type)) continue;
    if (d.columns_key.empty()) continue;
    keys.push_back(Control(ToQString(d.section) + "/" + ToQString(d.columns_key)));
    choices.push_back({type, ToUtf8(keys.back()->Value())});
  }
  if (!ChooseColumns(dialog_, choices)) return;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    keys[i]->SetValue(ToQString(choices[i].columns));
  }
}

}  // namespace tabulon::ui
