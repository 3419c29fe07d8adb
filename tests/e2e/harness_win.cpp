#include "harness_win.h"

#include <commctrl.h>
#include <shlobj.h>

#include "windows/main/main_window_ids.h"
#include "ui/string_grid_win.h"

#include <algorithm>
#include <sstream>
#include <utility>

namespace lvn::e2e {

std::wstring WideOf(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                           nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        length);
  return wide;
}

namespace {

std::string BytesOf(std::wstring_view wide, UINT code_page) {
  if (wide.empty()) return {};
  const int length = ::WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(),
                        length, nullptr, nullptr);
  return bytes;
}

}  // namespace

std::string Utf8Of(std::wstring_view wide) { return BytesOf(wide, CP_UTF8); }

std::string Sjis(std::string_view utf8) { return BytesOf(WideOf(utf8), 932); }

std::string EnvironmentVariable(const char* name) {
  const std::wstring wide_name = WideOf(name);
  std::wstring value(::GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0), L'\0');
  value.resize(::GetEnvironmentVariableW(wide_name.c_str(), value.data(),
                                         static_cast<DWORD>(value.size())));
  return Utf8Of(value);
}

std::string ExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::string folder = Utf8Of(path);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string ProgramPath() { return ExecutableFolder() + "lorvane.exe"; }

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

bool Program::Launch(Program* program, const std::string& exe, const std::string& arguments,
                     int show) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (show >= 0) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
  }
  PROCESS_INFORMATION info{};
  const std::wstring path = WideOf(exe);
  std::wstring command = WideOf("\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments));
  if (!::CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
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
    // A copy a failed test left running is asked to exit first: killed, it would leave its
    // icon in the tray, where the next tests count icons.
    for (HWND main : TopLevelWindows(id_, "TfrmMain")) {
      ::PostMessageW(main, WM_COMMAND, kCmdExitApp, 0);
    }
    if (::WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) {
      ::TerminateProcess(process_, 99);
      ::WaitForSingleObject(process_, kWaitMs);
    }
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

// Asked, not taken from the window's caption: GetWindowTextW gives only the caption of
// another process's window, never a control's own text.
std::string WindowText(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
    return {};
  }
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &copied)) {
    return {};
  }
  text.resize(static_cast<std::size_t>(copied));
  return Utf8Of(text);
}

std::string ClassNameOf(HWND hwnd) {
  wchar_t name[256] = L"";
  const int length = ::GetClassNameW(hwnd, name, static_cast<int>(std::size(name)));
  return Utf8Of(std::wstring_view(name, length > 0 ? static_cast<std::size_t>(length) : 0));
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
    const LONG style = ::GetWindowLongW(child, GWL_STYLE);
    if (kind == "Static") {
      if ((style & SS_TYPEMASK) == SS_ICON) {
        // Wine keeps an empty icon control in every box; only a loaded icon counts.
        DWORD_PTR icon = 0;
        if (::SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icon) &&
            icon != 0) {
          view.has_icon = true;
        }
      } else {
        const std::string text = WindowText(child);
        if (!text.empty()) view.text += text;
      }
    } else if (kind == "Button") {
      view.buttons.push_back(WindowText(child));
      if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) view.default_button = ::GetDlgCtrlID(child);
    }
  }
  return view;
}

bool PressButton(HWND dialog, int control_id) {
  HWND button = ::GetDlgItem(dialog, control_id);
  return button != nullptr && ::PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}

bool CloseBox(HWND box, int button) {
  return PressButton(box, button) && WaitUntil([box] { return ::IsWindow(box) == FALSE; });
}

