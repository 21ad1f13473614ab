// Times programs from their start until their window is on the screen, painted, and reads the
// memory they hold then. It watches from outside, so the programs need no help from their code:
//
//   start_probe RUNS LABEL PROGRAM [LABEL PROGRAM ...]
//
// Each program is started RUNS times, the programs taking turns so that a busy machine slows them
// alike, after one warm-up start each that is not counted. One start goes like this: the probe
// notes the time and forks; the child runs the program on the probe's X display (xcb platform).
// The window counts as shown when its first pixel differs from the root window's colour that was
// there before it, which happens at its first paint; the probe polls one pixel of the window's
// client area for that. A quarter of a second later it reads VmRSS from /proc, then asks the
// window to close as a window manager would (WM_DELETE_WINDOW) and waits for the process.
//
// Meant for a bare display whose root is one colour (Xvfb -br, as scripts/bench starts it).
// Prints one line per program on standard output: label, median seconds to the painted window,
// median resident bytes after it, tab separated; every single start goes to standard error.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct Start {
  double mapped_seconds{};
  double seconds{};
  long resident_bytes{};
};

struct Program {
  std::string label;
  std::string path;
  std::vector<Start> starts;
};

// A window that is gone between two requests must not end the probe.
int ignore_x_error(Display*, XErrorEvent*) { return 0; }

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

long resident_bytes(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6) * 1024;
  }
  return 0;
}

unsigned long root_pixel(Display* display, int x, int y) {
  XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return 0;
  unsigned long pixel = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  return pixel;
}

std::optional<pid_t> window_pid(Display* display, Window window) {
  Atom pid_atom = XInternAtom(display, "_NET_WM_PID", False);
  Atom type{};
  int format{};
  unsigned long items{};
  unsigned long after{};
  unsigned char* data = nullptr;
  std::optional<pid_t> pid;
  if (XGetWindowProperty(display, window, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format,
                         &items, &after, &data) == Success &&
      data && items == 1 && format == 32) {
    pid = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
  }
  if (data) XFree(data);
  return pid;
}

// Waits for `pid` to map a top-level window; 0 when it exits or takes too long.
Window wait_for_map(Display* display, pid_t pid) {
  const auto deadline = Clock::now() + 30s;
  while (Clock::now() < deadline) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type != MapNotify || event.xmap.override_redirect) continue;
      std::optional<pid_t> owner = window_pid(display, event.xmap.window);
      if (!owner || *owner == pid) return event.xmap.window;
    }
    if (waitpid(pid, nullptr, WNOHANG) == pid) return 0;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, 5);
  }
  return 0;
}

// Waits until the pixel of `window` at four pixels from its bottom-left corner differs from the
// root's colour; false after ten seconds.
bool wait_for_paint(Display* display, Window window, unsigned long background) {
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, window, &attributes)) return false;
  int x = 0;
  int y = 0;
  Window child{};
  XTranslateCoordinates(display, window, DefaultRootWindow(display), 4, attributes.height - 4, &x,
                        &y, &child);
  const auto deadline = Clock::now() + 10s;
  while (Clock::now() < deadline) {
    if (root_pixel(display, x, y) != background) return true;
    std::this_thread::sleep_for(500us);
  }
  return false;
}

void close_window(Display* display, Window window, pid_t pid) {
  XEvent message{};
  message.xclient.type = ClientMessage;
  message.xclient.window = window;
  message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  message.xclient.format = 32;
  message.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  message.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &message);
  XFlush(display);
  const auto deadline = Clock::now() + 5s;
  while (Clock::now() < deadline) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    std::this_thread::sleep_for(5ms);
  }
  std::fprintf(stderr, "  did not close within 5 s; killed\n");
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

std::optional<Start> start_once(Display* display, const Program& program) {
  while (XPending(display)) {
    XEvent stale;
    XNextEvent(display, &stale);
  }
  const unsigned long background = root_pixel(display, 0, 0);
  const Clock::time_point started = Clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    execl(program.path.c_str(), program.path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  Window window = wait_for_map(display, pid);
  if (!window) {
    std::fprintf(stderr, "  %s: no window\n", program.label.c_str());
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return std::nullopt;
  }
  const double mapped = seconds_since(started);
  if (!wait_for_paint(display, window, background)) {
    std::fprintf(stderr, "  %s: window never painted\n", program.label.c_str());
  }
  Start start{mapped, seconds_since(started), 0};
  std::this_thread::sleep_for(250ms);
  start.resident_bytes = resident_bytes(pid);
  close_window(display, window, pid);
  return start;
}

template <typename Value>
Value median(std::vector<Value> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || argc % 2 != 0) {
    std::fprintf(stderr, "usage: %s RUNS LABEL PROGRAM [LABEL PROGRAM ...]\n", argv[0]);
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  std::vector<Program> programs;
  for (int i = 2; i + 1 < argc; i += 2) programs.push_back({argv[i], argv[i + 1], {}});

  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "start_probe: cannot open the X display\n");
    return 2;
  }
  XSetErrorHandler(ignore_x_error);
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);

  for (const Program& program : programs) start_once(display, program);  // warm-up
  for (int run = 0; run < runs; ++run) {
    for (Program& program : programs) {
      if (std::optional<Start> start = start_once(display, program)) {
        std::fprintf(stderr, "  %s: mapped %.1f ms, painted %.1f ms, %.1f MiB\n",
                     program.label.c_str(), start->mapped_seconds * 1e3, start->seconds * 1e3,
                     start->resident_bytes / 1048576.0);
        program.starts.push_back(*start);
      }
    }
  }
  XCloseDisplay(display);

  for (const Program& program : programs) {
    if (program.starts.empty()) return 1;
    std::vector<double> seconds;
    std::vector<long> bytes;
    for (const Start& start : program.starts) {
      seconds.push_back(start.seconds);
      bytes.push_back(start.resident_bytes);
    }
    std::printf("%s\t%.6f\t%ld\n", program.label.c_str(), median(seconds), median(bytes));
  }
  return 0;
}
