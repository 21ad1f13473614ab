// The core's costs beside their floors, on the test fakes and real files in a temporary folder.
// Every figure is a pair of benchmarks run in the same process, their repetitions interleaved at
// random so that a busy machine slows both alike; the table compares the medians.
//
//   1. A click on the start button with 10 to 100,000 files in the question folder, against a
//      bare opendir/readdir listing of the same folder plus reading one file.
//   2. A question file of 1 MB and 50 MB turned into text (read, convert, cut at a zero byte),
//      against one bare iconv pass over the same bytes already in memory.
//   3. The six pick_line calls of a click on a 50 MB load buffer whose first six lines are short,
//      against the same calls on a 1 KB buffer.
//   6. 10,000 answers through check_answer, against 10,000 bare history appends on the same fake
//      window.
//
//   core_bench [BENCHMARK FLAGS] [DATA FOLDER]
//
// Google Benchmark's own flags override the defaults of BenchmarkRun (nine repetitions,
// interleaved). The table goes to standard output, the detailed runs to standard error. The test
// data is made in DATA FOLDER and kept there for the next run; without one, in a temporary folder
// that is removed at the end.

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "question_bank/text_split.h"
#include "quiz_window/check_answer.h"
#include "support/random_source.h"
#include "tests/fakes.h"

namespace quiz::bench {
namespace {

using testing::FakeClock;
using testing::FakeControls;
using testing::FakeMessageBoxes;

// ---- Figure 1: a click with a large question folder -----------------------------------------

void click_start(benchmark::State& state, const QuestionFolder& files) {
  FakeControls controls;
  FakeMessageBoxes boxes;
  FakeClock clock;
  RandomSource random{clock};
  for (auto _ : state) {
    controls.log.clear();
    load_question(controls, boxes, random, files);
    benchmark::DoNotOptimize(controls.captions);
  }
}

void list_and_read_one_file(benchmark::State& state, const QuestionFolder& files) {
  const std::string folder = files.folder();
  const std::string first_file = files.first_file();
  for (auto _ : state) {
    DIR* listing = opendir(folder.c_str());
    while (const dirent* entry = readdir(listing)) benchmark::DoNotOptimize(entry->d_name[0]);
    closedir(listing);
    int file = open(first_file.c_str(), O_RDONLY | O_CLOEXEC);
    char buffer[4096];
    benchmark::DoNotOptimize(read(file, buffer, sizeof buffer));
    close(file);
    benchmark::ClobberMemory();
  }
}

// ---- Figure 2: a large file into text -------------------------------------------------------

void file_to_text(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    QuestionText text = question_text_from_file(path);
    benchmark::DoNotOptimize(text.text.data());
  }
}

void bare_iconv(benchmark::State& state, const std::string& bytes) {
  std::vector<char> output(2 * bytes.size());
  std::memset(output.data(), 1, output.size());
  for (auto _ : state) {
    iconv_t converter = iconv_open("GB18030", "UTF-8");
    char* in = const_cast<char*>(bytes.data());
    std::size_t in_left = bytes.size();
    char* out = output.data();
    std::size_t out_left = output.size();
    benchmark::DoNotOptimize(iconv(converter, &in, &in_left, &out, &out_left));
    iconv_close(converter);
    benchmark::ClobberMemory();
  }
}

// ---- Figure 3: picking the six fields -------------------------------------------------------

void six_pick_lines(benchmark::State& state, const Text& buffer) {
  for (auto _ : state) {
    for (std::int32_t index : {1, 6, 2, 3, 4, 5})
      benchmark::DoNotOptimize(pick_line(buffer, index));
  }
}

// ---- Figure 6: the history -------------------------------------------------------------------

constexpr int kAnswers = 10'000;

void question_on(FakeControls& controls) {
  controls.set_caption(Control::按钮5, "题目：1+1=?"_gb);
  const Text options[] = {Text("1"), Text("2"), Text("3"), Text("4")};
  for (int i = 0; i < 4; ++i) controls.set_caption(kOptionButtons[i], options[i]);
  controls.set_caption(Control::标签1, options[1]);
}

void answers_through_check_answer(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto controls = std::make_unique<FakeControls>();
    auto boxes = std::make_unique<FakeMessageBoxes>();
    question_on(*controls);
    state.ResumeTiming();
    for (int i = 0; i < kAnswers; ++i) check_answer(*controls, *boxes, Control::按钮2);
    benchmark::DoNotOptimize(controls->items);
    state.PauseTiming();
    controls.reset();
    boxes.reset();
    state.ResumeTiming();
  }
}