namespace {

// A Unix path from the environment, as Wine sees it on drive Z:.
std::string UnixToWindows(const std::string& unix_path) {
  std::string path = "Z:" + unix_path;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

}  // namespace

std::string FaultFolder() {
  const std::string log = EnvironmentVariable("LVN_FAULT_LOG");
  if (log.empty()) return {};
  const std::string path = UnixToWindows(log);
  return path.substr(0, path.find_last_of('\\') + 1);
}

std::string ReadFileBytes(const std::string& path) {
  HANDLE file = ::CreateFileW(WideOf(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  std::string content;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    content.append(buffer, got);
  }
  ::CloseHandle(file);
  return content;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = ::CreateFileW(WideOf(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool whole = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                 nullptr) && written == bytes.size();
  ::CloseHandle(file);
  return whole;
}

HANDLE OpenToHold(const std::string& path, DWORD share) {
  return ::CreateFileW(WideOf(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string DataFolder() {
  PWSTR app_data = nullptr;
  std::string folder;
  if (::SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &app_data) == S_OK) {
    folder = Utf8Of(app_data);
  }
  ::CoTaskMemFree(app_data);
  return folder + "\\Lorvane\\";
}

void ClearDataFolder() {
  for (const char* name : {"log.csv", "lvn.ini", "lvn.ini.tmp", "log.csv.tmp", "command.log",
                           "command.log.tmp", "runs.txt", "update.log", "update.log.tmp"}) {
    ::DeleteFileW(WideOf(DataFolder() + name).c_str());
  }
  ::RemoveDirectoryW(WideOf(DataFolder()).c_str());
}

void WriteDataFile(const std::string& name, const std::string& bytes) {
  ::CreateDirectoryW(WideOf(DataFolder()).c_str(), nullptr);
  WriteFileBytes(DataFolder() + name, bytes);
}

std::string ReadDataFile(const std::string& name) { return ReadFileBytes(DataFolder() + name); }

std::vector<std::string> LogLines() {
  std::vector<std::string> lines;
  const std::string content = ReadDataFile("log.csv");
  if (content == "<missing>") return lines;
  std::istringstream in(content);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = line.find(',', start);
    fields.push_back(line.substr(start, comma - start));
    if (comma == std::string::npos) return fields;
    start = comma + 1;
  }
}

std::string Code(const std::string& line) { return Fields(line)[1]; }
std::string Text(const std::string& line) { return Fields(line).back(); }

bool MatchesTime(const std::string& text, const std::string& prefix, const std::string& shape) {
  if (text.size() != prefix.size() + shape.size() || text.rfind(prefix, 0) != 0) return false;
  for (std::size_t i = 0; i < shape.size(); ++i) {
    const char c = text[prefix.size() + i];
    if (shape[i] == '9' ? (c < '0' || c > '9') : c != shape[i]) return false;
  }
  return true;
}
bool IsNowIp(const std::string& text, const std::string& address) {
  return MatchesTime(text, "現在:" + address + " 確認:", "99:99:99");
}

std::string AddressOfRecord(int i, int pad) {
  std::string text = "10.";
  for (const int part : {i >> 16, (i >> 8) & 255, i & 255}) {
    text += std::to_string(part);
    text += '.';
  }
  text.pop_back();
  text.append(static_cast<std::size_t>(pad), 'x');
  return text;
}

std::string AddressLog(int records, int pad) {
  std::string log;
  log.reserve(static_cast<std::size_t>(records) * (45u + static_cast<std::size_t>(pad)));
  for (int i = 0; i < records; ++i) {
    log += std::to_string(i);
    log += ",20,2019/07/04,09:05:03,";
    log += AddressOfRecord(i, pad);
    log += "\r\n";
  }
  return log;
}

void SetLookupAnswer(const std::string& body) {
  WriteFileBytes(FaultFolder() + "answer.txt", body);
}

int RequestCount(const std::string& request_line_start, const std::string& containing) {
  const std::string log = EnvironmentVariable("LVN_FAULT_LOG");
  if (log.empty()) return -1;
  std::istringstream in(ReadFileBytes(UnixToWindows(log)));
  int count = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(request_line_start, 0) == 0 && line.find(containing) != std::string::npos) {
      ++count;
    }
  }
  return count;
}

// The tests' own lookup page, and the public service a first start asks.
int LookupRequestCount() { return RequestCount("GET /lvn.php ") + RequestCount("GET / "); }

std::vector<HWND> TrayIconWindows() {
  std::vector<HWND> icons;
  HWND tray = nullptr;
  while ((tray = ::FindWindowExW(nullptr, tray, L"__winex11_standalone_tray", nullptr)) !=
         nullptr) {
    for (HWND child : ChildWindows(tray)) {
      if (ClassNameOf(child) == "__winex11_tray_icon" && ::IsWindowVisible(child)) {
        icons.push_back(child);
      }
    }
  }
  return icons;
}

int TrayIconCount() { return static_cast<int>(TrayIconWindows().size()); }

std::vector<std::string> VisibleTooltipTexts() {
  std::vector<std::string> texts;
  for (HWND tip = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); tip != nullptr;
       tip = ::FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) {
    if (::IsWindowVisible(tip)) texts.push_back(WindowText(tip));
  }
  return texts;
}

bool TooltipShows(const std::string& text) {
  const std::vector<std::string> texts = VisibleTooltipTexts();
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

namespace {

// Wine's shell reads the second key; Windows keeps it only for old programs.
constexpr const wchar_t* kShellFolderKeys[] = {
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"};

void SetAppDataValue(HKEY key, DWORD type, const std::wstring& value) {
  ::RegSetValueExW(key, L"AppData", 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

AppDataRedirect::AppDataRedirect(const std::string& folder) {
  for (const wchar_t* key : kShellFolderKeys) {
    HKEY handle = nullptr;
    ::RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &handle);
    DWORD size = 0;
    DWORD type = REG_SZ;
    std::wstring value;
    bool had = handle != nullptr &&
               ::RegQueryValueExW(handle, L"AppData", nullptr, &type, nullptr, &size) ==
                   ERROR_SUCCESS;
    if (had) {
      value.resize(size / sizeof(wchar_t) + 1);
      had = ::RegQueryValueExW(handle, L"AppData", nullptr, &type,
                               reinterpret_cast<BYTE*>(value.data()), &size) == ERROR_SUCCESS;
      value.resize(std::min<std::size_t>(value.size(), size / sizeof(wchar_t)));
      while (!value.empty() && value.back() == L'\0') value.pop_back();
    }
    saved_.push_back({handle, had, type, value});
    if (handle != nullptr) SetAppDataValue(handle, REG_SZ, WideOf(folder));
  }
}

AppDataRedirect::~AppDataRedirect() {
  for (const Saved& saved : saved_) {
    if (saved.key == nullptr) continue;
    if (saved.had) {
      SetAppDataValue(saved.key, saved.type, saved.value);
    } else {
      ::RegDeleteValueW(saved.key, L"AppData");
    }
    ::RegCloseKey(saved.key);
  }
}

std::vector<int> TextWidths(const std::vector<std::string>& texts, const char* face, int height,
                            BYTE pitch) {
  std::vector<int> widths;
  HFONT font = ::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitch,
                             WideOf(face).c_str());
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, font);
  for (const std::string& text : texts) {
    const std::wstring wide = WideOf(text);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &size);
    widths.push_back(size.cx);
  }
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::DeleteObject(font);
  return widths;
}

namespace {

// Under Wine an injected move moves the system's cursor but not the X server's pointer.
// When a window maps or moves under that pointer, Wine moves the cursor back to it, and
// takes X's word that Shift is up; after 100 ms without a move, GetCursorPos answers where
// it is. So a move here sets both (SetCursorPos warps the X pointer), and the window under
// it answers with a move of its own, not injected, once X has told it: a low-level hook
// sees that answer, so the next input can wait for it instead of guessing a time.
class PointerEchoes {
 public:
  static PointerEchoes& Instance() {
    static PointerEchoes* echoes = new PointerEchoes;  // the hook's thread outlives every test
    return *echoes;
  }

  unsigned long long Seen() {
    ::AcquireSRWLockExclusive(&lock_);
    const unsigned long long seen = seen_;
    ::ReleaseSRWLockExclusive(&lock_);
    return seen;
  }

  // Waits for the answer at `at` to a move made after `before` answers had been seen, then
  // for a moment without any, so that what came with it is handled too. A point over no
  // window of Wine's is never answered: that costs the wait's limit, nothing else.
  void Settle(POINT at, unsigned long long before) {
    ::AcquireSRWLockExclusive(&lock_);
    const ULONGLONG answer_limit = ::GetTickCount64() + 600;
    while (!(seen_ > before && last_.x == at.x && last_.y == at.y) &&
           Wait(answer_limit)) {
    }
    const ULONGLONG quiet_limit = ::GetTickCount64() + 500;
    for (;;) {
      const unsigned long long now = seen_;
      const ULONGLONG quiet_until = ::GetTickCount64() + 40;
      while (seen_ == now && Wait(quiet_until)) {
      }
      if (seen_ == now || ::GetTickCount64() >= quiet_limit) break;
    }
    ::ReleaseSRWLockExclusive(&lock_);
  }

 private:
  PointerEchoes() {
    HANDLE thread = ::CreateThread(nullptr, 0, &PointerEchoes::Run, this, 0, nullptr);
    if (thread == nullptr) return;
    ::CloseHandle(thread);
    ::AcquireSRWLockExclusive(&lock_);
    while (!hooked_) ::SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
    ::ReleaseSRWLockExclusive(&lock_);
  }

  // False once `limit` has passed; the lock is held on entry and on return.
  bool Wait(ULONGLONG limit) {
    const ULONGLONG now = ::GetTickCount64();
    if (now >= limit) return false;
    ::SleepConditionVariableSRW(&changed_, &lock_, static_cast<DWORD>(limit - now), 0);
    return true;
  }

  static DWORD WINAPI Run(void* self) {
    auto* echoes = static_cast<PointerEchoes*>(self);
    HHOOK hook = ::SetWindowsHookExW(WH_MOUSE_LL, &PointerEchoes::Hook,
                                     ::GetModuleHandleW(nullptr), 0);
    ::AcquireSRWLockExclusive(&echoes->lock_);
    echoes->hooked_ = true;
    ::ReleaseSRWLockExclusive(&echoes->lock_);
    ::WakeAllConditionVariable(&echoes->changed_);
    if (hook == nullptr) return 1;
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    ::UnhookWindowsHookEx(hook);
    return 0;
  }

  static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION) {
      const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lparam);
      if ((event->flags & LLMHF_INJECTED) == 0) {
        PointerEchoes& echoes = Instance();
        ::AcquireSRWLockExclusive(&echoes.lock_);
        ++echoes.seen_;
        echoes.last_ = event->pt;
        ::ReleaseSRWLockExclusive(&echoes.lock_);
        ::WakeAllConditionVariable(&echoes.changed_);
      }
    }
    return ::CallNextHookEx(nullptr, code, wparam, lparam);
  }

  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
  bool hooked_ = false;
  unsigned long long seen_ = 0;
  POINT last_{};
};

