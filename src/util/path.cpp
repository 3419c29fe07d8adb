#include "util/path.h"

#include "util/text.h"

namespace lvn {

std::size_t FolderPartLength(const char* path) {
  std::size_t folder = 0;
  for (std::size_t i = 0; path[i] != '\0'; ++i) {
    if (path[i] == '\\') {
      folder = i + 1;
    } else if (IsLeadByte(static_cast<unsigned char>(path[i])) && path[i + 1] != '\0') {
      ++i;
    }
  }
  return folder;
}

}  // namespace lvn
