#pragma once
// What the benchmark programs share: question files made to measure, a run directory that serves
// them through the program's own file services, and the table of medians that they print.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bench/table_row.h"
#include "question_bank/file_services.h"
#include "question_bank/load_question.h"
#include "question_bank/question_file.h"
#include "tests/temp_folder.h"

namespace quiz::bench {

constexpr std::size_t kMebibyte = 1024 * 1024;

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

// A run directory that serves its question folder through the program's own file services, as
// PosixFileServices does; only the run directory differs. The folders are kept in the data folder
// between runs: making and removing 100,000 files takes longer than measuring them.
class QuestionFolder final : public FileServices {
 public:
  // `count` small question files.
  QuestionFolder(const std::filesystem::path& data, int count)
      : root_((data / std::to_string(count)).string()) {
    for (int i = 0; i < count; ++i) names_.push_back(small_file_name(i));
    make(question_file_bytes(0));
  }
  // One question file of `bytes`.
  QuestionFolder(const std::filesystem::path& data, const std::string& name,
                 const std::string& bytes)
      : root_((data / name).string()), names_{"/" + name + ".txt"} {
    make(bytes);
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
  std::string first_file() const { return folder() + names_.front(); }

 private:
  static std::string small_file_name(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "/第%06d题.txt", number);
    return name;
  }

  void make(const std::string& bytes) {
    const std::string ready_mark = root_ + "/ready";
    if (access(ready_mark.c_str(), F_OK) == 0) return;
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(folder());
    for (const std::string& name : names_) write_file(folder() + name, bytes);
    write_file(ready_mark, "");
  }

  std::string root_;
  std::vector<std::string> names_;
};

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

// Google Benchmark's flags from the command line override these defaults: nine repetitions,
// interleaved at random so that a busy machine slows a figure and its floor alike, and only
// their statistics shown. What is left of the command line after the flags is the data folder,
// where test data is kept between runs; without one, a temporary folder is used and removed.
class BenchmarkRun final {
 public:
  BenchmarkRun(int argc, char** argv) {
    std::vector<char*> arguments{argv[0], repetitions_.data(), interleaving_.data(),
                                 aggregates_.data()};
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (count > 1) {
      data_ = arguments[1];
    } else {
      temporary_data_.emplace();
      data_ = temporary_data_->path();
    }
    std::filesystem::create_directories(data_);
  }

  const std::filesystem::path& data() const { return data_; }

  // Runs every registered benchmark and returns the median wall time of each, in seconds.
  std::map<std::string, double> run() {
    MedianCollector collector;
    collector.SetOutputStream(&std::cerr);
    collector.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();
    return collector.medians;
  }

 private:
  std::string repetitions_{"--benchmark_repetitions=9"};
  std::string interleaving_{"--benchmark_enable_random_interleaving=true"};
  std::string aggregates_{"--benchmark_report_aggregates_only=true"};
  std::optional<testing::TempFolder> temporary_data_{};
  std::filesystem::path data_{};
};

}  // namespace quiz::bench
