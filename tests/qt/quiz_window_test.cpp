#include "quiz_window/qt/quiz_window.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <string>

#include "qt_printing.h"
#include "quiz_window/qt/caption_button.h"
#include "quiz_window/qt/history_list.h"
#include "quiz_window/qt/load_buffer_edit.h"
#include "support/encoding.h"
#include "support/text_literal.h"

namespace quiz_qt {
namespace {

using quiz::Control;
using quiz::operator""_gb;

class QuizWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<QuizWindow>();
    window_->open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }

  QWidget* control(Control which) const { return window_->widget(which); }
  QString focused() const {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
  }
  void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }

  std::unique_ptr<QuizWindow> window_;
};

TEST_F(QuizWindowTest, TheWindowIsFixedBlankTitledAndCentred) {
  EXPECT_TRUE(window_->windowTitle().trimmed().isEmpty());
  EXPECT_EQ(window_->frameGeometry().size(), QSize(778, 401));  // no frame offscreen
  EXPECT_EQ(window_->minimumSize(), window_->maximumSize());
  const Qt::WindowFlags flags = window_->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowStaysOnTopHint);

  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(window_->frameGeometry().topLeft(),
            screen.topLeft() + QPoint((screen.width() - 778) / 2, (screen.height() - 401) / 2));

  EXPECT_EQ(window_->palette().color(QPalette::Window), window_->palette().color(QPalette::Button));
  EXPECT_TRUE(window_->autoFillBackground());

  const QList<QSize> icon_sizes = QApplication::windowIcon().availableSizes();
  for (int side : {16, 32, 48}) EXPECT_TRUE(icon_sizes.contains(QSize(side, side))) << side;
}

