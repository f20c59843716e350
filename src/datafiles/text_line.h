// The line rule shared by instr.txt and data.txt.
#ifndef TARNIX_DATAFILES_TEXT_LINE_H_
#define TARNIX_DATAFILES_TEXT_LINE_H_

#include <cstdio>

namespace tarnix {

// One piece of a text file, read with a 256-byte buffer: at most 255 characters, up to and including
// the line end. A longer line is consumed in several pieces, each counting as a line of its own.
struct TextLine {
  char text[256];
  // Bytes read before the line end, plus 2 if the piece ended with a line end. CR LF and a lone LF
  // both count as two bytes, so the advance is the size the line would occupy in a CR LF file; a read
  // at end of file (or after a read error) has advance 0. A line counts only with an advance of 3 or
  // more.
  unsigned advance;
};

// Reads the next piece of `file` into `line`. Returns false when nothing could be read (end of file
// or a read error), leaving an empty text and advance 0.
bool ReadTextLine(std::FILE* file, TextLine* line);

}  // namespace tarnix

#endif  // TARNIX_DATAFILES_TEXT_LINE_H_
