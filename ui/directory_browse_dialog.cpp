#include "ui/directory_browse_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaObject>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <mutex>

#include "engine/object_file.h"
#include "ui/qt_text.h"

namespace tabulon::ui {
namespace {

constexpr std::string_view kLastDomainOuSearch = "LastDomainOuSearch";

void Name(QWidget* widget, const char* object_name, const QString& accessible) {
  widget->setObjectName(object_name);
  widget->setAccessibleName(accessible);
}

QString PickerTitle(std::uint32_t object_type) {
  switch (object_type) {
    case kObjectContainer:
      return QStringLiteral("Find and Select Container/OU");
    case kObjectDirectoryUser:
      return QStringLiteral("Select User");
    case kObjectDirectoryGroup:
      return QStringLiteral("Select Group");
    case kObjectDirectoryComputer:
      return QStringLiteral("Select Computer");
    default:
      return QStringLiteral("Select Contact");
  }
}

}  // namespace

struct BrowseWorker::State {
  std::string configuration;
  std::string data_folder;
  std::mutex mutex;  // guards `browser` being made against Cancel
  std::unique_ptr<DirectoryBrowser> browser;
};

BrowseWorker::BrowseWorker(QObject* owner, const WindowContext& context)
    : owner_(owner),
      state_(std::make_shared<State>()),
      done_(std::make_shared<std::atomic<bool>>(true)) {
  state_->configuration = context.configuration;
  state_->data_folder = context.DataFolder();
}

BrowseWorker::~BrowseWorker() {
  {
    const std::lock_guard lock(state_->mutex);
    if (state_->browser) state_->browser->Cancel();
  }
  if (thread_.joinable()) thread_.join();
}

void BrowseWorker::Run(std::function<void(DirectoryBrowser&)> job, std::function<void()> finished) {
  if (busy()) return;
  if (thread_.joinable()) thread_.join();
  done_->store(false);
  thread_ = std::thread([state = state_, done = done_, owner = owner_, job = std::move(job),
                         finished = std::move(finished)] {
    {
      const std::lock_guard lock(state->mutex);
      if (!state->browser) {
        state->browser =
            std::make_unique<DirectoryBrowser>(state->configuration, state->data_folder);
      }
    }
    job(*state->browser);
    done->store(true);
    // Dropped by Qt when the owner is gone by then.
    QMetaObject::invokeMethod(owner, finished, Qt::QueuedConnection);
  });
}

DirectorySearchDialog::DirectorySearchDialog(QWidget* parent, WindowContext& context,
                                             std::uint32_t object_type)
    : QDialog(parent),
      context_(context),
      object_type_(object_type),
      domain_(new QLineEdit(this)),
      search_(new QPushButton(QStringLiteral("&Search"), this)),
      list_(new QTreeWidget(this)),
      status_(new QLabel(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)),
      worker_(this, context) {
  setObjectName("directorySearchDialog");
  setWindowTitle(PickerTitle(object_type));
  setAccessibleName(windowTitle());
  Name(domain_, "domainEdit", QStringLiteral("Domain"));
  Name(search_, "searchButton", QStringLiteral("Search"));
  Name(list_, "resultList", QStringLiteral("Directory objects"));
  Name(status_, "statusLabel", QStringLiteral("Search status"));
  buttons_->setObjectName("buttons");

  const bool containers = object_type == kObjectContainer;
  list_->setHeaderLabels({containers ? QStringLiteral("Container/OU Name") : QStringLiteral("Name"),
                          QStringLiteral("Path")});
  list_->setRootIsDecorated(false);
  list_->header()->resizeSection(0, 200);
  status_->setWordWrap(true);
  // Enter searches; a row is taken with OK or a double click.
  search_->setDefault(true);
  domain_->setText(ToQString(context.settings.Get(kLastDomainOuSearch)));

  auto* domain_row = new QHBoxLayout;
  auto* label = new QLabel(QStringLiteral("&Domain:"), this);
  label->setBuddy(domain_);
  domain_row->addWidget(label);
  domain_row->addWidget(domain_, 1);
  domain_row->addWidget(search_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(domain_row);
  layout->addWidget(list_, 1);
  layout->addWidget(status_);
  layout->addWidget(buttons_);
  resize(560, 400);

  auto update_ok = [this] {
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(list_->currentItem() != nullptr);
    search_->setEnabled(!domain_->text().trimmed().isEmpty() && !worker_.busy());
  };
  update_ok();
  connect(domain_, &QLineEdit::textChanged, this, update_ok);
  connect(list_, &QTreeWidget::currentItemChanged, this, update_ok);
  connect(this, &DirectorySearchDialog::searchFinished, this, update_ok);
  connect(search_, &QPushButton::clicked, this, &DirectorySearchDialog::StartSearch);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void DirectorySearchDialog::StartSearch() {
  const std::string domain = domain_->text().trimmed().toStdString();
  if (domain.empty() || worker_.busy()) return;
  if (object_type_ == kObjectContainer) context_.settings.Set(kLastDomainOuSearch, domain);
  list_->clear();
  search_->setEnabled(false);
  status_->setText(QStringLiteral("Searching %1...").arg(ToQString(domain)));
  auto listing = std::make_shared<DirectoryListing>();
  const std::uint32_t type = object_type_;
  worker_.Run(
      [listing, domain, type](DirectoryBrowser& browser) {
        *listing =
            type == kObjectContainer ? browser.Containers(domain) : browser.Objects(domain, type);
      },
      [this, listing] {
        ShowListing(*listing);
        emit searchFinished();
      });
}

void DirectorySearchDialog::ShowListing(const DirectoryListing& listing) {
  if (!listing.error.empty()) {
    status_->setText(ToQString(listing.error));
    return;
  }
  for (const DirectoryRow& row : listing.rows) {
    new QTreeWidgetItem(list_, {ToQString(row.name), ToQString(row.path)});
  }
  QString status = QStringLiteral("%1 found.").arg(listing.rows.size());
  if (listing.truncated) {
    status += QStringLiteral(" The search stopped after %1; name a narrower domain.")
                  .arg(kBrowseRowLimit);
  }
  status_->setText(status);
}

std::string DirectorySearchDialog::SelectedPath() const {
  const QTreeWidgetItem* item = list_->currentItem();
  return item == nullptr ? std::string() : item->text(1).toStdString();
}

DomainBrowserDialog::DomainBrowserDialog(QWidget* parent, WindowContext& context)
    : QDialog(parent),
      list_(new QListWidget(this)),
      domain_(new QLineEdit(this)),
      note_(new QLabel(QStringLiteral("Looking for domains..."), this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)),
      worker_(this, context) {
  setObjectName("domainBrowserDialog");
  setWindowTitle(QStringLiteral("Browse for Domain"));
  setAccessibleName(windowTitle());
  Name(list_, "domainList", QStringLiteral("Domains"));
  Name(domain_, "domainEdit", QStringLiteral("Domain"));
  Name(note_, "noteLabel", QStringLiteral("Domain list status"));
  buttons_->setObjectName("buttons");
  note_->setWordWrap(true);

  auto* label = new QLabel(QStringLiteral("&Domain:"), this);
  label->setBuddy(domain_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addWidget(note_);
  layout->addWidget(label);
  layout->addWidget(domain_);
  layout->addWidget(buttons_);
  resize(360, 360);

  auto update_ok = [this] {
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(!domain_->text().trimmed().isEmpty());
  };
  update_ok();
  connect(domain_, &QLineEdit::textChanged, this, update_ok);
  connect(list_, &QListWidget::currentTextChanged, domain_, &QLineEdit::setText);
  connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

  struct Found {
    std::optional<std::vector<std::string>> domains;
    std::string error;  // why the configuration's backend could not be chosen
  };
  auto found = std::make_shared<Found>();
  worker_.Run(
      [found](DirectoryBrowser& browser) {
        found->domains = browser.Domains();
        found->error = browser.error();
      },
      [this, found] {
        if (!found->domains) {
          QString note = QStringLiteral(
              "The domains cannot be listed for this configuration: type the domain's name.");
          if (!found->error.empty()) note += "\n" + ToQString(found->error);
          note_->setText(note);
        } else {
          for (const std::string& name : *found->domains) list_->addItem(ToQString(name));
          note_->setText(QStringLiteral("%1 domains found.").arg(found->domains->size()));
        }
        emit domainsListed();
      });
}

std::string DomainBrowserDialog::Domain() const {
  return domain_->text().trimmed().toStdString();
}

std::string BrowseForDomain(QWidget* parent, WindowContext& context) {
  DomainBrowserDialog dialog(parent, context);
  return dialog.exec() == QDialog::Accepted ? dialog.Domain() : std::string();
}

std::string FindContainerOrOu(QWidget* parent, WindowContext& context) {
  DirectorySearchDialog dialog(parent, context, kObjectContainer);
  return dialog.exec() == QDialog::Accepted ? dialog.SelectedPath() : std::string();
}

std::string PickDirectoryObject(QWidget* parent, WindowContext& context,
                                std::uint32_t object_type) {
  DirectorySearchDialog dialog(parent, context, object_type);
  return dialog.exec() == QDialog::Accepted ? dialog.SelectedPath() : std::string();
}

}  // namespace tabulon::ui
