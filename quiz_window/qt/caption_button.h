#pragma once
// A push button whose caption is a GB18030 text held by the program. The caption is drawn
// centred both ways, wrapped onto as many lines as it needs (at word boundaries where it can,
// anywhere in a word too long for a line), top-aligned and cut off at the lower edge when it does
// not fit, and with '&' shown as it stands: no mnemonic, no shortcut. Reading the caption back
// gives the exact text last set, whatever was drawn.

#include <QPushButton>

#include "support/text.h"

namespace quiz_qt {

class CaptionButton final : public QPushButton {
  Q_OBJECT

 public:
  CaptionButton(const quiz::Text& caption, QWidget* parent);

  const quiz::Text& caption() const { return caption_; }
  void set_caption(const quiz::Text& caption);

  // The caption as it is drawn, before wrapping: at most the start of a very long caption, with
  // its line breaks as line separators.
  const QString& shown_caption() const { return shown_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  quiz::Text caption_{};
  QString shown_{};
};

}  // namespace quiz_qt