TEST_F(QuizWindowTest, TheTenControls) {
  struct Row {
    Control control;
    const char* kind;
    const char* name;
    QRect geometry;
    const char* text;
    Qt::FocusPolicy focus;
  };
  const Row rows[] = {
      {Control::列表框1,
       "quiz_qt::HistoryList",
       "列表框1",
       {371, 1, 397, 367},
       "",
       Qt::StrongFocus},
      {Control::按钮5, "quiz_qt::CaptionButton", "按钮5", {3, 0, 360, 88}, "", Qt::StrongFocus},
      {Control::按钮4, "quiz_qt::CaptionButton", "按钮4", {187, 168, 176, 64}, "", Qt::StrongFocus},
      {Control::按钮3, "quiz_qt::CaptionButton", "按钮3", {3, 168, 176, 64}, "", Qt::StrongFocus},
      {Control::按钮2, "quiz_qt::CaptionButton", "按钮2", {187, 96, 176, 64}, "", Qt::StrongFocus},
      {Control::按钮1, "quiz_qt::CaptionButton", "按钮1", {3, 96, 176, 64}, "", Qt::StrongFocus},
      {Control::标签1, "QLabel", "标签1", {784, 320, 208, 24}, "标签", Qt::NoFocus},
      {Control::编辑框20, "QLineEdit", "编辑框20", {816, 72, 80, 20}, "", Qt::StrongFocus},
      {Control::编辑框1,
       "quiz_qt::LoadBufferEdit",
       "编辑框1",
       {816, 104, 80, 96},
       "",
       Qt::StrongFocus},
      {Control::按钮_开始,
       "quiz_qt::CaptionButton",
       "按钮_开始",
       {120, 256, 128, 64},
       "开始答题",
       Qt::StrongFocus},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    QWidget* widget = control(row.control);
    ASSERT_NE(widget, nullptr);
    EXPECT_STREQ(widget->metaObject()->className(), row.kind);
    EXPECT_EQ(widget->objectName(), QString::fromUtf8(row.name));
    EXPECT_EQ(window_->findChild<QWidget*>(QString::fromUtf8(row.name)), widget);
    EXPECT_EQ(widget->geometry(), row.geometry);
    EXPECT_TRUE(widget->isVisible());
    EXPECT_TRUE(widget->isEnabled());
    EXPECT_EQ(widget->focusPolicy(), row.focus);

    const quiz::Text expected = *quiz::utf8_to_gb18030(row.text);
    if (auto* button = qobject_cast<CaptionButton*>(widget)) {
      EXPECT_EQ(button->caption(), expected);
      EXPECT_EQ(window_->caption(row.control), expected);
      EXPECT_EQ(button->text(), QString::fromUtf8(row.text));
      EXPECT_FALSE(button->isDefault());
      EXPECT_FALSE(button->autoDefault());
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
      EXPECT_EQ(window_->caption(row.control), expected);
      EXPECT_TRUE(label->text().isEmpty());  // the caption is held, not displayed
    } else if (auto* edit = qobject_cast<LoadBufferEdit*>(widget)) {
      EXPECT_EQ(window_->content(row.control), expected);
      EXPECT_FALSE(edit->isReadOnly());
      EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
      EXPECT_EQ(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
      EXPECT_EQ(edit->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
      EXPECT_TRUE(line->text().isEmpty());
      EXPECT_FALSE(line->isReadOnly());
      EXPECT_EQ(line->echoMode(), QLineEdit::Normal);
      EXPECT_EQ(line->maxLength(), 32767);  // Qt's largest
    } else if (auto* list = qobject_cast<HistoryList*>(widget)) {
      EXPECT_EQ(list->count(), 0);
      EXPECT_EQ(list->currentRow(), -1);
      EXPECT_FALSE(list->isSortingEnabled());
      EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    }
  }
  EXPECT_EQ(focused(), QStringLiteral("按钮_开始"));
}

TEST_F(QuizWindowTest, TabCycleForwardAndBackward) {
  struct Row {
    const char* name;
    quiz::ButtonState options;
    Qt::KeyboardModifiers modifiers;
    QStringList visited;  // from 按钮_开始 on, back to it
  };
  const Row rows[] = {
      {"options enabled, Tab",
       quiz::ButtonState::enabled,
       Qt::NoModifier,
       {"编辑框1", "编辑框20", "按钮1", "按钮2", "按钮3", "按钮4", "按钮5", "列表框1",
        "按钮_开始"}},
      {"options enabled, Shift+Tab",
       quiz::ButtonState::enabled,
       Qt::ShiftModifier,
       {"列表框1", "按钮5", "按钮4", "按钮3", "按钮2", "按钮1", "编辑框20", "编辑框1",
        "按钮_开始"}},
      {"options disabled, Tab",
       quiz::ButtonState::disabled,
       Qt::NoModifier,
       {"编辑框1", "编辑框20", "按钮5", "列表框1", "按钮_开始"}},
      {"options disabled, Shift+Tab",
       quiz::ButtonState::disabled,
       Qt::ShiftModifier,
       {"列表框1", "按钮5", "编辑框20", "编辑框1", "按钮_开始"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    for (Control option : quiz::kOptionButtons) window_->set_state(option, row.options);
    control(Control::按钮_开始)->setFocus();
    QStringList visited;
    for (qsizetype step = 0; step < row.visited.size(); ++step) {
      press(Qt::Key_Tab, row.modifiers);
      visited << focused();
    }
    EXPECT_EQ(visited, row.visited);
  }
}

TEST_F(QuizWindowTest, FocusComesBackAfterAnotherWindowWasActive) {
  control(Control::按钮3)->setFocus();
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  EXPECT_EQ(focused(), QStringLiteral("按钮3"));
}

TEST_F(QuizWindowTest, EscapeClosesTheWindowFromEveryFocusableControl) {
  const Control focusable[] = {Control::按钮_开始, Control::编辑框1, Control::编辑框20,
                               Control::按钮1,     Control::按钮2,   Control::按钮3,
                               Control::按钮4,     Control::按钮5,   Control::列表框1};
  for (Control start : focusable) {
    SetUp();  // a fresh, open window each time
    SCOPED_TRACE(control(start)->objectName().toStdString());
    control(start)->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), control(start));
    press(Qt::Key_Escape);
    EXPECT_FALSE(window_->isVisible());
  }
}

TEST_F(QuizWindowTest, SpaceClicksTheFocusedButtonAndEnterDoesNot) {
  for (Control which : {Control::按钮_开始, Control::按钮1, Control::按钮2, Control::按钮3,
                        Control::按钮4, Control::按钮5}) {
    CaptionButton* button = window_->button(which);
    SCOPED_TRACE(button->objectName().toStdString());
    QSignalSpy clicks(button, &QPushButton::clicked);
    button->setFocus();
    press(Qt::Key_Return);
    press(Qt::Key_Enter);
    EXPECT_EQ(clicks.count(), 0);
    press(Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
  }
  EXPECT_TRUE(window_->isVisible());
}

TEST_F(QuizWindowTest, DisabledOptionsTakeNoClicks) {
  CaptionButton* option = window_->button(Control::按钮2);
  QSignalSpy clicks(option, &QPushButton::clicked);
  window_->set_state(Control::按钮2, quiz::ButtonState::disabled);
  window_->set_state(Control::按钮2, quiz::ButtonState::disabled);
  QTest::mouseClick(option, Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 0);
  window_->set_state(Control::按钮2, quiz::ButtonState::enabled);
  QTest::mouseClick(option, Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 1);
}

TEST_F(QuizWindowTest, EnterInTheLoadBufferIsALineBreakAndElsewhereNothing) {
  control(Control::编辑框1)->setFocus();
  QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                      QStringLiteral("第一"), Qt::NoModifier);
  press(Qt::Key_Return);
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("second"));
  EXPECT_EQ(window_->content(Control::编辑框1), "第一"_gb + "\r\nsecond");

  control(Control::编辑框20)->setFocus();
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("x"));
  press(Qt::Key_Return);
  EXPECT_EQ(qobject_cast<QLineEdit*>(control(Control::编辑框20))->text(), QStringLiteral("x"));
  EXPECT_EQ(focused(), QStringLiteral("编辑框20"));
  EXPECT_TRUE(window_->isVisible());
}

