#include "harness_win.h"

#include <utility>

namespace lvn::e2e {

std::string ProgramPath() {
  char path[MAX_PATH] = "";
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\') + 1) + "lorvane.exe";
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms) {
  const ULONGLONG deadline = ::GetTickCount64() + timeout_ms;
  for (;;) {
    if (condition()) return true;
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(50);
  }
}

Program::~Program() {
  Terminate();
}

Program::Program(Program&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), id_(std::exchange(other.id_, 0)) {}

Program& Program::operator=(Program&& other) noexcept {
  if (this != &other) {
    Terminate();
    process_ = std::exchange(other.process_, nullptr);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

bool Program::Launch(Program* program, const std::string& exe) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string command = "\"" + exe + "\"";
  if (!::CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return false;
  }
  ::CloseHandle(info.hThread);
  Program launched;
  launched.process_ = info.hProcess;
  launched.id_ = info.dwProcessId;
  *program = std::move(launched);
  return true;
}

bool Program::IsRunning() const {
  return process_ != nullptr && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Program::WaitForExit(DWORD* exit_code, DWORD timeout_ms) {
  if (process_ == nullptr || ::WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0) {
    return false;
  }
  return ::GetExitCodeProcess(process_, exit_code) != FALSE;
}

void Program::Terminate() {
  if (process_ == nullptr) return;
  if (IsRunning()) {
    ::TerminateProcess(process_, 99);
    ::WaitForSingleObject(process_, kWaitMs);
  }
  ::CloseHandle(process_);
  process_ = nullptr;
  id_ = 0;
}

std::vector<HWND> TopLevelWindows(DWORD process_id, const char* class_name) {
  struct Search {
    DWORD process_id;
    const char* class_name;
    std::vector<HWND> found;
  } search{process_id, class_name, {}};
  ::EnumWindows(
      [](HWND hwnd, LPARAM lparam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lparam);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        if (owner == s->process_id && ClassNameOf(hwnd) == s->class_name) {
          s->found.push_back(hwnd);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(DWORD process_id, const char* class_name, DWORD timeout_ms) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND hwnd : TopLevelWindows(process_id, class_name)) {
          if (::IsWindowVisible(hwnd)) {
            found = hwnd;
            return true;
          }
        }
        return false;
      },
      timeout_ms);
  return found;
}

std::string WindowText(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
    return {};
  }
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &copied)) {
    return {};
  }
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

std::string ClassNameOf(HWND hwnd) {
  char name[256] = "";
  const int length = ::GetClassNameA(hwnd, name, sizeof name);
  return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  ::EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM lparam) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(lparam)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  return children;
}

MessageBoxView ReadMessageBox(HWND box) {
  MessageBoxView view;
  view.caption = WindowText(box);
  for (HWND child : ChildWindows(box)) {
    if (!::IsWindowVisible(child)) continue;
    const std::string kind = ClassNameOf(child);
    const LONG style = ::GetWindowLongA(child, GWL_STYLE);
    if (kind == "Static") {
      if ((style & SS_TYPEMASK) == SS_ICON) {
        // Wine keeps an empty icon control in every box; only a loaded icon counts.
        DWORD_PTR icon = 0;
        if (::SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icon) &&
            icon != 0) {
          view.has_icon = true;
        }
      } else {
        const std::string text = WindowText(child);
        if (!text.empty()) view.text += text;
      }
    } else if (kind == "Button") {
      view.buttons.push_back(WindowText(child));
    }
  }
  return view;
}

bool PressButton(HWND dialog, int control_id) {
  HWND button = ::GetDlgItem(dialog, control_id);
  return button != nullptr && ::PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
}

}  // namespace lvn::e2e
