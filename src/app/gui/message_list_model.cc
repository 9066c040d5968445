// The message list's rows and columns.
#include "app/gui/message_list_model.h"

namespace edbgui {

int MessageListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int MessageListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant MessageListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
  return QString::fromStdU16String(Cell(index.row(), index.column()));
}

QVariant MessageListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= static_cast<int>(columns_.size())) {
    return {};
  }
  return QString::fromStdU16String(columns_[section].heading);
}

void MessageListModel::SetColumns(std::vector<edb::ListColumn> columns) {
  beginResetModel();
  columns_ = std::move(columns);
  endResetModel();
}

void MessageListModel::Clear() {
  beginResetModel();
  rows_.clear();
  endResetModel();
}

void MessageListModel::AppendRows(std::vector<ListRow> rows) {
  if (rows.empty()) return;
  const int first = static_cast<int>(rows_.size());
  beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
  rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
  endInsertRows();
}

void MessageListModel::SetCell(int row, int column, const std::u16string& text) {
  if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 ||
      column >= static_cast<int>(columns_.size())) {
    return;
  }
  ListRow& cells = rows_[row];
  if (cells.size() <= static_cast<size_t>(column)) cells.resize(column + 1);
  cells[column] = text;
  Q_EMIT dataChanged(index(row, column), index(row, column));
}

std::u16string MessageListModel::Cell(int row, int column) const {
  if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 ||
      column >= static_cast<int>(columns_.size())) {
    return {};
  }
  const ListRow& cells = rows_[row];
  return static_cast<size_t>(column) < cells.size() ? cells[column] : std::u16string();
}

}  // namespace edbgui
