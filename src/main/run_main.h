// One whole run of the program, as main performs it.
#ifndef TARNIX_MAIN_RUN_MAIN_H_
#define TARNIX_MAIN_RUN_MAIN_H_

#include <cstdio>

namespace tarnix {

// Reads instr.txt and data.txt from the working directory, runs the five stages, writes tarnix.txt,
// reports " ... Finished. " and asks on `prompt_out` for a line beginning with "1" from `answers`.
// Returns the exit status: 0 after the quit line (or when `answers` ends), 1 after a fatal error, which
// it reports in three lines on the standard error stream.
int RunMain(std::FILE* answers = stdin, std::FILE* prompt_out = stdout);

// Repeats the quit prompt until a line that begins with "1", the end of `answers` or a read error.
void QuitLoop(std::FILE* answers, std::FILE* prompt_out);

}  // namespace tarnix

#endif  // TARNIX_MAIN_RUN_MAIN_H_
