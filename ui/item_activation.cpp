#include "ui/item_activation.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>

namespace tabulon::ui {
namespace {

class EnterOpens : public QObject {
 public:
  EnterOpens(QAbstractItemView* view, std::function<void()> open)
      : QObject(view), view_(view), open_(std::move(open)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || !view_->currentIndex().isValid()) {
      return false;
    }
    open_();
    return true;
  }

 private:
  QAbstractItemView* view_;
  std::function<void()> open_;
};

}  // namespace

void OpenItemsWith(QAbstractItemView* view, std::function<void()> open) {
  QObject::connect(view, &QAbstractItemView::doubleClicked, view, [open](const QModelIndex& index) {
    if (index.isValid()) open();
  });
  view->installEventFilter(new EnterOpens(view, std::move(open)));
}

}  // namespace tabulon::ui