bool CursorAt(POINT screen) {
  POINT at{};
  return ::GetCursorPos(&at) && at.x == screen.x && at.y == screen.y;
}

// The window's thread has read what the X server sent it so far: the thread reads its X
// events each time it goes idle, and two answers in a row mean it went idle in between.
void LetReadXEvents(HWND window) {
  DWORD_PTR ignored = 0;
  for (int round = 0; round < 2; ++round) {
    ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored);
  }
}

void BringToFront(HWND window) {
  const HWND root = ::GetAncestor(window, GA_ROOT);
  // A focus event the program has not read yet, from a window it showed a moment ago, would
  // take the foreground back to that window after the keys were sent.
  LetReadXEvents(root);
  for (int attempt = 0; attempt < 3 && ::GetForegroundWindow() != root; ++attempt) {
    ::SetForegroundWindow(root);
    WaitUntil([root] { return ::GetForegroundWindow() == root; }, 2000);
    // The X server's focus event comes later, with its word on the keys; let it pass.
    ::Sleep(100);
    LetReadXEvents(root);
  }
}

// A cursor move to a point of the screen. Absolute coordinates run from 0 to 65535.
INPUT MoveTo(POINT screen) {
  const auto normalized = [](LONG at, int metric) {
    return static_cast<LONG>((static_cast<long long>(at) * 65536 + 32768) /
                             ::GetSystemMetrics(metric));
  };
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = normalized(screen.x, SM_CXSCREEN);
  input.mi.dy = normalized(screen.y, SM_CYSCREEN);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return input;
}

