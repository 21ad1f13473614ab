#pragma once
// Stand-ins for the window, the message boxes and the clock, so the quiz's actions can be run and
// inspected without a screen. The fake window keeps every control's state in plain fields and
// logs each operation, so tests can check the order of an action's steps.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/clock.h"
#include "support/message_boxes.h"
#include "support/quiz_controls.h"
#include "support/text_literal.h"

namespace quiz::testing {

using quiz::operator""_gb;

class FakeClock final : public Clock {
 public:
  std::uint32_t tick_count() override { return ticks; }
  std::uint32_t ticks{0};
};

inline std::string name_of(Control control) { return std::string(control_name(control)); }

class FakeControls final : public QuizControls {
 public:
  FakeControls() {
    captions[Control::按钮_开始] = "开始答题"_gb;
    captions[Control::标签1] = "标签"_gb;
  }

  const Text& caption(Control control) const override { return captions[control]; }
  void set_caption(Control control, const Text& caption) override {
    log.push_back("caption " + name_of(control));
    captions[control] = caption;
  }
  void set_state(Control control, ButtonState state) override {
    log.push_back((state == ButtonState::enabled ? "enable " : "disable ") + name_of(control));
    states[control] = state;
  }
  const Text& content(Control control) const override { return contents[control]; }
  void set_content(Control control, const Text& content) override {
    log.push_back("set content");
    contents[control] = content;
  }
  void append_content(Control control, const Text& addition) override {
    log.push_back("append content");
    contents[control] += addition;
  }
  void add_item(Control control, const Text& item) override {
    log.push_back("add item");
    items[control].push_back(item);
  }

  bool enabled(Control control) const { return states[control] == ButtonState::enabled; }

  mutable std::map<Control, Text> captions;
  mutable std::map<Control, Text> contents;
  mutable std::map<Control, ButtonState> states;
  std::map<Control, std::vector<Text>> items;
  std::vector<std::string> log;
};

struct ShownBox {
  Text title;
  Text text;
  BoxIcon icon;
};

class FakeMessageBoxes final : public MessageBoxes {
 public:
  void show(const Text& title, const Text& text, BoxIcon icon) override {
    shown.push_back({title, text, icon});
    if (while_shown) while_shown();
  }
  std::vector<ShownBox> shown;
  // Runs while a box is "open", before show returns.
  std::function<void()> while_shown;
};

}  // namespace quiz::testing
