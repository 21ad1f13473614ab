#include "quiz_window/qt/load_buffer_edit.h"

#include <QTextDocument>

#include "quiz_window/qt/display_text.h"

namespace quiz_qt {

LoadBufferEdit::LoadBufferEdit(QWidget* parent) : QPlainTextEdit(parent) {
  setTabChangesFocus(true);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WrapAnywhere);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  connect(document(), &QTextDocument::contentsChanged, this, [this] {
    if (!replacing_) typed_since_read_ = true;
  });
}

const quiz::Text& LoadBufferEdit::content() const {
  if (typed_since_read_) {
    // toRawText keeps no-break spaces that toPlainText would turn into plain spaces; its
    // paragraph and line separators are the line breaks the user typed.
    QString typed = document()->toRawText();
    typed.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    typed.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    content_ = text_from_typed(typed);
    typed_since_read_ = false;
  }
  return content_;
}

void LoadBufferEdit::set_content(const quiz::Text& content) {
  content_ = content;
  typed_since_read_ = false;
  content_changed();
}

void LoadBufferEdit::append_content(const quiz::Text& addition) {
  content();  // takes in what the user typed before adding to it
  content_ += addition;
  content_changed();
}

void LoadBufferEdit::content_changed() {
  widget_current_ = false;
  if (hasFocus()) {
    show_content();
  } else if (!document()->isEmpty()) {
    replace_widget_text({});  // nothing out of date stays in the widget
  }
}

void LoadBufferEdit::show_content() {
  if (widget_current_) return;
  // The document takes CR, LF and CR LF alike as one line break.
  QString shown = display_string(content_);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  replace_widget_text(shown);
  widget_current_ = true;
}

void LoadBufferEdit::replace_widget_text(const QString& text) {
  replacing_ = true;
  setPlainText(text);
  replacing_ = false;
}

void LoadBufferEdit::focusInEvent(QFocusEvent* event) {
  show_content();
  QPlainTextEdit::focusInEvent(event);
}

}  // namespace quiz_qt
