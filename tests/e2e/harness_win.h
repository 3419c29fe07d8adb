// Drives lorvane.exe from outside, the way an assistive tool would: it starts the program,
// finds its windows by class and reads and operates them through window messages.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lvn::e2e {

// Generous: Wine on a loaded two-core machine is slow and uneven.
inline constexpr DWORD kWaitMs = 30000;

// Texts here are UTF-8, as the test's literals are; Windows is asked through the W
// functions, and the files' code page 932 bytes are converted explicitly.
std::wstring WideOf(std::string_view utf8);
std::string Utf8Of(std::wstring_view wide);
// The bytes log.csv, lvn.ini and command.log hold for a text: code page 932.
std::string Sjis(std::string_view utf8);
// An environment variable's value; empty when unset.
std::string EnvironmentVariable(const char* name);

// lorvane.exe in the test executable's folder.
std::string ProgramPath();
// The test executable's folder, with its trailing "\".
std::string ExecutableFolder();

// Polls until condition holds or timeout_ms passes; true when it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms = kWaitMs);

// One started copy of the program. A copy still running at destruction is asked to exit,
// and ended when it does not.
class Program {
 public:
  Program() = default;
  ~Program();
  Program(Program&& other) noexcept;
  Program& operator=(Program&& other) noexcept;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // show: the shortcut's "Run" choice (SW_...), or -1 for none.
  static bool Launch(Program* program, const std::string& exe = ProgramPath(),
                     const std::string& arguments = "", int show = -1);

  DWORD Id() const { return id_; }
  bool IsRunning() const;
  // True when the process ended within timeout_ms; *exit_code then holds its exit code.
  bool WaitForExit(DWORD* exit_code, DWORD timeout_ms = kWaitMs);
  void Terminate();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// Top-level windows of the process with the given class, visible or not.
std::vector<HWND> TopLevelWindows(DWORD process_id, const char* class_name);
// Waits for a visible top-level window of the process with the given class.
HWND WaitForWindow(DWORD process_id, const char* class_name, DWORD timeout_ms = kWaitMs);

std::string WindowText(HWND hwnd);
std::string ClassNameOf(HWND hwnd);
std::vector<HWND> ChildWindows(HWND parent);

struct MessageBoxView {
  std::string caption;
  std::string text;
  bool has_icon = false;
  std::vector<std::string> buttons;  // texts of the visible buttons
  int default_button = 0;            // the id of the default push button
};
// Reads a standard message box (class "#32770").
MessageBoxView ReadMessageBox(HWND box);
// Presses the dialog's button with the given control id.
bool PressButton(HWND dialog, int control_id);
// Answers a message box with one of its buttons and waits until it is gone, so that the
// next box looked for is not this one on its way out.
bool CloseBox(HWND box, int button);

// A file's bytes, or "<missing>"; read while others may write it.
std::string ReadFileBytes(const std::string& path);
// False when the file could not be written whole.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// A file opened for reading as another program holds it: share is what it lets others do.
HANDLE OpenToHold(const std::string& path, DWORD share);

// The program's data folder in this Wine prefix, with its trailing "\".
std::string DataFolder();
// Removes log.csv, lvn.ini and the folder itself: a first run.
void ClearDataFolder();
void WriteDataFile(const std::string& name, const std::string& bytes);
// The file's bytes, or "<missing>".
std::string ReadDataFile(const std::string& name);
// log.csv's lines without their line ends.
std::vector<std::string> LogLines();

// A log.csv line's fields: key, code, date, time, text (no quoted commas in tests' texts).
std::vector<std::string> Fields(const std::string& line);
std::string Code(const std::string& line);
std::string Text(const std::string& line);
// text is prefix followed by a time in the form of shape, where 9 stands for any digit.
bool MatchesTime(const std::string& text, const std::string& prefix, const std::string& shape);
// NowIp's text after a check that found address.
bool IsNowIp(const std::string& text, const std::string& address);

// The text of record i of AddressLog: an address of its own, so that every row tells
// which record it shows, padded with pad bytes.
std::string AddressOfRecord(int i, int pad);
// log.csv bytes: records address changes keyed 0, 1, 2 ..., dated 2019/07/04 09:05:03.
std::string AddressLog(int records, int pad);

// The fault server's folder, which holds its log and the answers tests set, with its
// trailing "\".
std::string FaultFolder();
// The fault server's answer to GET /lvn.php from now on: the bytes as a 200 answer,
// "!down" for an error status, "!trickle" for an answer too slow to count, "!headdrip"
// for a head whose lines trickle in for a minute, "!slow" and the bytes for them after 0.3 s.
void SetLookupAnswer(const std::string& body);
// How many lookups the fault server has seen: GET /lvn.php, and GET / of a public service.
int LookupRequestCount();
// How many requests whose request line starts so the fault server has seen.
// containing, when given, must stand in the line too (a host, "\thttps 443").
int RequestCount(const std::string& request_line_start, const std::string& containing = "");

// Icons in the notification area (Wine's own tray window).
int TrayIconCount();
// The icons' windows there.
std::vector<HWND> TrayIconWindows();
// The texts of the visible tooltips of every process: balloons, a tray icon's tip.
std::vector<std::string> VisibleTooltipTexts();
bool TooltipShows(const std::string& text);

// Points the shell's roaming application-data folder (and so the program's data folder)
// elsewhere until destroyed.
class AppDataRedirect {
 public:
  explicit AppDataRedirect(const std::string& folder);
  ~AppDataRedirect();
  AppDataRedirect(const AppDataRedirect&) = delete;
  AppDataRedirect& operator=(const AppDataRedirect&) = delete;

