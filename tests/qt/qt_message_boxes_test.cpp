#include "quiz_window/qt/qt_message_boxes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <functional>
#include <string>

#include "box_watcher.h"
#include "qt_printing.h"
#include "question_bank/error_locations.h"
#include "quiz_window/qt/caption_button.h"
#include "quiz_window/qt/qt_window_host.h"
#include "quiz_window/qt/quiz_window.h"
#include "support/clock.h"
#include "support/fatal_error.h"
#include "support/one_based_array.h"
#include "support/text_literal.h"
#include "tests/temp_run_directory.h"

namespace quiz_qt {
namespace {

using quiz::operator""_gb;
using testing::BoxWatcher;
using testing::SeenBox;

TEST(QtMessageBoxes, ShowTitleTextIconAndOneChineseButton) {
  const struct {
    const char* name;
    quiz::Text title;
    quiz::Text text;
    quiz::BoxIcon icon;
    QString shown_text;
    QMessageBox::Icon shown_icon;
  } rows[] = {
      {"verdict", "信息："_gb, "恭喜答对了"_gb, quiz::BoxIcon::none, QStringLiteral("恭喜答对了"),
       QMessageBox::NoIcon},
      {"warning with markup and CR LF", "信息："_gb,
       "无法读取题目文件：\r\n/tmp/<b>x</b> & y.txt"_gb, quiz::BoxIcon::warning,
       QStringLiteral("无法读取题目文件：\n/tmp/<b>x</b> & y.txt"), QMessageBox::Warning},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    BoxWatcher watcher;
    QtMessageBoxes().show(row.title, row.text, row.icon);
    ASSERT_EQ(watcher.seen().size(), 1u);
    const SeenBox& box = watcher.seen().front();
    EXPECT_EQ(box.title, QStringLiteral("信息："));
    EXPECT_EQ(box.text, row.shown_text);
    EXPECT_EQ(box.icon, row.shown_icon);
    EXPECT_EQ(box.modality, Qt::ApplicationModal);
    EXPECT_FALSE(box.has_parent);
    EXPECT_EQ(box.buttons, QStringList{QStringLiteral("确定")});
    EXPECT_FALSE(box.button_has_icon);
  }
}

// A screen reader announces a new window of the alert role at once, with its text. (That the box
// reaches one as such over AT-SPI is checked by tests/accessibility.)
TEST(QtMessageBoxes, TheVerdictBoxIsAnAlertToScreenReaders) {
  QAccessible::Role role_while_open = QAccessible::NoRole;
  QString text_while_open;
  {
    BoxWatcher watcher([&](const SeenBox&) {
      for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox*>(window) == nullptr || !window->isVisible()) continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(window);
        role_while_open = accessible->role();
        text_while_open =
            accessible->text(QAccessible::Description) + accessible->text(QAccessible::Value);
      }
    });
    QtMessageBoxes().show("信息："_gb, "答错了"_gb, quiz::BoxIcon::none);
  }

  EXPECT_EQ(role_while_open, QAccessible::AlertMessage);
  EXPECT_THAT(text_while_open.toStdString(), ::testing::HasSubstr("答错了"));
}

// Describes a box and the window as it is after a click on 按钮_开始, a click on 按钮1 and a
// close, all made while the box is open.
std::string describe(const SeenBox& box, const QuizWindow& window, std::size_t boxes_seen) {
  QString text = box.text;
  return QStringLiteral(
             "title=%1 icon=%2 modality=%3 parent=%4 buttons=%5 button icon=%6\ntext=%7\n"
             "after clicks: start=%8 option 1 enabled=%9 visible=%10 other boxes=%11\n")
      .arg(box.title)
      .arg(static_cast<int>(box.icon))
      .arg(static_cast<int>(box.modality))
      .arg(static_cast<int>(box.has_parent))
      .arg(box.buttons.join(QLatin1Char(',')))
      .arg(static_cast<int>(box.button_has_icon))
      .arg(text)
      .arg(window.button(quiz::Control::按钮_开始)->shown_caption())
      .arg(static_cast<int>(window.button(quiz::Control::按钮1)->isEnabled()))
      .arg(static_cast<int>(window.isVisible()))
      .arg(static_cast<qulonglong>(boxes_seen - 1))
      .toStdString();
}

// In the child process: the quiz window is open on a folder with a question, the error is raised,
// and while its box is open the user clicks the start button and an option and closes the
// window. The box's looks and the window's state go to standard error before OK ends it all.
void raise_with_window_open(const std::function<void()>& raise) {
  quiz::testing::TempRunDirectory files;
  files.add_question("q.txt", "1+1=?\r\n1\r\n2\r\n3\r\n4\r\n2\r\n");
  quiz::MonotonicClock clock;
  quiz::RandomSource random(clock);
  QtWindowHost host(random, files);
  if (!host.create_window()) return;
  host.show_window();
  if (!QTest::qWaitForWindowActive(host.window())) return;
  QuizWindow& window = *host.window();
  BoxWatcher* watching = nullptr;
  BoxWatcher watcher([&](const SeenBox& box) {
    QTest::mouseClick(window.button(quiz::Control::按钮_开始), Qt::LeftButton);
    QTest::mouseClick(window.button(quiz::Control::按钮1), Qt::LeftButton);
    window.close();
    std::fputs(describe(box, window, watching->seen().size()).c_str(), stderr);
    std::fflush(stderr);
  });
  watching = &watcher;
  raise();
}

TEST(QtFatalErrorDisplayDeathTest, ShowsTheErrorBoxIgnoresTheWindowAndExitsWith255) {
  const struct {
    const char* name;
    std::function<void()> raise;
    const char* text;
  } rows[] = {
      {"index below 1",
       [] {
         quiz::check_index(0, 3, {7, 8});
       },
       "运行时出错!\n\n错误代码：4\n\n错误信息：数组成员引用下标必须大于等于1\n\n7, 8\n"},
      {"index above the count",
       [] {
         quiz::check_index(4, 3, {7, 9});
       },
       "运行时出错!\n\n错误代码：1\n\n错误信息：数组成员引用下标超出定义范围\n\n7, 9\n"},
      {"message given",
       [] {
         quiz::raise_fatal_error("载入启动窗口失败"_gb, quiz::kMessageGiven,
                                 quiz::error_locations::kQuizWindow);
       },
       "运行时出错!\n\n错误信息：载入启动窗口失败\n\n5, 0\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string expected =
        std::string("title=错误 icon=3 modality=0 parent=0 buttons=确定 button icon=0\ntext=") +
        row.text + "\nafter clicks: start=开始答题 option 1 enabled=1 visible=1 other boxes=0\n";
    EXPECT_EXIT(raise_with_window_open(row.raise), ::testing::ExitedWithCode(255),
                ::testing::HasSubstr(expected));
  }
}

}  // namespace
}  // namespace quiz_qt
