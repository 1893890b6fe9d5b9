#pragma once
// The pages of the configuration property sheet, built from the
// configuration key table: one control per key of a page, grouped in the
// boxes the page's layout names, the export types of the page with their
// enable and output file controls, the template list of a template page,
// and the buttons that open the option dialogs and the column chooser over
// values the page holds. The [Platform] keys get a page of their own after
// the table's fifteen.
#include <QHash>
#include <QString>
#include <memory>
#include <vector>

#include "engine/config_keys.h"
#include "ui/key_controls.h"
#include "ui/sheet_context.h"

class QWidget;

namespace tabulon::ui {

class TemplateListPanel;

class ConfigPages {
 public:
  struct Page {
    ConfigPage page;
    QWidget* widget;
  };

  // Reads every key; the pages are made for `dialog`, which owns them once
  // they are placed in it.
  ConfigPages(const SheetContext& context, QWidget* dialog);
  ~ConfigPages();
  ConfigPages(const ConfigPages&) = delete;
  ConfigPages& operator=(const ConfigPages&) = delete;

  const std::vector<Page>& pages() const { return pages_; }
  // Writes every key of every page, then the template lists.
  void Save() const;

 private:
  KeyControl* Control(const QString& name) const { return by_name_.value(name); }
  std::int32_t Number(const char* name) const;
  void SetNumber(const char* name, std::int32_t value) const;

  QWidget* BuildPage(ConfigPage page);
  void EditFilter() const;
  void EditControllers() const;
  void EditPhotos() const;
  void EditColumns(ConfigPage page) const;

  const SheetContext& context_;
  QWidget* dialog_;
  std::vector<std::unique_ptr<KeyControl>> controls_;
  QHash<QString, KeyControl*> by_name_;
  std::vector<TemplateListPanel*> panels_;
  std::vector<Page> pages_;
};

}  // namespace tabulon::ui