 private:
  struct Saved {
    HKEY key;
    bool had;
    DWORD type;
    std::wstring value;
  };
  std::vector<Saved> saved_;
};

// The widths of texts laid out in a font made as the program makes its own (code page 932
// character set), at a height in pixels.
std::vector<int> TextWidths(const std::vector<std::string>& texts, const char* face, int height,
                            BYTE pitch = DEFAULT_PITCH | FF_DONTCARE);

// Keys pressed and released, in order, with the main window in the foreground.
void PressKeys(HWND window, const std::vector<WORD>& keys_down_then_up);
// A real left click in the middle of window: its top-level window comes to the
// foreground, the cursor moves there, the button goes down and up.
void ClickWindow(HWND window);
// The real cursor moved into the middle of window, which comes to the foreground.
void HoverOver(HWND window);
// A real click at a point of window's client area, with Shift held when asked; or a drag
// from one point to another with the left button.
enum class Button { kLeft, kRight };
void ClickAt(HWND window, POINT client, Button button = Button::kLeft, bool shift = false);
void DragBetween(HWND window, POINT from, POINT to);
// The window with the keyboard focus in the thread that owns window.
HWND FocusIn(HWND window);
// The clipboard's text, or "<none>".
std::string ClipboardText();

// A started program with its main window and history grid, as most tests use it.
struct Session {
  Program program;
  HWND main = nullptr;
  HWND grid = nullptr;
};
// Starts the program and waits for its main window, and until the grid has rows rows (the
// header included). False when either does not come.
bool StartSession(Session* session, int rows);
// The exit command; true when the program then ended with exit code 0.
bool EndSession(Session* session);

// A menu (a pop-up or one of a menu bar) of the process shows.
bool MenuShows(DWORD process_id);
// A menu of the main window's menu bar, then one of its items, with the keys; false when
// the menu did not show or did not close.
bool ChooseFromMenu(const Session& session, WORD menu, WORD item);

// The main window's parts, read the way an assistive tool reads them.
// The status strip's fields.
std::vector<std::string> StatusFields(HWND main);
// An edit field's whole text is in view: its first character at the left edge, its last one
// inside the right edge.
bool ShowsWholeText(HWND field);
// The history grid, through its message API.
std::string GridCell(HWND grid, int col, int row);
int GridRows(HWND grid);
int GridCurrentRow(HWND grid);
int GridTopRow(HWND grid);
int GridVisibleRows(HWND grid);
int GridSelectionTop(HWND grid);
int GridSelectionBottom(HWND grid);
// The middle of a data row in view, in the grid's client coordinates.
POINT GridRowPoint(HWND grid, int row);

// Waits until log.csv has at least count lines.
bool WaitForLogLines(std::size_t count);
// Clicks Update once it is enabled and waits for the lookup it starts to be handled: for a
// request whose request line starts with request_line (a lookup page's request when empty),
// and for Update enabled again.
bool CheckNow(HWND main, const std::string& request_line = "");

}  // namespace lvn::e2e