TEST_F(QuizWindowTest, CaptionsReadBackByteForByte) {
  const quiz::Text long_caption = "题目：一个很长的问题，"_gb + std::string(300, 'x') +
                                  "\r\n第二行\r第三行\n& &&A &B "_gb + "\x81\x30\x81\x30" +
                                  std::string(500, '&');
  const struct {
    const char* name;
    quiz::Text caption;
  } captions[] = {{"long, with CR, LF and &", long_caption},
                  {"empty", {}},
                  {"bytes that are not GB18030", "\xff\xfe\x80"},
                  {"a megabyte", std::string(1 << 20, 'a')}};
  const Control captioned[] = {Control::按钮_开始, Control::按钮1, Control::按钮2, Control::按钮3,
                               Control::按钮4,     Control::按钮5, Control::标签1};
  for (const auto& row : captions) {
    SCOPED_TRACE(row.name);
    for (Control which : captioned) {
      window_->set_caption(which, row.caption);
      EXPECT_EQ(window_->caption(which), row.caption);
    }
    window_->grab();  // drawing them changes nothing
    for (Control which : captioned) EXPECT_EQ(window_->caption(which), row.caption);
  }
}

TEST_F(QuizWindowTest, AmpersandIsShownAndMakesNoShortcut) {
  CaptionButton* option = window_->button(Control::按钮1);
  QSignalSpy clicks(option, &QPushButton::clicked);
  window_->set_caption(Control::按钮1, "&A"_gb);
  EXPECT_EQ(option->shown_caption(), QStringLiteral("&A"));
  control(Control::按钮_开始)->setFocus();
  press(Qt::Key_A, Qt::AltModifier);
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_EQ(focused(), QStringLiteral("按钮_开始"));
}

TEST_F(QuizWindowTest, ContentAndItemsGoToTheirControls) {
  window_->set_content(Control::编辑框1, "一\r\n"_gb);
  window_->append_content(Control::编辑框1, "二"_gb);
  EXPECT_EQ(window_->content(Control::编辑框1), "一\r\n二"_gb);
  window_->add_item(Control::列表框1, "题目：1+1=?回答：2 √"_gb);
  auto* list = qobject_cast<HistoryList*>(control(Control::列表框1));
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->item(0)->text(), QStringLiteral("题目：1+1=?回答：2 √"));
}

