#pragma once
// 编辑框1, the load buffer: a multi-line edit box whose content is a GB18030 text held by the
// program. The text can run to many megabytes while the box lies out of sight, so it is handed
// to the widget only when the box gets the keyboard focus; until then the widget stays empty.
// Reading the content gives the held text byte for byte, unless the user has typed into the box
// since: then the widget's text is read back, every line break as CR LF.

#include <QPlainTextEdit>

#include "support/text.h"

namespace quiz_qt {

class LoadBufferEdit final : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit LoadBufferEdit(QWidget* parent);

  const quiz::Text& content() const;
  void set_content(const quiz::Text& content);
  void append_content(const quiz::Text& addition);

  // True while the widget shows the held content (it is empty until the box gets the focus).
  bool widget_is_current() const { return widget_current_; }

 protected:
  void focusInEvent(QFocusEvent* event) override;

 private:
  // The held content changed: the widget's text is out of date.
  void content_changed();
  void show_content();
  // Replaces the widget's text without counting it as typing.
  void replace_widget_text(const QString& text);

  mutable quiz::Text content_{};
  mutable bool typed_since_read_{false};
  bool widget_current_{true};
  bool replacing_{false};
};

}  // namespace quiz_qt
