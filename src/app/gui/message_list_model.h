// The message list's model: columns with headings and widths, rows of
// texts. Rows are appended in batches (one model insertion per batch), so a
// folder of tens of thousands of items stays smooth in the view.
//
// UI thread only.
#pragma once

#include <QAbstractTableModel>

#include <string>
#include <vector>

#include "app/gui/ui_surface.h"
#include "app/ui/window_port.h"

namespace edbgui {

class MessageListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void SetColumns(std::vector<edb::ListColumn> columns);
  const std::vector<edb::ListColumn>& columns() const { return columns_; }
  void Clear();
  void AppendRows(std::vector<ListRow> rows);
  // Cells of rows or columns that do not exist are ignored.
  void SetCell(int row, int column, const std::u16string& text);
  // The text of a cell; "" for a cell or column that does not exist.
  std::u16string Cell(int row, int column) const;

 private:
  std::vector<edb::ListColumn> columns_;
  std::vector<ListRow> rows_;
};

}  // namespace edbgui
