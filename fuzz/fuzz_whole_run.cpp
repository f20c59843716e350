// A whole run on small inputs: the bytes up to the first "#\n" are instr.txt, the rest data.txt. The run
// either writes a result whose every value is finite, or ends through FatalError; it never crashes.
// Grids are limited to 2^16 points to keep every run short.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "datafiles/instrument_file.h"
#include "datafiles/pattern_files.h"
#include "deconvolution/run_context.h"
#include "fuzz_support.h"
#include "numeric/fatal_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  static const std::string instr = fuzz_support::ScratchPath("instr.txt");
  static const std::string pattern = fuzz_support::ScratchPath("data.txt");
  static const std::string result = fuzz_support::ScratchPath("tarnix.txt");
  static std::FILE* console = std::fopen("/dev/null", "w");
  std::size_t split = 0;
  while (split + 1 < size && !(data[split] == '#' && data[split + 1] == '\n')) ++split;
  const std::size_t data_start = split + 1 < size ? split + 2 : size;
  fuzz_support::WriteFile(instr, data, split + 1 < size ? split : size);
  fuzz_support::WriteFile(pattern, data + data_start, size - data_start);

  tarnix::RunContext run;
  run.console = console;
  run.max_grid_length = 1u << 16;
  try {
    tarnix::ReadInstrumentFile(run.instrument, instr.c_str());
    tarnix::ReadSourceData(run.pattern, pattern.c_str());
    run.RunStages();
    tarnix::WriteDestinationData(run.pattern, result.c_str());
  } catch (const tarnix::FatalErrorException&) {
    return 0;
  }
  // A stage that ran guarantees finite results; a pattern that no stage touched is written as read.
  if (run.grid.grid_length != 0) {
    for (std::uint32_t i = 0; i < run.pattern.count; ++i) {
      if (!std::isfinite(run.pattern.intensity[i]) || !std::isfinite(run.pattern.sigma[i])) __builtin_trap();
    }
  }
  if (!run.y0i.empty() || !run.s0.empty() || !run.ft_Instrum.empty() || !run.grid.xt.empty())
    __builtin_trap();
  return 0;
}