// What a screen reader is told about a widget.
struct Spoken {
  QAccessible::Role role{};
  QString name;
};
Spoken spoken(QWidget* widget) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  if (accessible == nullptr) return {};
  return {accessible->role(), accessible->text(QAccessible::Name)};
}

TEST_F(QuizWindowTest, ScreenReadersGetARoleAndANameForEveryControl) {
  const struct {
    Control control;
    QAccessible::Role role;
    const char* name;
  } rows[] = {
      {Control::列表框1, QAccessible::List, "答题记录"},
      {Control::按钮5, QAccessible::Button, "题目"},
      {Control::按钮4, QAccessible::Button, "选项 4"},
      {Control::按钮3, QAccessible::Button, "选项 3"},
      {Control::按钮2, QAccessible::Button, "选项 2"},
      {Control::按钮1, QAccessible::Button, "选项 1"},
      {Control::编辑框20, QAccessible::EditableText, "未使用的输入框"},
      {Control::编辑框1, QAccessible::EditableText, "载入的题目文本"},
      {Control::按钮_开始, QAccessible::Button, "开始答题"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const Spoken told = spoken(control(row.control));
    EXPECT_EQ(told.role, row.role);
    EXPECT_EQ(told.name, QString::fromUtf8(row.name));
  }
  EXPECT_EQ(spoken(window_.get()).name, QStringLiteral("答题"));
}

// The answer lies beyond the window's edge, but a screen reader reads what a label holds
// wherever it is: 标签1 must hold nothing it could read.
TEST_F(QuizWindowTest, ScreenReadersCannotReadTheAnswer) {
  window_->set_caption(Control::标签1, "北京"_gb);
  EXPECT_EQ(window_->caption(Control::标签1), "北京"_gb);
  QWidget* label = control(Control::标签1);
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(label);
  ASSERT_NE(accessible, nullptr);
  for (QAccessible::Text kind :
       {QAccessible::Name, QAccessible::Description, QAccessible::Value, QAccessible::Help}) {
    EXPECT_FALSE(accessible->text(kind).contains(QStringLiteral("北京"))) << kind;
  }
  EXPECT_TRUE(qobject_cast<QLabel*>(label)->text().isEmpty());
}

TEST_F(QuizWindowTest, ScreenReadersHearTheCaptionsAsTheyChange) {
  window_->set_caption(Control::按钮5, "题目：1+1=?"_gb);
  window_->set_caption(Control::按钮1, "2"_gb);
  window_->set_caption(Control::按钮2, "& 1"_gb);
  window_->set_caption(Control::按钮3, "第一行\r\n第二行"_gb);
  window_->set_caption(Control::按钮_开始, "刷新题目"_gb);
  EXPECT_EQ(spoken(control(Control::按钮5)).name, QStringLiteral("题目：1+1=?"));
  EXPECT_EQ(spoken(control(Control::按钮1)).name, QStringLiteral("选项 1：2"));
  EXPECT_EQ(spoken(control(Control::按钮2)).name, QStringLiteral("选项 2：& 1"));
  EXPECT_EQ(spoken(control(Control::按钮3)).name, QStringLiteral("选项 3：第一行\u2028第二行"));
  EXPECT_EQ(spoken(control(Control::按钮4)).name, QStringLiteral("选项 4"));
  EXPECT_EQ(spoken(control(Control::按钮_开始)).name, QStringLiteral("刷新题目"));

  // Emptied again, the buttons fall back to what they are for.
  window_->set_caption(Control::按钮5, {});
  window_->set_caption(Control::按钮1, {});
  EXPECT_EQ(spoken(control(Control::按钮5)).name, QStringLiteral("题目"));
  EXPECT_EQ(spoken(control(Control::按钮1)).name, QStringLiteral("选项 1"));
}

}  // namespace
}  // namespace quiz_qt
