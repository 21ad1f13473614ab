#include "quiz_window/qt/caption_button.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QRawFont>
#include <QStyleOptionButton>
#include <string>

#include "qt_printing.h"
#include "support/text_literal.h"

namespace quiz_qt {
namespace {

using quiz::operator""_gb;

// Where a caption left dark pixels: the bounding box of the ink inside the button's contents.
struct Ink {
  QRect box;
  int darkest{255};
};

QRect contents_of(const CaptionButton& button) {
  QStyleOptionButton option;
  option.initFrom(&button);
  return button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
}

Ink ink_of(CaptionButton& button) {
  const QImage image = button.grab().toImage();
  const QRect area = contents_of(button);
  Ink ink;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const int gray = qGray(image.pixel(x, y));
      ink.darkest = std::min(ink.darkest, gray);
      if (gray < 128) ink.box |= QRect(x, y, 1, 1);
    }
  }
  return ink;
}

int line_height() { return QFontMetrics(QApplication::font()).height(); }

TEST(CaptionButton, ChineseCharactersHaveTheChosenFont) {
  EXPECT_TRUE(QApplication::font().families().contains(QStringLiteral("WenQuanYi Micro Hei")));
  EXPECT_TRUE(QFontDatabase::families().contains(QStringLiteral("WenQuanYi Micro Hei")));
  const QRawFont chinese = QRawFont::fromFont(QFont(QStringLiteral("WenQuanYi Micro Hei")));
  for (QChar c : QStringLiteral("开始答题刷新题目恭喜答对了√×")) {
    EXPECT_TRUE(chinese.supportsCharacter(c)) << static_cast<int>(c.unicode());
  }
}

TEST(CaptionButton, CaptionsAreCentredWrappedAndCutOff) {
  struct Row {
    const char* name;
    quiz::Text caption;
    int least_lines;         // the ink spans at least this many lines
    int most_lines;          // and at most this many
    bool cut_at_lower_edge;  // ink reaches the bottom of the contents
  };
  const Row rows[] = {
      {"one short word", "短"_gb, 1, 1, false},
      {"wrapped at word boundaries", "这是一个相当长的选项，需要换行才能完全显示出来"_gb, 2, 2,
       false},
      {"a word too long for a line", std::string(30, 'W'), 2, 3, false},
      {"line breaks CR LF, CR and LF", "一\r\n二\r三\n四"_gb, 4, 4, false},
      {"more lines than fit", "很长的问题"_gb + std::string(400, 'i') + "。"_gb, 4, 10, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CaptionButton button(row.caption, nullptr);
    button.resize(176, 64);
    const QRect area = contents_of(button);
    const Ink ink = ink_of(button);
    ASSERT_FALSE(ink.box.isEmpty());
    const int lines = (ink.box.height() + line_height() / 2) / line_height();
    EXPECT_GE(std::max(lines, 1), row.least_lines) << ink.box.height();
    EXPECT_LE(lines, row.most_lines) << ink.box.height();
    EXPECT_NEAR(ink.box.center().x(), area.center().x(), 3);
    if (row.cut_at_lower_edge) {
      EXPECT_LE(ink.box.top() - area.top(), line_height());  // drawn from the top
      EXPECT_GE(ink.box.bottom(), area.bottom() - line_height());
    } else {
      EXPECT_GT(ink.box.top(), area.top());  // nothing cut at either edge
      EXPECT_LT(ink.box.bottom(), area.bottom());
      EXPECT_NEAR(ink.box.top() - area.top(), area.bottom() - ink.box.bottom(), 4);
    }
  }
}

TEST(CaptionButton, DisabledCaptionIsGrey) {
  CaptionButton button("选项"_gb, nullptr);
  button.resize(176, 64);
  const int enabled = ink_of(button).darkest;
  button.setEnabled(false);
  const int disabled = ink_of(button).darkest;
  EXPECT_LT(enabled, 64);
  EXPECT_GT(disabled, enabled + 40);
}

TEST(CaptionButton, AccessibleTextIsTheCaptionWithoutShortcut) {
  CaptionButton button("A&B"_gb, nullptr);
  EXPECT_EQ(button.caption(), "A&B");
  EXPECT_EQ(button.shown_caption(), QStringLiteral("A&B"));
  EXPECT_TRUE(QKeySequence::mnemonic(button.text()).isEmpty());
}

}  // namespace
}  // namespace quiz_qt
