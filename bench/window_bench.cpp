// The quiz window's costs beside their floors, on the real Qt window (offscreen unless
// QT_QPA_PLATFORM says otherwise) with the message boxes faked, so that no box waits for a user.
//
//   4. A click that loads a 50 MB question file through the window, against the core alone
//      turning that file into text; and the peak memory the click takes over an empty window,
//      against the file's size.
//   6. 10,000 answers through check_answer on the window, whose history is a QListWidget, against
//      10,000 bare QListWidget::addItem calls on a list of the same size.
//
//   window_bench [BENCHMARK FLAGS] [DATA FOLDER]
//
// As core_bench: the table goes to standard output, the detailed runs to standard error.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "quiz_window/check_answer.h"
#include "quiz_window/qt/qt_window_host.h"
#include "quiz_window/qt/quiz_window.h"
#include "support/random_source.h"
#include "tests/fakes.h"

namespace quiz::bench {
namespace {

using quiz_qt::QuizWindow;
using testing::FakeClock;
using testing::FakeMessageBoxes;

constexpr int kAnswers = 10'000;
constexpr std::size_t kLargeFileSize = 50 * kMebibyte;

// ---- Figure 4: a large file through the window ----------------------------------------------

void click_with_large_file(benchmark::State& state, QuizWindow& window,
                           const QuestionFolder& files) {
  FakeMessageBoxes boxes;
  FakeClock clock;
  RandomSource random{clock};
  for (auto _ : state) {
    load_question(window, boxes, random, files);
    QApplication::processEvents();  // the repaint that the click causes
  }
}

void file_to_text(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    QuestionText text = question_text_from_file(path);
    benchmark::DoNotOptimize(text.text.data());
  }
}

long status_bytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) return std::atol(line.c_str() + field.size() + 1) * 1024;
  }
  return 0;
}

// The most resident memory the first click takes in a new window: the peak resident size is
// reset just before the click (clear_refs) and read just after it. A new window each time, since
// a window may keep memory from an earlier click for the next.
long first_click_peak_bytes(const QuestionFolder& files) {
  FakeMessageBoxes boxes;
  FakeClock clock;
  RandomSource random{clock};
  QuizWindow window;
  window.open();
  QApplication::processEvents();
  std::ofstream("/proc/self/clear_refs") << "5";
  const long before = status_bytes("VmRSS");
  load_question(window, boxes, random, files);
  QApplication::processEvents();
  return status_bytes("VmHWM") - before;
}

// ---- Figure 6: the history --------------------------------------------------------------------

void answers_on_window(benchmark::State& state, QuizWindow& window) {
  window.set_caption(Control::按钮5, "题目：1+1=?"_gb);
  const Text options[] = {Text("1"), Text("2"), Text("3"), Text("4")};
  for (int i = 0; i < 4; ++i) window.set_caption(kOptionButtons[i], options[i]);
  window.set_caption(Control::标签1, options[1]);
  auto* history = static_cast<QListWidget*>(window.widget(Control::列表框1));
  FakeMessageBoxes boxes;
  for (auto _ : state) {
    state.PauseTiming();
    history->clear();
    boxes.shown.clear();
    QApplication::processEvents();
    state.ResumeTiming();
    for (int i = 0; i < kAnswers; ++i) check_answer(window, boxes, Control::按钮2);
    QApplication::processEvents();  // the list lays out and paints its new rows
  }
  history->clear();
}

void bare_list_appends(benchmark::State& state) {
  QWidget holder;
  holder.resize(QuizWindow::kOuterSize);
  QListWidget list(&holder);
  list.setGeometry(371, 1, 397, 367);
  // As the history list: rows of one height need not be measured one by one.
  list.setUniformItemSizes(true);
  holder.show();
  const QString line = QString::fromUtf8("题目：1+1=?回答：2 √");
  for (auto _ : state) {
    state.PauseTiming();
    list.clear();
    QApplication::processEvents();
    state.ResumeTiming();
    for (int i = 0; i < kAnswers; ++i) list.addItem(line);
    QApplication::processEvents();
  }
}

}  // namespace
}  // namespace quiz::bench

int main(int argc, char** argv) {
  using namespace quiz::bench;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  BenchmarkRun run(argc, argv);
  int qt_argc = 1;
  char qt_name[] = "window_bench";
  char* qt_argv[] = {qt_name, nullptr};
  QApplication application(qt_argc, qt_argv);
  quiz_qt::prepare_application(application);
  QuizWindow window;
  window.open();
  QApplication::processEvents();

  std::cerr << "Preparing the 50 MB question file...\n";
  const QuestionFolder large(run.data(), "large-50MB", question_file_bytes(kLargeFileSize));
  const std::string path = large.first_file();
  benchmark::RegisterBenchmark("4/click/window", click_with_large_file, std::ref(window),
                               std::cref(large))
      ->UseRealTime();
  benchmark::RegisterBenchmark("4/file_to_text/core", file_to_text, path)->UseRealTime();
  benchmark::RegisterBenchmark("6/check_answer/window", answers_on_window, std::ref(window))
      ->UseRealTime();
  benchmark::RegisterBenchmark("6/addItem/bare", bare_list_appends)->UseRealTime();

  std::cerr << "Running...\n";
  const std::map<std::string, double> medians = run.run();
  print_table(
      {{"4. click with a 50 MB file, window vs core", "4/click/window", "4/file_to_text/core", 2.0},
       {"6. 10,000 answers, real list widget", "6/check_answer/window", "6/addItem/bare", 1.5}},
      medians);

  std::vector<long> peaks;
  for (int i = 0; i < 5; ++i) peaks.push_back(first_click_peak_bytes(large));
  std::sort(peaks.begin(), peaks.end());
  const auto file_size = static_cast<double>(std::filesystem::file_size(path));
  print_row("4. peak memory of the click, 50 MB file", format_mebibytes(peaks[peaks.size() / 2]),
            format_mebibytes(file_size) + " (file)", peaks[peaks.size() / 2] / file_size, 3.0);
  return 0;
}
