#include "app/item_rows.h"

#include <QAbstractItemDelegate>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>
#include <QTableView>

namespace quorlin {

int PlatformRowHeight(const QTableView& view) {
  QStandardItemModel sample(1, 1);
  sample.setData(sample.index(0, 0), "Xg");
  QStyleOptionViewItem option;
  option.initFrom(&view);
  option.font = view.font();
  option.fontMetrics = view.fontMetrics();
  const int text = view.itemDelegate()->sizeHint(option, sample.index(0, 0)).height();
  return text + (view.showGrid() ? 1 : 0);
}

}  // namespace quorlin
