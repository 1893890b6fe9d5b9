#pragma once
// The dialogs behind the browse buttons. Their searches run on a thread of
// their own; the dialog stays responsive and hears the result on its own
// thread (searchFinished). Closing a dialog cancels its search and waits
// for it, which the call timeout bounds.
#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "ui/directory_browse.h"

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace tabulon::ui {

// Runs one job at a time on a thread of its own, over one DirectoryBrowser
// made on that thread for the active configuration.
class BrowseWorker {
 public:
  BrowseWorker(QObject* owner, const WindowContext& context);
  ~BrowseWorker();
  BrowseWorker(const BrowseWorker&) = delete;
  BrowseWorker& operator=(const BrowseWorker&) = delete;

  bool busy() const { return thread_.joinable() && !done_->load(); }
  // `job` runs on the worker's thread; `finished` then on the owner's.
  void Run(std::function<void(DirectoryBrowser&)> job, std::function<void()> finished);

 private:
  struct State;
  QObject* owner_;
  std::shared_ptr<State> state_;
  std::shared_ptr<std::atomic<bool>> done_;
  std::thread thread_;
};

// "Find and Select Container/OU" (object type 114) and the directory object
// picker (102, 110, 112, 123): a domain, a search, a list to choose from.
class DirectorySearchDialog : public QDialog {
  Q_OBJECT
 public:
  DirectorySearchDialog(QWidget* parent, WindowContext& context, std::uint32_t object_type);

  // The chosen row's path ("LDAP://..."); empty without one.
  std::string SelectedPath() const;
  // Searches the domain in the domain field.
  void StartSearch();

 signals:
  void searchFinished();

 private:
  void ShowListing(const DirectoryListing& listing);

  WindowContext& context_;
  std::uint32_t object_type_;
  QLineEdit* domain_;
  QPushButton* search_;
  QTreeWidget* list_;
  QLabel* status_;
  QDialogButtonBox* buttons_;
  BrowseWorker worker_;
};

// The domain browser: the domains the backend knows, or a field to type one
// when it cannot list them.
class DomainBrowserDialog : public QDialog {
  Q_OBJECT
 public:
  DomainBrowserDialog(QWidget* parent, WindowContext& context);

  std::string Domain() const;

 signals:
  void domainsListed();

 private:
  QListWidget* list_;
  QLineEdit* domain_;
  QLabel* note_;
  QDialogButtonBox* buttons_;
  BrowseWorker worker_;
};

}  // namespace tabulon::ui