void bare_history_appends(benchmark::State& state) {
  const Text line = "题目：1+1=?回答：2 √"_gb;
  for (auto _ : state) {
    state.PauseTiming();
    auto controls = std::make_unique<FakeControls>();
    state.ResumeTiming();
    for (int i = 0; i < kAnswers; ++i) controls->add_item(Control::列表框1, line);
    benchmark::DoNotOptimize(controls->items);
    state.PauseTiming();
    controls.reset();
    state.ResumeTiming();
  }
}

}  // namespace
}  // namespace quiz::bench

int main(int argc, char** argv) {
  using namespace quiz::bench;
  BenchmarkRun run(argc, argv);
  const std::filesystem::path& data = run.data();

  std::cerr << "Preparing the question folders and files...\n";
  std::vector<Pair> pairs;
  std::vector<std::unique_ptr<QuestionFolder>> folders;
  for (int files : {10, 1'000, 32'768, 100'000}) {
    folders.push_back(std::make_unique<QuestionFolder>(data, files));
    const QuestionFolder& folder = *folders.back();
    const std::string label = std::to_string(files);
    const std::string measured = "1/load_question/" + label;
    const std::string floor = "1/readdir+read/" + label;
    benchmark::RegisterBenchmark(measured.c_str(), click_start, std::cref(folder))->UseRealTime();
    benchmark::RegisterBenchmark(floor.c_str(), list_and_read_one_file, std::cref(folder))
        ->UseRealTime();
    pairs.push_back({"1. click, " + label + " files", measured, floor, files == 100'000 ? 1.3 : 0});
  }

  std::vector<std::string> contents;
  contents.reserve(2);
  for (std::size_t mebibytes : {std::size_t{1}, std::size_t{50}}) {
    contents.push_back(question_file_bytes(mebibytes * kMebibyte));
    const std::string label = std::to_string(mebibytes) + " MB";
    folders.push_back(std::make_unique<QuestionFolder>(
        data, "large-" + std::to_string(mebibytes) + "MB", contents.back()));
    const std::string path = folders.back()->first_file();
    const std::string measured = "2/file_to_text/" + label;
    const std::string floor = "2/iconv/" + label;
    benchmark::RegisterBenchmark(measured.c_str(), file_to_text, path)->UseRealTime();
    benchmark::RegisterBenchmark(floor.c_str(), bare_iconv, std::cref(contents.back()))
        ->UseRealTime();
    pairs.push_back({"2. file → text, " + label, measured, floor, 1.2});
  }

  const quiz::Text large_buffer =
      quiz::question_text_from_bytes(question_file_bytes(50 * kMebibyte)).text + "\r\n";
  const quiz::Text small_buffer =
      quiz::question_text_from_bytes(question_file_bytes(1024)).text + "\r\n";
  benchmark::RegisterBenchmark("3/pick_line/50 MB", six_pick_lines, std::cref(large_buffer))
      ->UseRealTime();
  benchmark::RegisterBenchmark("3/pick_line/1 KB", six_pick_lines, std::cref(small_buffer))
      ->UseRealTime();
  pairs.push_back(
      {"3. six pick_line, 50 MB vs 1 KB buffer", "3/pick_line/50 MB", "3/pick_line/1 KB", 1.5});

  benchmark::RegisterBenchmark("6/check_answer/fake", answers_through_check_answer)->UseRealTime();
  benchmark::RegisterBenchmark("6/add_item/fake", bare_history_appends)->UseRealTime();
  pairs.push_back({"6. 10,000 answers, fake window", "6/check_answer/fake", "6/add_item/fake", 0});

  std::cerr << "Running...\n";
  print_table(pairs, run.run());
  return 0;
}
