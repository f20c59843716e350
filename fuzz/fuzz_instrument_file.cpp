// instr.txt of any content: reading never fails and every line is read by the line rule.
#include <cstdint>

#include "datafiles/instrument_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = fuzz_support::ScratchPath("instr.txt");
  fuzz_support::WriteFile(path, data, size);
  tarnix::InstrumentParameters params;
  tarnix::ReadInstrumentFile(params, path.c_str());
  return 0;
}
