#include "util/version_win.h"

#include <windows.h>

#include <string_view>
#include <vector>

#include "util/system_library_win.h"
#include "util/wide_text_win.h"

namespace lvn {

namespace {

// version.dll is not a KnownDLL: taken from System32 by hand rather than imported.
struct VersionApi {
  decltype(&::GetFileVersionInfoSizeW) GetFileVersionInfoSizeW = nullptr;
  decltype(&::GetFileVersionInfoW) GetFileVersionInfoW = nullptr;
  decltype(&::VerQueryValueW) VerQueryValueW = nullptr;
};

const VersionApi* Api() {
  static const VersionApi* const api = []() -> const VersionApi* {
    static VersionApi table;
    const HMODULE module = LoadSystemLibrary("version.dll");
    if (module == nullptr) return nullptr;
    const bool complete =
        BindSystemFunction(module, "GetFileVersionInfoSizeW", &table.GetFileVersionInfoSizeW) &&
        BindSystemFunction(module, "GetFileVersionInfoW", &table.GetFileVersionInfoW) &&
        BindSystemFunction(module, "VerQueryValueW", &table.VerQueryValueW);
    return complete ? &table : nullptr;
  }();
  return api;
}

}  // namespace

std::string FileVersionText(const std::string& file_path) {
  const std::string none = "0.0.0.0";
  const VersionApi* api = Api();
  std::wstring path;
  if (api == nullptr || !WideOfUtf8Strict(file_path, &path)) return none;
  DWORD ignored = 0;
  const DWORD size = api->GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return none;
  std::vector<char> block(size);
  if (!api->GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return none;
  void* value = nullptr;
  UINT length = 0;
  if (!api->VerQueryValueW(block.data(), L"\\StringFileInfo\\041103a4\\FileVersion", &value,
                           &length) ||
      value == nullptr || length == 0) {
    return none;
  }
  // The length counts characters, with the terminating zero where there is one.
  const std::wstring_view text(static_cast<const wchar_t*>(value), length);
  return Utf8Of(text.substr(0, text.find(L'\0')));
}

}  // namespace lvn