INPUT MouseButton(DWORD flag) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flag;
  return input;
}

INPUT Key(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

POINT ToScreen(HWND window, POINT client) {
  ::ClientToScreen(window, &client);
  return client;
}

void Send(std::vector<INPUT> inputs) {
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

void PressKeys(HWND window, const std::vector<WORD>& keys) {
  BringToFront(window);
  std::vector<INPUT> inputs;
  for (WORD key : keys) inputs.push_back(Key(key, false));
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) inputs.push_back(Key(*it, true));
  Send(inputs);
}

void ClickWindow(HWND window) {
  RECT rect{};
  ::GetClientRect(window, &rect);
  ClickAt(window, POINT{rect.right / 2, rect.bottom / 2});
}

// Moves the cursor and the X pointer, waits until the system has the cursor there and the
// window under it has taken the X server's word for it.
void PointAt(POINT screen) {
  if (CursorAt(screen)) return;
  PointerEchoes& echoes = PointerEchoes::Instance();
  const unsigned long long before = echoes.Seen();
  // A window in its move loop or a menu holds the X pointer. A warp tried while it takes
  // hold may still land, and its answer would come back inside the loop as a move to the
  // old place; so the pointer is left alone until the hold ends.
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const bool held = ::GetGUIThreadInfo(0, &info) &&
                    (info.flags & (GUI_INMOVESIZE | GUI_INMENUMODE)) != 0;
  if (!held) ::SetCursorPos(screen.x, screen.y);
  Send({MoveTo(screen)});
  WaitUntil([screen] { return CursorAt(screen); }, 2000);
  if (!held) echoes.Settle(screen, before);
}

void HoverOver(HWND window) {
  BringToFront(window);
  RECT rect{};
  ::GetClientRect(window, &rect);
  const POINT middle{rect.right / 2, rect.bottom / 2};
  // Two moves: a window learns that the mouse is over it from a move within it.
  PointAt(ToScreen(window, POINT{middle.x - 4, middle.y}));
  PointAt(ToScreen(window, middle));
}

void ClickAt(HWND window, POINT client, Button button, bool shift) {
  BringToFront(window);
  const POINT screen = ToScreen(window, client);
  PointAt(screen);
  const bool left = button == Button::kLeft;
  if (shift) {
    // Held before the button goes down, as a hand holds it.
    Send({Key(VK_SHIFT, false)});
    WaitUntil([] { return ::GetAsyncKeyState(VK_SHIFT) < 0; }, 2000);
  }
  // No move in this batch: the cursor is there, and a move that warped the X pointer
  // again would bring its answer in between the button's press and release.
  std::vector<INPUT> inputs;
  inputs.push_back(MouseButton(left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN));
  inputs.push_back(MouseButton(left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP));
  if (shift) inputs.push_back(Key(VK_SHIFT, true));
  Send(inputs);
}

void DragBetween(HWND window, POINT from, POINT to) {
  BringToFront(window);
  const HWND root = ::GetAncestor(window, GA_ROOT);
  const POINT start = ToScreen(window, from), end = ToScreen(window, to);
  PointAt(start);
  RECT frame{};
  ::GetWindowRect(root, &frame);
  Send({MouseButton(MOUSEEVENTF_LEFTDOWN)});
  // A hand holds the button a moment before it moves: the press has been taken (a capture,
  // or the system's move loop) before the moves come. A press nothing takes waits 1 s.
  const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
  const auto gui = [thread] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(thread, &info);
    return info;
  };
  WaitUntil([&] { return gui().hwndCapture != nullptr || (gui().flags & GUI_INMOVESIZE) != 0; },
            1000);
  const bool moving = (gui().flags & GUI_INMOVESIZE) != 0;
  // In steps, as a hand moves, each one arrived before the next. Wine folds a move that
  // comes while the one before is still being read into that one, and the newer place is
  // lost; in a move or size loop the frame shows that a step was taken.
  for (int step = 1; step <= 4; ++step) {
    PointAt(POINT{start.x + (end.x - start.x) * step / 4, start.y + (end.y - start.y) * step / 4});
    if (moving) {
      const RECT before = frame;
      WaitUntil([&] { return ::GetWindowRect(root, &frame) && !::EqualRect(&frame, &before); },
                2000);
    }
  }
  Send({MouseButton(MOUSEEVENTF_LEFTUP)});
}

