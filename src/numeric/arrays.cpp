#include "numeric/arrays.h"

#include <new>
#include <stdexcept>

#include "numeric/fatal_error.h"

namespace tarnix {

void AllocateArray(std::vector<double>& array, std::size_t length, const char* message) {
  try {
    std::vector<double> fresh;
    fresh.resize(length);
    array.swap(fresh);
  } catch (const std::bad_alloc&) {
    FatalError(message);
  } catch (const std::length_error&) {
    FatalError(message);
  }
}

}  // namespace tarnix
