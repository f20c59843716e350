// The single exit for every failure the program detects.
//
// FatalError never returns: it throws FatalErrorException, which RunMain alone catches. RunMain then
// writes the three-line report to the standard error stream and ends the run with exit status 1,
// before any result file has been opened.
#ifndef TARNIX_NUMERIC_FATAL_ERROR_H_
#define TARNIX_NUMERIC_FATAL_ERROR_H_

#include <stdexcept>
#include <string>

namespace tarnix {

class FatalErrorException : public std::runtime_error {
 public:
  explicit FatalErrorException(const std::string& message) : std::runtime_error(message) {}
};

// `message` is the report's middle line, without a line end of its own.
[[noreturn]] void FatalError(const char* message);

// As FatalError, with the message built by a printf format.
[[noreturn]] void FatalErrorFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tarnix

#endif  // TARNIX_NUMERIC_FATAL_ERROR_H_
