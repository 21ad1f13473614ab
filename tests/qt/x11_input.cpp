// Plays the user on an X display for the real-window check, without a window manager:
//   x11_input key space|escape|tab   presses and releases that key (the focused window gets it)
//   x11_input close WINDOW-ID        asks the window to close, as a window manager's close box does

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

namespace {

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
  std::unique_ptr<xcb_intern_atom_reply_t, FreeReply> reply(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_keycode_t keycode_of(xcb_connection_t* connection, xcb_keysym_t keysym) {
  const xcb_setup_t* setup = xcb_get_setup(connection);
  const int count = setup->max_keycode - setup->min_keycode + 1;
  std::unique_ptr<xcb_get_keyboard_mapping_reply_t, FreeReply> mapping(
      xcb_get_keyboard_mapping_reply(
          connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, count), nullptr));
  if (!mapping) return 0;
  const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
  const int per_keycode = mapping->keysyms_per_keycode;
  for (int code = 0; code < count; ++code) {
    for (int column = 0; column < per_keycode; ++column) {
      if (keysyms[code * per_keycode + column] == keysym) {
        return static_cast<xcb_keycode_t>(setup->min_keycode + code);
      }
    }
  }
  return 0;
}

bool press_key(xcb_connection_t* connection, std::string_view name) {
  xcb_keysym_t keysym = 0;
  if (name == "space") keysym = 0x20;
  if (name == "escape") keysym = 0xff1b;
  if (name == "tab") keysym = 0xff09;
  const xcb_keycode_t code = keysym != 0 ? keycode_of(connection, keysym) : 0;
  if (code == 0) return false;
  xcb_test_fake_input(connection, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  xcb_test_fake_input(connection, XCB_KEY_RELEASE, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  return true;
}

void ask_to_close(xcb_connection_t* connection, xcb_window_t window) {
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = window;
  event.type = atom(connection, "WM_PROTOCOLS");
  event.data.data32[0] = atom(connection, "WM_DELETE_WINDOW");
  event.data.data32[1] = XCB_CURRENT_TIME;
  xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                 reinterpret_cast<const char*>(&event));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: x11_input key space|escape|tab | close WINDOW-ID\n");
    return 2;
  }
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) {
    std::fprintf(stderr, "x11_input: cannot connect to the display\n");
    return 1;
  }
  const std::string_view command = argv[1];
  bool done = false;
  if (command == "key") {
    done = press_key(connection, argv[2]);
  } else if (command == "close") {
    ask_to_close(connection, static_cast<xcb_window_t>(std::strtoul(argv[2], nullptr, 0)));
    done = true;
  }
  // A round trip makes sure the server has carried out the requests before the connection ends.
  std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
  xcb_disconnect(connection);
  if (!done) std::fprintf(stderr, "x11_input: cannot do %s %s\n", argv[1], argv[2]);
  return done ? 0 : 1;
}
