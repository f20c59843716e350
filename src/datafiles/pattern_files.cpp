#include "datafiles/pattern_files.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "datafiles/text_line.h"
#include "numeric/arrays.h"
#include "numeric/fatal_error.h"

namespace tarnix {
namespace {

// The arrays hold count + 2 doubles, and count is a 32-bit number.
constexpr std::uint32_t kMaxPoints = UINT32_MAX - 2;

struct DataLine {
  double angle;
  double intensity;
  double sigma;
  int values;  // how many numbers the line converted (2 or 3 for a data point)
};

// Applies the line rule to the next line of `file`. Returns true for a data point.
bool ReadDataLine(std::FILE* file, DataLine* point) {
  TextLine line;
  ReadTextLine(file, &line);
  if (line.advance <= 2) return false;
  point->values = std::sscanf(line.text, "%le%le%le", &point->angle, &point->intensity, &point->sigma);
  return (point->values == 2 || point->values == 3) && point->angle != 0.0;
}

// A pass over the file: calls visit(point) for every data point, until the end of the file. The test
// for the end follows each line, so a last line without a line end is handled like the others. A read
// error ends the run rather than looping or passing for the end of the file.
template <typename Visit>
void ForEachDataPoint(std::FILE* file, Visit visit) {
  DataLine point;
  for (;;) {
    if (ReadDataLine(file, &point) && !visit(point)) break;
    if (std::feof(file) || std::ferror(file)) break;
  }
  if (std::ferror(file)) {
    std::fclose(file);
    FatalError("Could not read the source data file data.txt");
  }
}

}  // namespace

void ReadSourceData(Pattern& pattern, const char* path) {
  std::FILE* file = std::fopen(path, "r");
  if (file == nullptr) FatalError("Could not open the source data file ?");
  std::uint32_t count = 0;
  ForEachDataPoint(file, [&](const DataLine&) {
    if (count == kMaxPoints) {
      std::fclose(file);
      FatalErrorFormat("The source data file holds more than %u data points.",
                       static_cast<unsigned>(kMaxPoints));
    }
    ++count;
    return true;
  });
  std::fclose(file);

  const char* kNoMemory = "Could not allocate memory for the source data";
  AllocateArray(pattern.angle, std::size_t{count} + 2, kNoMemory);
  AllocateArray(pattern.intensity, std::size_t{count} + 2, kNoMemory);
  AllocateArray(pattern.sigma, std::size_t{count} + 2, kNoMemory);

  // The file was just read; failing to open it again means it vanished or lost its permissions.
  file = std::fopen(path, "r");
  if (file == nullptr) FatalError("Could not open the source data file ?");
  std::uint32_t stored = 0;
  ForEachDataPoint(file, [&](const DataLine& point) {
    if (stored == count) return false;  // the file grew between the passes: keep what was counted
    pattern.angle[stored] = point.angle;
    pattern.intensity[stored] = point.intensity;
    pattern.sigma[stored] = point.values == 3 ? point.sigma : std::sqrt(std::fabs(point.intensity));
    ++stored;
    return true;
  });
  std::fclose(file);
  pattern.count = stored;
}

void WriteDestinationData(const Pattern& pattern, const char* path) {
  const std::string temporary = std::string(path) + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "w");
  if (file == nullptr) FatalError("Could not open the destination data file");
  bool written = true;
  for (std::uint32_t i = 0; i < pattern.count && written; ++i) {
    written = std::fprintf(file, "%10.4f %10.4f %10.4f\n", pattern.angle[i], pattern.intensity[i],
                           pattern.sigma[i]) > 0;
  }
  written = written && std::fflush(file) == 0 && !std::ferror(file);
  written = (std::fclose(file) == 0) && written;
  if (!written) {
    std::remove(temporary.c_str());
    FatalError(
        "Could not write the destination data file completely (is the disk full?); tarnix.txt was not "
        "changed");
  }
  if (std::rename(temporary.c_str(), path) != 0) {
    std::remove(temporary.c_str());
    FatalError("Could not replace the destination data file tarnix.txt; it was not changed");
  }
}

void FreePattern(Pattern& pattern) {
  ReleaseArray(pattern.sigma);
  ReleaseArray(pattern.intensity);
  ReleaseArray(pattern.angle);
  pattern.count = 0;
}

}  // namespace tarnix
