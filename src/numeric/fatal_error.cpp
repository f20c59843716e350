#include "numeric/fatal_error.h"

#include <cstdarg>
#include <cstdio>

namespace tarnix {

void FatalError(const char* message) { throw FatalErrorException(message); }

void FatalErrorFormat(const char* format, ...) {
  char message[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  FatalError(message);
}

}  // namespace tarnix
