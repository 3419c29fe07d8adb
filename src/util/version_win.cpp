#include "util/version_win.h"

#include <windows.h>

#include <vector>

#include "util/text.h"

namespace lvn {

char* FileVersionText(char* dest, const char* file_path, std::size_t n) {
  CopyText(dest, "0.0.0.0", n);
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(file_path, &ignored);
  if (size == 0) return dest;
  std::vector<char> block(size);
  if (!::GetFileVersionInfoA(file_path, 0, size, block.data())) return dest;
  void* value = nullptr;
  UINT length = 0;
  if (::VerQueryValueA(block.data(), "\\StringFileInfo\\041103a4\\FileVersion", &value, &length) &&
      value != nullptr && length > 0) {
    CopyText(dest, static_cast<const char*>(value), n);
  }
  return dest;
}

}  // namespace lvn
