// A tool's command-line arguments in UTF-8, read as the system holds them (UTF-16), not
// through the system's code page.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "util/wide_text_win.h"

namespace lvn::tools {

// The arguments after the program's own name.
inline std::vector<std::string> Arguments() {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* all = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (all == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Utf8Of(all[i]));
  ::LocalFree(all);
  return arguments;
}

// This program's own path.
inline std::wstring SelfPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace lvn::tools
