// data.txt (the measured pattern) and tarnix.txt (the corrected pattern).
#ifndef TARNIX_DATAFILES_PATTERN_FILES_H_
#define TARNIX_DATAFILES_PATTERN_FILES_H_

#include "datafiles/records.h"

namespace tarnix {

// Reads the pattern from `path` in two passes (count, then fill). A line is a data point when it
// advances the file by 3 bytes or more, starts with two or three numbers and its first number (the
// angle) is not 0; any other line is ignored. Without a third number the error is sqrt(|intensity|).
// Neither order nor range of the angles is checked here. Fails (FatalError) when the file cannot be
// opened or read or the arrays cannot be allocated.
void ReadSourceData(Pattern& pattern, const char* path = "data.txt");

// Writes points 0 .. count-1 as "%10.4f %10.4f %10.4f\n" to `path`, replacing the file only once the
// whole result is written and closed: the text goes to `path` + ".tmp" first and is renamed over
// `path`. On any failure the temporary file is removed, an existing `path` is left as it was, and the
// run ends through FatalError.
void WriteDestinationData(const Pattern& pattern, const char* path = "tarnix.txt");

// Releases sigma, intensity and angle, in that order.
void FreePattern(Pattern& pattern);

}  // namespace tarnix

#endif  // TARNIX_DATAFILES_PATTERN_FILES_H_
