// The folder tree widget.
#include "app/gui/folder_tree.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>

#include "app/gui/artwork.h"

namespace edbgui {
namespace {
constexpr int kTreeItemRole = Qt::UserRole + 1;
// Every row is this high, whatever the font, so rows sit at known places.
constexpr int kRowHeight = 20;
}  // namespace

FolderTree::FolderTree(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setRootIsDecorated(true);
  setIconSize(QSize(16, 16));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformRowHeights(true);
}

void FolderTree::Clear() {
  clear();
  widget_items_.clear();
  checks_.Clear();
}

void FolderTree::Insert(edb::TreeItem item, edb::TreeItem parent, const QString& label, int image) {
  auto* widget_item = new QTreeWidgetItem(QStringList{label});
  widget_item->setData(0, kTreeItemRole, QVariant::fromValue<qint64>(item.id));
  widget_item->setIcon(0, FolderIcon(image));
  // Shows a box without letting the view flip it: ticks are ours.
  widget_item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  widget_item->setCheckState(0, Qt::Unchecked);
  widget_item->setSizeHint(0, QSize(-1, kRowHeight));
  QTreeWidgetItem* parent_item = WidgetItem(parent);
  if (parent_item != nullptr) {
    parent_item->addChild(widget_item);
  } else {
    addTopLevelItem(widget_item);
  }
  widget_items_[item.id] = widget_item;
  checks_.Add(item, parent_item != nullptr ? parent : edb::kTreeTop);
}

void FolderTree::Expand(edb::TreeItem item) {
  if (QTreeWidgetItem* widget_item = WidgetItem(item)) widget_item->setExpanded(true);
}

QTreeWidgetItem* FolderTree::WidgetItem(edb::TreeItem item) const {
  auto found = widget_items_.find(item.id);
  return found == widget_items_.end() ? nullptr : found->second;
}

edb::TreeItem FolderTree::ItemOf(const QTreeWidgetItem* widget_item) const {
  if (widget_item == nullptr) return {};
  return edb::TreeItem{widget_item->data(0, kTreeItemRole).toLongLong()};
}

QRect FolderTree::CheckBoxRect(edb::TreeItem item) const {
  QTreeWidgetItem* widget_item = WidgetItem(item);
  if (widget_item == nullptr) return {};
  const QModelIndex index = indexFromItem(widget_item);
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = visualRect(index);
  option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay |
                     QStyleOptionViewItem::HasDecoration;
  option.checkState = widget_item->checkState(0);
  option.text = widget_item->text(0);
  option.icon = widget_item->icon(0);
  option.decorationSize = iconSize();
  return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
}

void FolderTree::ShowChecks() {
  for (const auto& [id, widget_item] : widget_items_) {
    const edb::TreeItem item{id};
    widget_item->setCheckState(0, checks_.checked(item) ? Qt::Checked : Qt::Unchecked);
    QFont font = widget_item->font(0);
    font.setBold(checks_.bold(item));
    widget_item->setFont(0, font);
  }
}

void FolderTree::mousePressEvent(QMouseEvent* event) {
  QTreeWidgetItem* widget_item = itemAt(event->position().toPoint());
  if (widget_item == nullptr) return;
  const edb::TreeItem item = ItemOf(widget_item);
  setCurrentItem(widget_item);
  setFocus();
  const bool on_check_box = event->button() == Qt::LeftButton &&
                            CheckBoxRect(item).contains(event->position().toPoint());
  if (on_check_box) {
    checks_.ToggleByMouse(item);
    ShowChecks();
  } else {
    QTreeWidget::mousePressEvent(event);
  }
  if (event->button() == Qt::LeftButton) Q_EMIT ItemOpened(item, widget_item->text(0));
}

void FolderTree::mouseDoubleClickEvent(QMouseEvent* event) {
  // A double click on the check box must not flip it behind our back.
  QTreeWidgetItem* widget_item = itemAt(event->position().toPoint());
  if (widget_item == nullptr) return;
  if (CheckBoxRect(ItemOf(widget_item)).contains(event->position().toPoint())) return;
  QTreeWidget::mouseDoubleClickEvent(event);
}

void FolderTree::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
    if (QTreeWidgetItem* widget_item = currentItem()) {
      checks_.ToggleBySpace(ItemOf(widget_item));
      ShowChecks();
    }
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

}  // namespace edbgui
