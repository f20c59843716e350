// Helpers shared by the fuzzing harnesses: the input as a file of the working directory's kind.
#ifndef TARNIX_FUZZ_FUZZ_SUPPORT_H_
#define TARNIX_FUZZ_FUZZ_SUPPORT_H_

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace fuzz_support {

// A path of this process's own in the temporary directory.
inline std::string ScratchPath(const char* name) {
  return "/tmp/tarnix-fuzz-" + std::to_string(getpid()) + "-" + name;
}

inline void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) __builtin_trap();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) __builtin_trap();
  std::fclose(file);
}

}  // namespace fuzz_support

#endif  // TARNIX_FUZZ_FUZZ_SUPPORT_H_
