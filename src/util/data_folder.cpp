#include "util/data_folder.h"

#include "util/path.h"
#include "util/text.h"

namespace lvn {

char* ComposeDataFolder(char* dest, const char* app_data, const char* exe_path, std::size_t n) {
  char folder[kPathCapacity] = "";
  if (app_data != nullptr) {
    CopyText(folder, app_data, kPathCapacity);
    AppendText(folder, "\\Lorvane\\", kPathCapacity);
  } else {
    CopyText(folder, exe_path, kPathCapacity);
    folder[FolderPartLength(folder)] = '\0';
  }
  return CopyText(dest, folder, n);
}

}  // namespace lvn
