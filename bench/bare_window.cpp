// The floor of the quiz's start-up: a bare Qt program that shows one window holding the same ten
// plain widgets in the same places, with no logic behind them. start_probe starts it beside the
// quiz and compares the time until each window is painted and the memory each holds then.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRect>
#include <QWidget>

namespace {

template <typename Widget>
Widget* place(QWidget& window, const QRect& geometry, const QString& text = {}) {
  auto* widget = new Widget(&window);
  widget->setGeometry(geometry);
  if constexpr (requires { widget->setText(text); }) {
    if (!text.isEmpty()) widget->setText(text);
  }
  return widget;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  // The quiz window's size: without a window manager, as under the probe, it has no frame.
  window.setFixedSize(778, 401);
  place<QListWidget>(window, {371, 1, 397, 367});
  place<QPushButton>(window, {3, 0, 360, 88});
  place<QPushButton>(window, {187, 168, 176, 64});
  place<QPushButton>(window, {3, 168, 176, 64});
  place<QPushButton>(window, {187, 96, 176, 64});
  place<QPushButton>(window, {3, 96, 176, 64});
  place<QLabel>(window, {784, 320, 208, 24}, QString::fromUtf8("标签"));
  place<QLineEdit>(window, {816, 72, 80, 20});
  place<QPlainTextEdit>(window, {816, 104, 80, 96});
  place<QPushButton>(window, {120, 256, 128, 64}, QString::fromUtf8("开始答题"));
  window.show();
  return application.exec();
}
