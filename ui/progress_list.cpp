#include "ui/progress_list.h"

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <algorithm>

#include "ui/icons.h"
#include "ui/progress_columns.h"
#include "ui/qt_text.h"

namespace tabulon::ui {
namespace {

constexpr int kNameColumn = 0;
constexpr int kStatusColumn = 1;
constexpr int kNameWidth = 200;
constexpr int kStatusWidth = 300;
// How far one indentation level moves a name to the right, in pixels.
constexpr int kIndentStep = 16;
// A row's indentation as the model gives it to the delegate.
constexpr int kIndentRole = Qt::UserRole + 1;

// Draws a name shifted by its indentation level.
class IndentDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem shifted(option);
    const int indent = index.data(kIndentRole).toInt();
    shifted.rect.setLeft(option.rect.left() + std::min(indent, 32) * kIndentStep);
    QStyledItemDelegate::paint(painter, shifted, index);
  }
};

}  // namespace

int ProgressModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ProgressModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 2;
}

QVariant ProgressModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const ProgressRow& row = Row(index.row());
  const bool name = index.column() == kNameColumn;
  switch (role) {
    case Qt::DisplayRole:
      return ToQString(name ? row.name : row.status);
    case Qt::DecorationRole:
      return name ? QVariant(IconOf(row.image)) : QVariant();
    case kIndentRole:
      return static_cast<int>(row.indent);
    default:
      return {};
  }
}

const QIcon& ProgressModel::IconOf(std::uint32_t image) const {
  auto found = icons_.find(image);
  if (found == icons_.end()) found = icons_.emplace(image, ImageIcon(image)).first;
  return found->second;
}

QVariant ProgressModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  const std::string_view label = section == kNameColumn ? kObjectNameLabel : kStatusMessageLabel;
  return QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size()));
}

void ProgressModel::AppendRows(std::vector<ProgressRow> rows) {
  if (rows.empty()) return;
  const int first = rowCount();
  beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
  std::move(rows.begin(), rows.end(), std::back_inserter(rows_));
  endInsertRows();
}

void ProgressModel::AppendText(int row, const std::string& text, std::uint32_t image) {
  if (row < 0 || row >= rowCount()) return;
  ProgressRow& target = rows_[static_cast<std::size_t>(row)];
  target.status += text;
  if (image != 0) target.image = image;
  emit dataChanged(index(row, kNameColumn), index(row, kStatusColumn));
}

void ProgressModel::Clear() {
  beginResetModel();
  rows_.clear();
  endResetModel();
}

ProgressList::ProgressList(QWidget* parent) : QTableView(parent), model_(this) {
  setObjectName("progressList");
  setAccessibleName(QString::fromUtf8(kProgressListTitle.data(),
                                      static_cast<qsizetype>(kProgressListTitle.size())));
  setModel(&model_);
  setShowGrid(false);
  setWordWrap(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setHighlightSections(false);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setItemDelegateForColumn(kNameColumn, new IndentDelegate(this));
  horizontalHeader()->setStretchLastSection(true);
  setColumnWidth(kNameColumn, kNameWidth);
  setColumnWidth(kStatusColumn, kStatusWidth);
}

std::vector<ProgressRow> ProgressList::SelectedRows() const {
  QModelIndexList chosen = selectionModel()->selectedRows(kNameColumn);
  std::sort(chosen.begin(), chosen.end(),
            [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  std::vector<ProgressRow> rows;
  rows.reserve(static_cast<std::size_t>(chosen.size()));
  for (const QModelIndex& index : chosen) rows.push_back(model_.Row(index.row()));
  return rows;
}

}  // namespace tabulon::ui
