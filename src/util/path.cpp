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

char* HelpPagePath(char* dest, const char* exe_path, std::size_t n) {
  char folder[kPathCapacity] = "";
  CopyText(folder, exe_path, sizeof folder);
  folder[FolderPartLength(folder)] = '\0';
  char path[kPathCapacity] = "";
  JoinTexts(path, folder, "help\\", sizeof path);
  AppendText(path, "index.htm", sizeof path);
  return CopyText(dest, path, n);
}

}  // namespace lvn
