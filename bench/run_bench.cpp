// Whole runs of the real tarnix executable on synthetic patterns of 5e3 to 2e6 points from 20 to 120
// degrees: process start to exit, including reading and writing the files. Reported with each: the
// child's peak resident memory and that memory per point of the longest stage grid.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <string>

#include "benchmark/benchmark.h"

namespace {
namespace fs = std::filesystem;

// instr.txt for each set of stages (lines 1 to 11; an empty line keeps the default).
const char* Instrument(int set) {
  switch (set) {
    case 0:  // sample transparency and slits only (stages 3 and 5)
      return "0\n0\n\n\n0\n0\n185\n0.04\n0.2\n20\n0.37\n";
    case 1:  // the default stages 1, 2 and 4, with Cu lines
      return "1.42e-4\n0.341\n0.00248\n2.4e-5\n\n\n\n\n\n\n\n";
    default:  // all five
      return "1.42e-4\n0.341\n0.00248\n2.4e-5\n\n\n185\n0.04\n0.2\n20\n0.37\n";
  }
}

const char* kSetNames[] = {"stages_3_5", "default_1_2_4", "all_five"};

// A directory with instr.txt and a data.txt of n points: peaks on a background with counting noise.
std::string Prepare(int set, long n) {
  const fs::path dir =
      fs::temp_directory_path() / ("tarnix-bench-" + std::to_string(set) + "-" + std::to_string(n));
  fs::create_directories(dir);
  std::ofstream(dir / "instr.txt") << Instrument(set);
  if (!fs::exists(dir / "data.txt")) {
    std::ofstream data(dir / "data.txt");
    std::mt19937_64 engine(7);
    std::normal_distribution<double> gaussian;
    char line[64];
    for (long i = 0; i < n; ++i) {
      const double angle = 20 + 100.0 * static_cast<double>(i) / static_cast<double>(n - 1);
      double counts = 300;
      for (double p = 25; p < 120; p += 9.7) counts += 20000 * std::exp(-std::pow((angle - p) / 0.06, 2));
      std::snprintf(line, sizeof line, "%.6f %.1f\n", angle, counts + std::sqrt(counts) * gaussian(engine));
      data << line;
    }
  }
  return dir.string();
}

// Runs tarnix in `dir` with "1" on its standard input; returns the child's peak resident memory in KiB.
long RunOnce(const std::string& dir, std::string* transcript) {
  const std::string err = dir + "/stderr.txt";
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(127);
    int in[2];
    if (pipe(in) != 0) _exit(127);
    if (write(in[1], "1\n", 2) != 2) _exit(127);
    close(in[1]);
    dup2(in[0], 0);
    const int out = open("/dev/null", O_WRONLY);
    dup2(out, 1);
    const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(e, 2);
    execl(TARNIX_EXECUTABLE, "tarnix", static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  std::ifstream file(err);
  std::stringstream text;
  text << file.rdbuf();
  *transcript = text.str();
  return usage.ru_maxrss;
}

void BM_WholeRun(benchmark::State& state) {
  const int set = static_cast<int>(state.range(0));
  const long n = static_cast<long>(state.range(1));
  const std::string dir = Prepare(set, n);
  long peak_kib = 0;
  std::string transcript;
  for (auto _ : state) {
    peak_kib = RunOnce(dir, &transcript);
    if (peak_kib < 0) {
      state.SkipWithError("tarnix failed");
      return;
    }
  }
  double longest_grid = 0;
  const std::regex step(R"(Step \d: (\d+) points)");
  for (std::sregex_iterator it(transcript.begin(), transcript.end(), step), end; it != end; ++it) {
    longest_grid = std::max(longest_grid, std::stod((*it)[1]));
  }
  state.SetLabel(kSetNames[set]);
  state.counters["points"] = static_cast<double>(n);
  state.counters["longest_grid"] = longest_grid;
  state.counters["peak_MiB"] = static_cast<double>(peak_kib) / 1024;
  state.counters["doubles_per_grid_point"] = static_cast<double>(peak_kib) * 1024 / 8 / longest_grid;
}

BENCHMARK(BM_WholeRun)
    ->ArgsProduct({{0, 1, 2}, {5000, 50000, 500000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_WholeRun)
    ->ArgsProduct({{1, 2}, {2000000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace
