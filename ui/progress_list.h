#pragma once
// The "Export Progress Messages" pane: the rows of the runs in two columns,
// "Object Name" and "Status Message", each with its image and indentation.
// Rows arrive in batches (one model insertion per batch), so a run of
// 100,000 rows costs the window a few dozen insertions, not 100,000. A table
// view with rows of one fixed height keeps no per-row layout, so a long list
// stays cheap.
#include <QAbstractTableModel>
#include <QIcon>
#include <QTableView>
#include <deque>
#include <map>
#include <vector>

#include "engine/progress.h"

namespace tabulon::ui {

class ProgressModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void AppendRows(std::vector<ProgressRow> rows);
  // Text added to the end of row `row`'s status; image 0 keeps its image.
  void AppendText(int row, const std::string& text, std::uint32_t image);
  void Clear();
  const ProgressRow& Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }

 private:
  const QIcon& IconOf(std::uint32_t image) const;

  // Never moved as it grows: a long list costs no copying and no stall.
  std::deque<ProgressRow> rows_;
  // One icon per image shown, made once for this list: an icon made anew
  // for every painted row would draw its image anew each time.
  mutable std::map<std::uint32_t, QIcon> icons_;
};

class ProgressList : public QTableView {
  Q_OBJECT
 public:
  explicit ProgressList(QWidget* parent = nullptr);
  ProgressModel& model_rows() { return model_; }
  // The rows selected, in list order.
  std::vector<ProgressRow> SelectedRows() const;

 private:
  ProgressModel model_;
};

}  // namespace tabulon::ui
