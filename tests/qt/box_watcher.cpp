#include "box_watcher.h"

#include <QAbstractButton>
#include <QApplication>

namespace quiz_qt::testing {

BoxWatcher::BoxWatcher(std::function<void(const SeenBox&)> while_open)
    : while_open_(std::move(while_open)) {
  QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
  timer_.start(5);
}

void BoxWatcher::look() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(window);
    if (box == nullptr || !box->isVisible() || handling_.contains(box)) continue;
    SeenBox seen{box->windowTitle(),       box->text(), box->icon(), box->windowModality(),
                 box->parent() != nullptr, {},          false};
    for (QAbstractButton* button : box->buttons()) {
      seen.buttons << button->text();
      seen.button_has_icon = seen.button_has_icon || !button->icon().isNull();
    }
    seen_.push_back(seen);
    if (while_open_) {
      // A box that opens meanwhile is looked after by a nested call.
      handling_.append(box);
      while_open_(seen);
      handling_.removeAll(box);
    }
    if (!box->buttons().isEmpty()) box->buttons().first()->click();
    return;
  }
}

}  // namespace quiz_qt::testing