HWND FocusIn(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

std::string ClipboardText() {
  std::string text = "<none>";
  if (!::OpenClipboard(nullptr)) return text;
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT); data != nullptr) {
    if (const auto* wide = static_cast<const wchar_t*>(::GlobalLock(data)); wide != nullptr) {
      text = Utf8Of(wide);
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

std::vector<std::string> StatusFields(HWND main) {
  std::vector<std::string> fields;
  std::string all = WindowText(::GetDlgItem(main, kIdStatus)) + "\t";
  for (std::size_t tab; (tab = all.find('\t')) != std::string::npos; all.erase(0, tab + 1)) {
    fields.push_back(all.substr(0, tab));
  }
  return fields;
}

// The field's whole text is in view: its first character at the left edge, its last one
// inside the right edge.
bool ShowsWholeText(HWND field) {
  // The edit counts UTF-16 units, not bytes.
  const int length = static_cast<int>(WideOf(WindowText(field)).size());
  if (length < 2) return false;
  const auto x_of = [field](int index) {
    const LRESULT at = ::SendMessageW(field, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
    return at == -1 ? -1 : static_cast<int>(static_cast<short>(LOWORD(at)));
  };
  const int first = x_of(0), before_last = x_of(length - 2), last = x_of(length - 1);
  RECT client{};
  ::GetClientRect(field, &client);
  return first >= 0 && before_last >= 0 && last > before_last &&
         last + (last - before_last) <= client.right;
}

std::string GridCell(HWND grid, int col, int row) {
  ::SendMessageW(grid, ui::kGridMsgSetQueryCell, static_cast<WPARAM>(col), row);
  return WindowText(grid);
}

namespace {

int GridAnswer(HWND grid, UINT message) {
  return static_cast<int>(::SendMessageW(grid, message, 0, 0));
}

}  // namespace

int GridRows(HWND grid) { return GridAnswer(grid, ui::kGridMsgGetRowCount); }
int GridCurrentRow(HWND grid) { return GridAnswer(grid, ui::kGridMsgGetRow); }
int GridTopRow(HWND grid) { return GridAnswer(grid, ui::kGridMsgGetTopRow); }
int GridVisibleRows(HWND grid) { return GridAnswer(grid, ui::kGridMsgGetVisibleRows); }
int GridSelectionTop(HWND grid) { return GridAnswer(grid, ui::kGridMsgGetSelectionTop); }
int GridSelectionBottom(HWND grid) { return GridAnswer(grid, ui::kGridMsgGetSelectionBottom); }

POINT GridRowPoint(HWND grid, int row) {
  // A row and its grid line, in pixels at the grid's DPI.
  const int pitch = GridAnswer(grid, ui::kGridMsgGetRowHeight) + 1;
  const int header = GridAnswer(grid, ui::kGridMsgGetFixedRows) * pitch;
  return POINT{40, header + (row - GridTopRow(grid)) * pitch + pitch / 2};
}

bool StartSession(Session* session, int rows) {
  if (!Program::Launch(&session->program)) return false;
  session->main = WaitForWindow(session->program.Id(), "TfrmMain");
  if (session->main == nullptr) return false;
  session->grid = ::GetDlgItem(session->main, kIdMainGrid);
  return WaitUntil([&] { return GridRows(session->grid) == rows; });
}

bool EndSession(Session* session) {
  ::PostMessageW(session->main, WM_COMMAND, kCmdExitApp, 0);
  DWORD exit_code = 99;
  return session->program.WaitForExit(&exit_code) && exit_code == 0;
}

bool MenuShows(DWORD process_id) {
  for (HWND menu : TopLevelWindows(process_id, "#32768")) {
    if (::IsWindowVisible(menu)) return true;
  }
  return false;
}

bool ChooseFromMenu(const Session& session, WORD menu, WORD item) {
  const DWORD id = session.program.Id();
  // Keys sent while the X server still moves the focus to a window the program has just
  // shown are delivered to nobody: a menu that has not opened after a while is asked for
  // again, never while it shows.
  bool shows = false;
  for (int attempt = 0; attempt < 3 && !shows; ++attempt) {
    if (!MenuShows(id)) PressKeys(session.main, {VK_MENU, menu});
    shows = WaitUntil([id] { return MenuShows(id); }, 8000);
  }
  if (!shows) return false;
  PressKeys(session.main, {item});
  return WaitUntil([id] { return !MenuShows(id); });
}

bool WaitForLogLines(std::size_t count) {
  return WaitUntil([&] { return LogLines().size() >= count; });
}

bool CheckNow(HWND main, const std::string& request_line) {
  HWND update = ::GetDlgItem(main, kIdUpdate);
  if (!WaitUntil([&] { return ::IsWindowEnabled(update) != FALSE; })) return false;
  const auto count = [&] {
    return request_line.empty() ? LookupRequestCount() : RequestCount(request_line);
  };
  const int before = count();
  ::PostMessageW(update, BM_CLICK, 0, 0);
  return WaitUntil([&] { return count() > before; }) &&
         WaitUntil([&] { return ::IsWindowEnabled(update) != FALSE; });
}

}  // namespace lvn::e2e
