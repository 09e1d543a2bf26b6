#pragma once

#include <QDialog>

#include "image/ImageSortKeys.h"

class QListWidget;
class QListWidgetItem;

namespace tolmar::viewer {

// The sort dialog and the group dialog: keys not in use on the left, the keys
// in use on the right in position order; a double-click moves a key across.
// For sorting, each right-hand row says ascending or descending.
class SortKeyDialog : public QDialog {
  Q_OBJECT
 public:
  enum class Kind { Sort, Group };
  SortKeyDialog(Kind kind, const QString& title, const SortKeyList& keys,
                QWidget* parent = nullptr);
  // Renumbers the positions of `keys` from the right-hand list.
  void ApplyTo(SortKeyList& keys) const;

 private:
  void AddChosen(int32_t id, const QString& name, bool ascending);
  void MoveToChosen(QListWidgetItem* item);
  void MoveToUnused(QListWidgetItem* item);
  void ToggleOrder();

  Kind m_kind;
  QListWidget* m_unused;
  QListWidget* m_chosen;
};

}  // namespace tolmar::viewer
