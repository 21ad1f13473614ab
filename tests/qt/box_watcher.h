#pragma once
// Dismisses the message boxes that open while a BoxWatcher lives, modal or not, recording what
// each showed. A test starts one before the click that opens a box; the click returns once the
// box is gone.

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

namespace quiz_qt::testing {

struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon{};
  Qt::WindowModality modality{};
  bool has_parent{};
  QStringList buttons;     // their texts
  bool button_has_icon{};  // any of them
};

class BoxWatcher final {
 public:
  // `while_open` runs once per box, after it is recorded and before it is dismissed.
  explicit BoxWatcher(std::function<void(const SeenBox&)> while_open = {});

  const std::vector<SeenBox>& seen() const { return seen_; }

 private:
  void look();

  QTimer timer_;
  std::function<void(const SeenBox&)> while_open_;
  std::vector<SeenBox> seen_;
  QList<QPointer<QMessageBox>> handling_;  // boxes whose while_open runs now
};

}  // namespace quiz_qt::testing
