// The folder tree: mailboxes and folders with check boxes and bold flags
// as FolderChecks computes them (not the toolkit's own tristate logic).
// A press on an item makes it current and opens it; a press on its check
// box also ticks or unticks its subtree, and the ancestors follow. The space
// key toggles the current item the way the space key does (ancestors first).
// A press on empty space does nothing at all.
//
// UI thread only.
#pragma once

#include <QTreeWidget>

#include <unordered_map>

#include "app/ui/folder_checks.h"
#include "app/ui/tree_item.h"

namespace edbgui {

class FolderTree : public QTreeWidget {
  Q_OBJECT

 public:
  explicit FolderTree(QWidget* parent = nullptr);

  void Clear();
  // Appends `item` as the last child of `parent` (kTreeTop: top level) with
  // the image of index `image`.
  void Insert(edb::TreeItem item, edb::TreeItem parent, const QString& label, int image);
  void Expand(edb::TreeItem item);

  QTreeWidgetItem* WidgetItem(edb::TreeItem item) const;
  edb::TreeItem ItemOf(const QTreeWidgetItem* widget_item) const;
  const edb::FolderChecks& checks() const { return checks_; }
  // The area of the item's check box, in viewport coordinates.
  QRect CheckBoxRect(edb::TreeItem item) const;

 Q_SIGNALS:
  // The user pressed on `item` (label, icon, button or check box).
  void ItemOpened(edb::TreeItem item, const QString& label);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ShowChecks();

  edb::FolderChecks checks_;
  std::unordered_map<int64_t, QTreeWidgetItem*> widget_items_;
};

}  // namespace edbgui
