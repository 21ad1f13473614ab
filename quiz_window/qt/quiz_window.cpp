#include "quiz_window/qt/quiz_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <algorithm>

#include "quiz_window/qt/caption_button.h"
#include "quiz_window/qt/history_list.h"
#include "quiz_window/qt/load_buffer_edit.h"
#include "support/fatal_error.h"
#include "support/text_literal.h"

namespace quiz_qt {
namespace {

using quiz::operator""_gb;

using quiz::Control;

const quiz::Text kNoText{};

// Places and outer sizes in the client area. 标签1 and the two edit boxes lie beyond the right
// edge on purpose: they hold state, or nothing, and are never seen.
struct Place {
  Control control;
  QRect geometry;
};
constexpr Place kPlaces[] = {
    {Control::列表框1, {371, 1, 397, 367}}, {Control::按钮5, {3, 0, 360, 88}},
    {Control::按钮4, {187, 168, 176, 64}},  {Control::按钮3, {3, 168, 176, 64}},
    {Control::按钮2, {187, 96, 176, 64}},   {Control::按钮1, {3, 96, 176, 64}},
    {Control::标签1, {784, 320, 208, 24}},  {Control::编辑框20, {816, 72, 80, 20}},
    {Control::编辑框1, {816, 104, 80, 96}}, {Control::按钮_开始, {120, 256, 128, 64}},
};

// What a screen reader says for a push button. An option is read with its number before its
// caption, so the four options can be told apart and none is read as nothing while it is empty;
// the question button, while it shows no question, by what it is for. Other buttons are read by
// their caption.
QString spoken_name(Control control, const QString& caption) {
  if (control == Control::按钮5) return caption.isEmpty() ? QStringLiteral("题目") : caption;
  const auto* option = std::find(quiz::kOptionButtons.begin(), quiz::kOptionButtons.end(), control);
  if (option == quiz::kOptionButtons.end()) return caption;
  QString name =
      QStringLiteral("选项 ") + QString::number(option - quiz::kOptionButtons.begin() + 1);
  if (!caption.isEmpty()) name += QStringLiteral("：") + caption;
  return name;
}

}  // namespace

QuizWindow::QuizWindow()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint) {
  // The title bar shows no text. An empty title would not do: Qt publishes the program's name
  // in its place, and some window managers write "Unnamed Window" there. A single space shows
  // nothing everywhere.
  setWindowTitle(QStringLiteral(" "));
  // A screen reader still names the window.
  setAccessibleName(QStringLiteral("答题"));
  QPalette client = palette();
  client.setColor(QPalette::Window, client.color(QPalette::Button));
  setPalette(client);
  setAutoFillBackground(true);
  setFixedSize(kOuterSize);

  create_controls();
  set_tab_order();

  // Esc closes the window from whichever control has the focus, as the close box does.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setContext(Qt::WindowShortcut);
  connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void QuizWindow::create_controls() {
  start_ = new CaptionButton("开始答题"_gb, this);
  question_ = new CaptionButton({}, this);
  for (CaptionButton*& option : options_) option = new CaptionButton({}, this);
  answer_ = "标签"_gb;
  // 标签1 keeps the correct answer out of sight, and its widget shows nothing: a screen reader
  // reads a label's text out wherever it lies, which would give the answer away.
  answer_label_ = new QLabel(this);
  answer_label_->setTextFormat(Qt::PlainText);
  answer_label_->setFocusPolicy(Qt::NoFocus);
  load_buffer_ = new LoadBufferEdit(this);
  unused_edit_ = new QLineEdit(this);
  history_ = new HistoryList(this);

  for (const Place& place : kPlaces) {
    QWidget* control = widget(place.control);
    // Widgets carry their controls' names, so tests and accessibility tools can find them.
    std::string_view name = quiz::control_name(place.control);
    control->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    control->setGeometry(place.geometry);
    if (button(place.control) != nullptr) update_spoken_name(place.control);
  }
  load_buffer_->setAccessibleName(QStringLiteral("载入的题目文本"));
  unused_edit_->setAccessibleName(QStringLiteral("未使用的输入框"));
  history_->setAccessibleName(QStringLiteral("答题记录"));
}

void QuizWindow::update_spoken_name(Control control) {
  CaptionButton* shown = button(control);
  shown->setAccessibleName(spoken_name(control, shown->shown_caption()));
}

void QuizWindow::set_tab_order() {
  const Control cycle[] = {Control::按钮_开始, Control::编辑框1, Control::编辑框20,
                           Control::按钮1,     Control::按钮2,   Control::按钮3,
                           Control::按钮4,     Control::按钮5,   Control::列表框1};
  for (std::size_t i = 1; i < std::size(cycle); ++i) {
    setTabOrder(widget(cycle[i - 1]), widget(cycle[i]));
  }
}

CaptionButton* QuizWindow::button(Control control) const {
  switch (control) {
    case Control::按钮_开始:
      return start_;
    case Control::按钮1:
      return options_[0];
    case Control::按钮2:
      return options_[1];
    case Control::按钮3:
      return options_[2];
    case Control::按钮4:
      return options_[3];
    case Control::按钮5:
      return question_;
    default:
      return nullptr;
  }
}

QWidget* QuizWindow::widget(Control control) const {
  switch (control) {
    case Control::列表框1:
      return history_;
    case Control::标签1:
      return answer_label_;
    case Control::编辑框20:
      return unused_edit_;
    case Control::编辑框1:
      return load_buffer_;
    default:
      return button(control);
  }
}

const quiz::Text& QuizWindow::caption(Control control) const {
  if (control == Control::标签1) return answer_;
  CaptionButton* shown = button(control);
  return shown != nullptr ? shown->caption() : kNoText;
}

void QuizWindow::set_caption(Control control, const quiz::Text& caption) {
  if (control == Control::标签1) {
    answer_ = caption;
  } else if (CaptionButton* shown = button(control)) {
    shown->set_caption(caption);
    update_spoken_name(control);
  }
}

void QuizWindow::set_state(Control control, quiz::ButtonState state) {
  if (CaptionButton* shown = button(control)) {
    shown->setEnabled(state == quiz::ButtonState::enabled);
  }
}

const quiz::Text& QuizWindow::content(Control control) const {
  return control == Control::编辑框1 ? load_buffer_->content() : kNoText;
}

void QuizWindow::set_content(Control control, const quiz::Text& content) {
  if (control == Control::编辑框1) load_buffer_->set_content(content);
}

void QuizWindow::append_content(Control control, const quiz::Text& addition) {
  if (control == Control::编辑框1) load_buffer_->append_content(addition);
}

void QuizWindow::add_item(Control control, const quiz::Text& item) {
  if (control == Control::列表框1) history_->add_line(item);
}

void QuizWindow::open() {
  fit_to_frame();
  start_->setFocus();
  show();
  // Without a window manager nothing activates a new window; with one, this asks for it.
  activateWindow();
  raise();
  // A window manager reports the frame a few milliseconds after mapping, not always with an
  // event that reaches this window: look again shortly.
  for (int delay_ms : {50, 250, 1000})
    QTimer::singleShot(delay_ms, this, [this] { fit_to_frame(); });
}

bool QuizWindow::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  if (event->type() == QEvent::Move || event->type() == QEvent::Show) fit_to_frame();
  return handled;
}

void QuizWindow::closeEvent(QCloseEvent* event) {
  // Once a fatal run-time error is raised, nothing done on the window has any effect; the error
  // box alone ends the program.
  if (quiz::fatal_error_raised()) {
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

void QuizWindow::fit_to_frame() {
  const QRect outer = frameGeometry();
  const QRect client = geometry();
  const QMargins frame(client.left() - outer.left(), client.top() - outer.top(),
                       outer.right() - client.right(), outer.bottom() - client.bottom());
  if (frame == fitted_frame_) return;
  fitted_frame_ = frame;
  setFixedSize(kOuterSize.shrunkBy(frame));
  QPoint place;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    // Integer division truncates toward zero, as the place is defined, also when the screen is
    // smaller than the window.
    place = area.topLeft() + QPoint((area.width() - kOuterSize.width()) / 2,
                                    (area.height() - kOuterSize.height()) / 2);
  }
  move(place);  // moves the frame's top-left corner
}

}  // namespace quiz_qt
