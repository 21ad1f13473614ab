#pragma once
// The quiz window: one fixed-size top-level window with the ten controls, which hold all of the
// quiz's state. It implements the control operations the program's actions use, keeping every
// caption and the load buffer as GB18030 texts of its own so they read back byte for byte; the
// widgets only display them. It runs no action itself: the owner wires the buttons' clicks.
//
// Its outer size, frame included, is 778 × 401 pixels, centred on the primary screen. The frame
// is known only once a window manager has framed the shown window, so the client area is sized
// again whenever the frame the window system reports changes.
//
// Every control has an accessible name a screen reader can read: the buttons by their captions
// (each option with its number before it), the list and the edit boxes by what they are for.
// 标签1 holds the correct answer as its caption but displays nothing, so no screen reader can
// read the answer out.

#include <QWidget>

#include "support/quiz_controls.h"

class QLabel;
class QLineEdit;

namespace quiz_qt {

class CaptionButton;
class HistoryList;
class LoadBufferEdit;

class QuizWindow final : public QWidget, public quiz::QuizControls {
 public:
  static constexpr QSize kOuterSize{778, 401};

  QuizWindow();

  const quiz::Text& caption(quiz::Control control) const override;
  void set_caption(quiz::Control control, const quiz::Text& caption) override;
  void set_state(quiz::Control control, quiz::ButtonState state) override;
  const quiz::Text& content(quiz::Control control) const override;
  void set_content(quiz::Control control, const quiz::Text& content) override;
  void append_content(quiz::Control control, const quiz::Text& addition) override;
  void add_item(quiz::Control control, const quiz::Text& item) override;

  // The push button of `control`, or nullptr when the control is no push button.
  CaptionButton* button(quiz::Control control) const;
  // The widget of any of the ten controls.
  QWidget* widget(quiz::Control control) const;

  // Shows the window at its centred place, active, with the focus on 按钮_开始.
  void open();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void create_controls();
  void set_tab_order();
  // Gives the push button of `control` the name a screen reader reads for it.
  void update_spoken_name(quiz::Control control);
  // Sizes the client area so that client and frame together make kOuterSize, and centres that
  // outer rectangle on the primary screen. Does nothing while the frame stays the same.
  void fit_to_frame();

  CaptionButton* start_{};
  CaptionButton* options_[4]{};
  CaptionButton* question_{};
  QLabel* answer_label_{};
  quiz::Text answer_{};
  LoadBufferEdit* load_buffer_{};
  QLineEdit* unused_edit_{};
  HistoryList* history_{};
  QMargins fitted_frame_{-1, -1, -1, -1};
};

}  // namespace quiz_qt
