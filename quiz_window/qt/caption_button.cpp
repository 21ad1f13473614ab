#include "quiz_window/qt/caption_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>

#include "quiz_window/qt/display_text.h"

namespace quiz_qt {
namespace {

// Lays out `text` in lines of `area`'s width and draws the lines that reach into `area`: centred
// vertically when they all fit, from the top edge otherwise.
void draw_wrapped(QPainter& painter, const QRect& area, const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  QTextOption option(Qt::AlignHCenter);
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  qreal height = 0;
  bool fits = true;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(area.width());
    line.setPosition(QPointF(0, height));
    height += line.height();
    if (height > area.height()) {
      fits = false;
      break;  // the lines below this one would not be seen
    }
  }
  layout.endLayout();
  const qreal top = fits ? (area.height() - height) / 2 : 0;
  layout.draw(&painter, QPointF(area.left(), area.top() + top));
}

}  // namespace

CaptionButton::CaptionButton(const quiz::Text& caption, QWidget* parent) : QPushButton(parent) {
  setAutoDefault(false);
  setDefault(false);
  set_caption(caption);
}

void CaptionButton::set_caption(const quiz::Text& caption) {
  caption_ = caption;
  shown_ = display_lines(shown_part(caption_));
  // QPushButton's own text is never drawn; it carries the caption for accessibility. Doubling
  // each '&' keeps Qt from turning the next character into a keyboard shortcut.
  QString accessible = shown_;
  accessible.replace(QLatin1Char('&'), QStringLiteral("&&"));
  setText(accessible);
  update();
}

void CaptionButton::paintEvent(QPaintEvent* /*event*/) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);

  QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  if (option.state & (QStyle::State_Sunken | QStyle::State_On)) {
    area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                   style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
  }
  painter.setClipRect(area);
  painter.setPen(option.palette.color(QPalette::ButtonText));
  draw_wrapped(painter, area, shown_, font());
}

}  // namespace quiz_qt
