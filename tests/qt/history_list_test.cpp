#include "quiz_window/qt/history_list.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <string>

#include "qt_printing.h"
#include "support/text_literal.h"

namespace quiz_qt {
namespace {

using quiz::operator""_gb;

class HistoryListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list_.setGeometry(371, 1, 397, 367);
    list_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list_));
  }

  HistoryList list_{nullptr};
};

TEST_F(HistoryListTest, AddingLinesMovesNeitherSelectionNorScrollPosition) {
  list_.add_line("第一"_gb);
  list_.setCurrentRow(0);
  EXPECT_FALSE(list_.verticalScrollBar()->isVisible());
  for (int i = 2; i <= 200; ++i) list_.add_line("第"_gb + std::to_string(i));
  QApplication::processEvents();
  ASSERT_EQ(list_.count(), 200);
  EXPECT_EQ(list_.item(199)->text(), QStringLiteral("第200"));  // the newest at the end
  EXPECT_TRUE(list_.verticalScrollBar()->isVisible());
  EXPECT_EQ(list_.verticalScrollBar()->value(), 0);
  EXPECT_EQ(list_.currentRow(), 0);
  EXPECT_EQ(list_.selectedItems().size(), 1);

  list_.verticalScrollBar()->setValue(50);
  list_.add_line("又一行"_gb);
  QApplication::processEvents();
  EXPECT_EQ(list_.verticalScrollBar()->value(), 50);
  EXPECT_EQ(list_.currentRow(), 0);
}

TEST_F(HistoryListTest, WideLinesAreCutOffNotScrolledOrElided) {
  const QString wide = QString(300, QLatin1Char('W'));
  list_.add_line(std::string(300, 'W'));
  list_.setCurrentRow(0);
  QTest::keyClick(&list_, Qt::Key_End);
  QTest::keyClick(&list_, Qt::Key_Right);
  QApplication::processEvents();
  EXPECT_EQ(list_.textElideMode(), Qt::ElideNone);
  EXPECT_FALSE(list_.horizontalScrollBar()->isVisible());
  EXPECT_EQ(list_.horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(list_.horizontalScrollBar()->value(), 0);
  EXPECT_EQ(list_.item(0)->text(), wide);
}

TEST_F(HistoryListTest, AHugeLineShowsOnlyItsStart) {
  list_.add_line("题"_gb + std::string(20 << 20, 'x'));
  ASSERT_EQ(list_.count(), 1);
  EXPECT_TRUE(list_.item(0)->text().startsWith(QStringLiteral("题xxx")));
  EXPECT_LE(list_.item(0)->text().size(), 16 * 1024);
  list_.grab();  // lays out and draws only what can be seen
}

TEST_F(HistoryListTest, RowsAreOnePixelTallerThanALine) {
  list_.add_line("行"_gb);
  EXPECT_EQ(list_.visualItemRect(list_.item(0)).height(), list_.fontMetrics().height() + 1);
}

}  // namespace
}  // namespace quiz_qt
