#include "quiz_window/qt/history_list.h"

#include <QScrollBar>
#include <QStyledItemDelegate>

#include "quiz_window/qt/display_text.h"

namespace quiz_qt {
namespace {

// Each row is one pixel taller than the font's line.
class RowDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(option.fontMetrics.height() + 1);
    return size;
  }
};

}  // namespace

HistoryList::HistoryList(QWidget* parent) : QListWidget(parent) {
  setSortingEnabled(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTextElideMode(Qt::ElideNone);
  setWordWrap(false);
  setUniformItemSizes(true);
  setItemDelegate(new RowDelegate(this));
}

void HistoryList::add_line(const quiz::Text& line) { addItem(display_string(shown_part(line))); }

void HistoryList::updateGeometries() {
  QListWidget::updateGeometries();
  // Wide lines would otherwise let the keyboard or the wheel scroll the list sideways.
  horizontalScrollBar()->setRange(0, 0);
}

}  // namespace quiz_qt
