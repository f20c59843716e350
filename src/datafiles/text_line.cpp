#include "datafiles/text_line.h"

#include <cstring>

namespace tarnix {
namespace {

// Consumes the next byte of `file` if it is a LF and says so; any other byte is left to be read.
bool PeekLineFeed(std::FILE* file) {
  const int next = std::fgetc(file);
  if (next == '\n') return true;
  if (next != EOF) std::ungetc(next, file);
  return false;
}

}  // namespace

bool ReadTextLine(std::FILE* file, TextLine* line) {
  if (std::fgets(line->text, sizeof line->text, file) == nullptr) {
    line->text[0] = '\0';
    line->advance = 0;
    return false;
  }
  // The advance comes from the buffer, not from the file position: text mode may translate line ends.
  std::size_t length = std::strlen(line->text);
  if (length > 0 && line->text[length - 1] == '\n') {
    line->text[--length] = '\0';
    if (length > 0 && line->text[length - 1] == '\r') line->text[--length] = '\0';
    line->advance = static_cast<unsigned>(length) + 2;
  } else if (length > 0 && line->text[length - 1] == '\r' && PeekLineFeed(file)) {
    // A CR LF split by the buffer (254 characters, CR, then LF): the line ended here, as it would with
    // a lone LF, so the LF is consumed with it rather than read as an empty line of its own.
    line->text[--length] = '\0';
    line->advance = static_cast<unsigned>(length) + 2;
  } else {
    line->advance = static_cast<unsigned>(length);
  }
  return true;
}

}  // namespace tarnix
