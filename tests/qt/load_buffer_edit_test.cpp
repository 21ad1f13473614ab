#include "quiz_window/qt/load_buffer_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTextBlock>
#include <QVBoxLayout>
#include <QWidget>
#include <string>

#include "qt_printing.h"
#include "support/text_literal.h"

namespace quiz_qt {
namespace {

using quiz::operator""_gb;

// The edit box in a shown, active window, beside a second control to take the focus away.
class LoadBufferEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    edit_ = new LoadBufferEdit(&window_);
    other_ = new QWidget(&window_);
    other_->setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(&window_);
    layout->addWidget(edit_);
    layout->addWidget(other_);
    other_->setFocus();
    window_.show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  }

  QWidget window_;
  LoadBufferEdit* edit_{};
  QWidget* other_{};
};

TEST_F(LoadBufferEditTest, ContentReadsBackByteForByte) {
  const struct {
    const char* name;
    quiz::Text content;
  } rows[] = {
      {"question file", "1+1=?\r\n1\r\n2\r\n3\r\n4\r\n2\r\n\r\n"},
      {"lone CR and LF, tabs, no-break space", "a\rb\nc\td\xa8\xa0"},
      {"not GB18030", "\xff\x80\x81"},
      {"Chinese with a four-byte character", "题目"_gb + "\x81\x30\x81\x30\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    edit_->set_content(row.content);
    EXPECT_EQ(edit_->content(), row.content);
    edit_->set_content({});
    edit_->append_content(row.content);
    edit_->append_content("\r\n");
    EXPECT_EQ(edit_->content(), row.content + "\r\n");
    edit_->setFocus();  // the widget shows it now; reading back is unchanged
    EXPECT_TRUE(edit_->widget_is_current());
    EXPECT_EQ(edit_->content(), row.content + "\r\n");
    other_->setFocus();
  }
}

TEST_F(LoadBufferEditTest, ALargeTextReachesTheWidgetOnlyWithTheFocus) {
  const quiz::Text large = std::string(2 << 20, 'x') + "\r\n" + "末行"_gb;
  edit_->set_content({});
  edit_->append_content(large);
  EXPECT_FALSE(edit_->widget_is_current());
  EXPECT_TRUE(edit_->document()->isEmpty());
  EXPECT_EQ(edit_->content(), large);

  edit_->setFocus();
  EXPECT_TRUE(edit_->widget_is_current());
  EXPECT_EQ(edit_->document()->blockCount(), 2);
  EXPECT_EQ(edit_->document()->lastBlock().text(), QStringLiteral("末行"));
  EXPECT_EQ(edit_->content(), large);

  other_->setFocus();
  edit_->set_content("新"_gb);  // a new content does not leave the old one in the widget
  EXPECT_TRUE(edit_->document()->isEmpty());
  EXPECT_EQ(edit_->content(), "新"_gb);
}

TEST_F(LoadBufferEditTest, TypingIsReadBackAndKeptByAppend) {
  edit_->set_content("题目\r\n"_gb);
  edit_->setFocus();
  edit_->moveCursor(QTextCursor::End);
  // A key that types a Chinese character, as an input method delivers it.
  QTest::sendKeyEvent(QTest::Click, edit_, Qt::Key_unknown, QStringLiteral("答"), Qt::NoModifier);
  QTest::keyClick(edit_, Qt::Key_Return);
  QTest::keyClicks(edit_, QStringLiteral("b"));
  EXPECT_EQ(edit_->content(), "题目\r\n答\r\nb"_gb);
  QTest::keyClicks(edit_, QStringLiteral("c"));
  edit_->append_content("\r\n加"_gb);
  EXPECT_EQ(edit_->content(), "题目\r\n答\r\nbc\r\n加"_gb);
  EXPECT_EQ(edit_->toPlainText(), QStringLiteral("题目\n答\nbc\n加"));  // it has the focus
}

TEST_F(LoadBufferEditTest, TabLeavesTheBox) {
  edit_->setFocus();
  QTest::keyClick(edit_, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), other_);
  EXPECT_EQ(edit_->content(), "");
}

}  // namespace
}  // namespace quiz_qt
