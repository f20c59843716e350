#include "datafiles/text_line.h"

#include <cstring>

namespace tarnix {

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
  } else {
    line->advance = static_cast<unsigned>(length);
  }
  return true;
}

}  // namespace tarnix
