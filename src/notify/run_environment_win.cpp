#include "notify/run_environment_win.h"

#include <windows.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "util/scoped_win.h"
#include "util/wide_text_win.h"

namespace lvn {
namespace {

// Our own names: the run's environment has them only as this run sets them.
constexpr std::wstring_view kIpVariable = L"LORVANE_IP";
constexpr std::wstring_view kOldIpVariable = L"LORVANE_OLDIP";

using ScopedEnvironment = Scoped<NullHandleTraits<LPWCH, &::FreeEnvironmentStringsW>>;

// The variable's name in an environment entry: up to the first '=' after the first
// character, which is '=' itself in the entries that hold each drive's folder.
std::wstring_view VariableName(std::wstring_view entry) {
  return entry.substr(0, entry.find(L'=', 1));
}

bool LessByName(const std::wstring& a, const std::wstring& b) {
  const std::wstring_view x = VariableName(a), y = VariableName(b);
  return ::CompareStringOrdinal(x.data(), static_cast<int>(x.size()), y.data(),
                                static_cast<int>(y.size()), TRUE) == CSTR_LESS_THAN;
}

bool IsOurVariable(std::wstring_view entry) {
  const std::wstring_view name = VariableName(entry);
  for (const std::wstring_view ours : {kIpVariable, kOldIpVariable}) {
    if (::CompareStringOrdinal(name.data(), static_cast<int>(name.size()), ours.data(),
                               static_cast<int>(ours.size()), TRUE) == CSTR_EQUAL) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool RunEnvironment(const ChangeCommand& command, std::wstring* block) {
  std::wstring ip, old_ip;
  if (!WideOfUtf8Strict(command.Ip, &ip) || !WideOfUtf8Strict(command.OldIp, &old_ip)) {
    ::SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return false;
  }
  std::vector<std::wstring> entries;
  {
    const ScopedEnvironment own(::GetEnvironmentStringsW());
    if (!own) return false;
    for (const wchar_t* entry = own.Get(); *entry != L'\0';) {
      const std::wstring_view text(entry);
      if (!IsOurVariable(text)) entries.emplace_back(text);
      entry += text.size() + 1;
    }
  }
  entries.push_back(std::wstring(kIpVariable) + L"=" + ip);
  entries.push_back(std::wstring(kOldIpVariable) + L"=" + old_ip);
  std::stable_sort(entries.begin(), entries.end(), LessByName);
  block->clear();
  for (const std::wstring& entry : entries) {
    block->append(entry);
    block->push_back(L'\0');
  }
  block->push_back(L'\0');
  return true;
}

}  // namespace lvn
