#include "ui/config_sheet.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "engine/catalogue.h"
#include "engine/messages.h"
#include "ui/config_pages.h"
#include "ui/configuration_widgets.h"

namespace tabulon::ui {
namespace {

constexpr std::string_view kUnnamedConfiguration = "<unnamed configuration>";
constexpr int kPageListWidth = 170;

// A list of the pages at the left and the chosen page beside it: fifteen
// and more tabs would not fit in a row.
class ConfigSheet : public QDialog {
 public:
  ConfigSheet(const SheetContext& context, std::uint32_t export_type, QWidget* parent)
      : QDialog(parent), pages_(context, this) {
    setObjectName("configSheet");
    std::string name = context.config().ReadText("General", "ConfigurationName", "");
    if (name.empty()) name = kUnnamedConfiguration;
    setWindowTitle(ToQString(FormatMessageId(kMsgExportProperties, {name})));

    auto* list = Named(new QListWidget, "pages", tr("Pages"));
    auto* stack = new QStackedWidget;
    stack->setObjectName("pageStack");
    for (const ConfigPages::Page& page : pages_.pages()) {
      list->addItem(ToQString(PageTitle(page.page)));
      stack->addWidget(page.widget);
    }
    list->setFixedWidth(kPageListWidth);
    connect(list, &QListWidget::currentRowChanged, stack, &QStackedWidget::setCurrentIndex);
    list->setCurrentRow(static_cast<int>(ExportTypeInfo(export_type).page_index));

    auto* body = new QHBoxLayout;
    body->addWidget(list);
    body->addWidget(stack, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName("buttons");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(buttons);
    // The list first, so the arrow keys choose a page and Tab enters it.
    list->setFocus();
  }

  void accept() override {
    pages_.Save();
    QDialog::accept();
  }

 private:
  ConfigPages pages_;
};

}  // namespace

bool EditConfiguration(QWidget* parent, const SheetContext& context, std::uint32_t export_type) {
  ConfigSheet sheet(context, export_type, parent);
  return sheet.exec() == QDialog::Accepted;
}

}  // namespace tabulon::ui
