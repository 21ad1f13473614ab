#pragma once
// 列表框1, the history: an unsorted single-selection list that only ever grows at the end.
// Adding a line moves neither the selection nor the scroll position. A vertical scroll bar
// appears when the lines no longer fit; there is no horizontal scrolling at all, so a line wider
// than the list is cut off at its right edge (not shortened with "…").

#include <QListWidget>

#include "support/text.h"

namespace quiz_qt {

class HistoryList final : public QListWidget {
  Q_OBJECT

 public:
  explicit HistoryList(QWidget* parent);

  void add_line(const quiz::Text& line);

 protected:
  void updateGeometries() override;
};

}  // namespace quiz_qt
