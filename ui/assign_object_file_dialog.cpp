#include "ui/assign_object_file_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "engine/messages.h"
#include "engine/object_file.h"
#include "ui/configuration_naming.h"
#include "ui/configuration_widgets.h"
#include "ui/icons.h"

namespace tabulon::ui {
namespace {

QTreeWidgetItem* SampleItem(const ObjectListItem& object) {
  auto* item = new QTreeWidgetItem({ToQString(object.display_name)});
  item->setIcon(0, ObjectTypeIcon(object.type));
  for (const ObjectListItem& child : object.children) item->addChild(SampleItem(child));
  return item;
}

}  // namespace

AssignObjectFileDialog::AssignObjectFileDialog(WindowContext& context,
                                               const std::string& configuration_name,
                                               QWidget* parent)
    : QDialog(parent) {
  setObjectName("assignObjectFileDialog");
  setWindowTitle(tr("Assign Object File"));
  auto* layout = new QVBoxLayout(this);
  auto* caption =
      Named(new QLabel(ToQString(FormatMessageId(kMsgAssignObjectFile, {configuration_name}))),
            "assignCaption", tr("Assign Object File"));
  caption->setWordWrap(true);
  layout->addWidget(caption);

  files_ = Named(new QListWidget, "objectFileList", tr("Object files"));
  const std::string folder = ObjectFileFolder(context.settings, context.DataFolder());
  paths_ = ListFilesWithExtension(folder, context.settings.Get("ObjectFileExtension"));
  for (const std::string& path : paths_) {
    files_->addItem(QFileInfo(ToQString(path)).fileName());
  }
  layout->addWidget(files_);

  const QString sample_label = tr("Sample Object List from Selected File");
  layout->addWidget(new QLabel(sample_label));
  sample_ = Named(new QTreeWidget, "sampleObjectList", sample_label);
  sample_->setHeaderHidden(true);
  layout->addWidget(sample_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->setObjectName("buttons");
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(files_, &QListWidget::currentRowChanged, this, [this] { ShowSample(); });
  connect(files_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  buttons->button(QDialogButtonBox::Ok)->setEnabled(!paths_.empty());
  if (!paths_.empty()) files_->setCurrentRow(0);
}

std::string AssignObjectFileDialog::SelectedPath() const {
  const int row = files_->currentRow();
  return row >= 0 && static_cast<std::size_t>(row) < paths_.size()
             ? paths_[static_cast<std::size_t>(row)]
             : std::string();
}

void AssignObjectFileDialog::ShowSample() {
  sample_->clear();
  std::vector<ObjectListItem> objects;
  // A file that cannot be read shows no sample; choosing it is still allowed,
  // as the run reports it.
  if (ReadObjectList(SelectedPath(), objects) != win::ERROR_SUCCESS) return;
  for (const ObjectListItem& object : objects) sample_->addTopLevelItem(SampleItem(object));
  sample_->expandAll();
}

}  // namespace tabulon::ui
