// Heap arrays of doubles. Every array of the program is a std::vector<double> obtained through
// AllocateArray, so that an allocation failure ends the run through FatalError with the caller's
// message instead of escaping as std::bad_alloc.
#ifndef TARNIX_NUMERIC_ARRAYS_H_
#define TARNIX_NUMERIC_ARRAYS_H_

#include <cstddef>
#include <vector>

namespace tarnix {

// Makes `array` hold `length` doubles (their values are unspecified: the caller fills them).
// On failure: FatalError(message).
void AllocateArray(std::vector<double>& array, std::size_t length, const char* message);

// Empties `array` and returns its memory.
inline void ReleaseArray(std::vector<double>& array) { std::vector<double>().swap(array); }

}  // namespace tarnix

#endif  // TARNIX_NUMERIC_ARRAYS_H_
