#include "util/version_win.h"

#include <windows.h>

#include <vector>

#include "util/system_library_win.h"
#include "util/text.h"

namespace lvn {

namespace {

// version.dll is not a KnownDLL: taken from System32 by hand rather than imported.
struct VersionApi {
  decltype(&::GetFileVersionInfoSizeA) GetFileVersionInfoSizeA = nullptr;
  decltype(&::GetFileVersionInfoA) GetFileVersionInfoA = nullptr;
  decltype(&::VerQueryValueA) VerQueryValueA = nullptr;
};

const VersionApi* Api() {
  static const VersionApi* const api = []() -> const VersionApi* {
    static VersionApi table;
    const HMODULE module = LoadSystemLibrary("version.dll");
    if (module == nullptr) return nullptr;
    const bool complete =
        BindSystemFunction(module, "GetFileVersionInfoSizeA", &table.GetFileVersionInfoSizeA) &&
        BindSystemFunction(module, "GetFileVersionInfoA", &table.GetFileVersionInfoA) &&
        BindSystemFunction(module, "VerQueryValueA", &table.VerQueryValueA);
    return complete ? &table : nullptr;
  }();
  return api;
}

}  // namespace

char* FileVersionText(char* dest, const char* file_path, std::size_t n) {
  CopyText(dest, "0.0.0.0", n);
  const VersionApi* api = Api();
  if (api == nullptr) return dest;
  DWORD ignored = 0;
  const DWORD size = api->GetFileVersionInfoSizeA(file_path, &ignored);
  if (size == 0) return dest;
  std::vector<char> block(size);
  if (!api->GetFileVersionInfoA(file_path, 0, size, block.data())) return dest;
  void* value = nullptr;
  UINT length = 0;
  if (api->VerQueryValueA(block.data(), "\\StringFileInfo\\041103a4\\FileVersion", &value, &length) &&
      value != nullptr && length > 0) {
    CopyText(dest, static_cast<const char*>(value), n);
  }
  return dest;
}

}  // namespace lvn
