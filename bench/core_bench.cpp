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
// Google Benchmark's own flags are passed through and override the defaults below (nine
// repetitions, interleaved). The table goes to standard output, the detailed runs to standard
// error. The question folders are made in DATA FOLDER and kept there for the next run; without
// one, in a temporary folder that is removed at the end.

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/table_row.h"
#include "question_bank/file_services.h"
#include "question_bank/load_question.h"
#include "question_bank/question_file.h"
#include "question_bank/text_split.h"
#include "quiz_window/check_answer.h"
#include "support/random_source.h"
#include "tests/fakes.h"
#include "tests/temp_folder.h"

namespace quiz::bench {
namespace {

using testing::FakeClock;
using testing::FakeControls;
using testing::FakeMessageBoxes;
using testing::TempFolder;

constexpr std::size_t kMebibyte = 1024 * 1024;

// ---- Test data ------------------------------------------------------------------------------

// A question of six short lines, then filler lines until the text holds at least `size` bytes.
// Chinese and ASCII are mixed as in real question files, so the conversion does its usual work.
std::string question_file_bytes(std::size_t size) {
  std::string bytes = "下列哪一项是正确的？\r\n甲\r\n乙\r\n丙\r\n丁\r\n乙\r\n";
  const std::string filler = "补充说明：这一行在第六行之后，不会显示出来。Notes 0123456789\r\n";
  bytes.reserve(size + filler.size());
  while (bytes.size() < size) bytes += filler;
  return bytes;
}

void write_file(const std::string& path, std::string_view bytes) {
  int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (file < 0 || write(file, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    std::cerr << "cannot write " << path << '\n';
    std::exit(1);
  }
  close(file);
}

// A run directory whose question folder holds `count` small question files. The folders are kept
// under `data` between runs: making and removing 100,000 files takes longer than measuring them.
class QuestionFolder final : public FileServices {
 public:
  QuestionFolder(const std::filesystem::path& data, int count)
      : root_((data / std::to_string(count)).string()) {
    const std::string questions = question_folder(root_);
    const std::string ready_mark = root_ + "/ready";
    for (int i = 0; i < count; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "/第%06d题.txt", i);
      if (i == 0) first_file_ = questions + name;
    }
    if (access(ready_mark.c_str(), F_OK) == 0) return;
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(questions);
    const std::string bytes = question_file_bytes(0);
    for (int i = 0; i < count; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "/第%06d题.txt", i);
      write_file(questions + name, bytes);
    }
    write_file(ready_mark, "");
  }

  std::string run_directory() const override { return root_; }
  TextArray question_files(const std::string& folder) const override {
    return list_question_files(folder);
  }
  Bytes read_file(const std::string& path) const override { return read_whole_file(path); }
  QuestionText read_question_text(const std::string& path) const override {
    return question_text_from_file(path);
  }
  void change_directory(const std::string&) const override {}

  std::string folder() const { return question_folder(root_); }
  const std::string& first_file() const { return first_file_; }

 private:
  std::string root_;
  std::string first_file_;
};

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
  for (auto _ : state) {
    DIR* listing = opendir(folder.c_str());
    while (const dirent* entry = readdir(listing)) benchmark::DoNotOptimize(entry->d_name[0]);
    closedir(listing);
    int file = open(files.first_file().c_str(), O_RDONLY | O_CLOEXEC);
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

// ---- The table ------------------------------------------------------------------------------

double seconds_per_unit(benchmark::TimeUnit unit) {
  switch (unit) {
    case benchmark::kNanosecond:
      return 1e-9;
    case benchmark::kMicrosecond:
      return 1e-6;
    case benchmark::kMillisecond:
      return 1e-3;
    case benchmark::kSecond:
      return 1;
  }
  return 1;
}

// Shows the runs as the console reporter does and keeps the median of each benchmark.
class MedianCollector final : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        medians[run.run_name.function_name] =
            run.GetAdjustedRealTime() * seconds_per_unit(run.time_unit);
      }
    }
  }
  std::map<std::string, double> medians;
};

struct Pair {
  std::string figure;
  std::string measured;
  std::string floor;
  double goal;
};

void print_table(const std::vector<Pair>& pairs, const std::map<std::string, double>& medians) {
  for (const Pair& pair : pairs) {
    auto measured = medians.find(pair.measured);
    auto floor = medians.find(pair.floor);
    if (measured == medians.end() || floor == medians.end()) continue;
    print_row(pair.figure, format_seconds(measured->second), format_seconds(floor->second),
              measured->second / floor->second, pair.goal);
  }
}

}  // namespace
}  // namespace quiz::bench

int main(int argc, char** argv) {
  using namespace quiz::bench;
  // The defaults come first, so that flags given on the command line override them.
  std::string repetitions = "--benchmark_repetitions=9";
  std::string interleaving = "--benchmark_enable_random_interleaving=true";
  std::string aggregates = "--benchmark_report_aggregates_only=true";
  std::vector<char*> arguments{argv[0], repetitions.data(), interleaving.data(), aggregates.data()};
  arguments.insert(arguments.end(), argv + 1, argv + argc);
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  // What is left after the benchmark flags: the folder that keeps the test data between runs.
  std::optional<TempFolder> temporary_data;
  std::filesystem::path data;
  if (count > 1) {
    data = arguments[1];
  } else {
    temporary_data.emplace();
    data = temporary_data->path();
  }
  std::filesystem::create_directories(data);

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
    const std::string path = (data / (std::to_string(mebibytes) + "MB.txt")).string();
    write_file(path, contents.back());
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
  MedianCollector collector;
  collector.SetOutputStream(&std::cerr);
  collector.SetErrorStream(&std::cerr);
  benchmark::RunSpecifiedBenchmarks(&collector);
  print_table(pairs, collector.medians);
  benchmark::Shutdown();
  return 0;
}
