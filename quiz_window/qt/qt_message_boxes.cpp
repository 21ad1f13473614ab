#include "quiz_window/qt/qt_message_boxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPointer>
#include <cstdio>
#include <string>

#include "quiz_window/qt/display_text.h"
#include "support/encoding.h"
#include "support/text_literal.h"

namespace quiz_qt {
namespace {

using quiz::operator""_gb;

// Box texts keep the line breaks of the program's texts; a label breaks lines at LF.
QString box_text(const quiz::Text& text) {
  QString shown = display_string(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

// A box without owner, its text shown as it stands (never as rich text), whose one button is the
// standard OK button; Qt's Chinese translation names it "确定". Styles that give dialog buttons
// an icon are overruled: the button shows its word only.
void set_up_box(QMessageBox& box, QMessageBox::Icon icon, const quiz::Text& title,
                const quiz::Text& text) {
  box.setIcon(icon);
  box.setWindowTitle(display_string(title));
  box.setTextFormat(Qt::PlainText);
  box.setText(box_text(text));
  box.setStandardButtons(QMessageBox::Ok);
  box.button(QMessageBox::Ok)->setIcon(QIcon());
}

}  // namespace

void QtMessageBoxes::show(const quiz::Text& title, const quiz::Text& text, quiz::BoxIcon icon) {
  QMessageBox box;
  set_up_box(box, icon == quiz::BoxIcon::warning ? QMessageBox::Warning : QMessageBox::NoIcon,
             title, text);
  box.setWindowModality(Qt::ApplicationModal);
  // The window that was active gets the keyboard back when the box closes, as it does under a
  // window manager; without one, the focus would be left on no window at all.
  const QPointer<QWidget> active = QApplication::activeWindow();
  box.exec();
  if (active) active->activateWindow();
}

void QtFatalErrorDisplay::show_fatal_error(const quiz::Text& box_text) noexcept {
  try {
    QMessageBox box;
    set_up_box(box, QMessageBox::Critical, "错误"_gb, box_text);
    // Not modal: exec() would block the quiz window, which the error leaves as it is. A local
    // loop waits for the box instead.
    box.setWindowModality(Qt::NonModal);
    QEventLoop wait;
    QObject::connect(&box, &QMessageBox::finished, &wait, &QEventLoop::quit);
    box.show();
    box.activateWindow();
    wait.exec();
  } catch (...) {
    // Without a box, standard error still gets the text before the process ends.
    const std::string shown = quiz::gb18030_to_utf8_lossy(box_text);
    std::fprintf(stderr, "%s\n", shown.c_str());
  }
}

}  // namespace quiz_qt
