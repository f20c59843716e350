// data.txt of any content: the reader either fills the pattern, with count + 2 elements in each array,
// or ends the run through FatalError; it never reads or writes out of bounds and never loops.
#include <cstdint>

#include "datafiles/pattern_files.h"
#include "fuzz_support.h"
#include "numeric/fatal_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = fuzz_support::ScratchPath("data.txt");
  fuzz_support::WriteFile(path, data, size);
  tarnix::Pattern pattern;
  try {
    tarnix::ReadSourceData(pattern, path.c_str());
  } catch (const tarnix::FatalErrorException&) {
    return 0;
  }
  const std::size_t n = std::size_t{pattern.count} + 2;
  if (pattern.angle.size() != n || pattern.intensity.size() != n || pattern.sigma.size() != n)
    __builtin_trap();
  for (std::uint32_t i = 0; i < pattern.count; ++i) {
    if (pattern.angle[i] == 0.0) __builtin_trap();  // a line whose angle is 0 is never a point
  }
  return 0;
}
