// What a screen reader finds in the main window, read from another process the way readers
// read it: the history grid and the status strip through their IAccessible objects.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "windows/main/main_window_ids.h"
#include "harness_win.h"

namespace lvn::e2e {
namespace {

constexpr char kAddress[] = "198.51.100.7";
constexpr char kAnswer[] = "[198.51.100.7]\r\nLorvane lookup\r\n";
constexpr long kRowStates = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;

// The thread's apartment, as a reader has one.
struct Apartment {
  Apartment() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~Apartment() { ::CoUninitialize(); }
};

// One reference to a window's client object.
class Reader {
 public:
  explicit Reader(HWND window) {
    ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&object_));
  }
  ~Reader() {
    if (object_ != nullptr) object_->Release();
  }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  IAccessible* operator->() const { return object_; }
  bool Holds() const { return object_ != nullptr; }

  long Count() const {
    long count = -1;
    object_->get_accChildCount(&count);
    return count;
  }
  long Role(long child) const { return Number(&IAccessible::get_accRole, child); }
  long State(long child) const { return Number(&IAccessible::get_accState, child); }
  // The name as the reader hears it; "<none>" when there is none.
  std::string Name(long child) const {
    BSTR name = nullptr;
    if (object_->get_accName(Child(child), &name) != S_OK || name == nullptr) return "<none>";
    const std::string text = Utf8Of(name);
    ::SysFreeString(name);
    return text;
  }
  RECT Location(long child) const {
    LONG left = 0, top = 0, width = 0, height = 0;
    object_->accLocation(&left, &top, &width, &height, Child(child));
    return RECT{left, top, left + width, top + height};
  }
  // The children an answer of get_accFocus or get_accSelection names, one child or several.
  static std::vector<long> Children(HRESULT result, VARIANT* answer) {
    std::vector<long> children;
    if (result == S_OK && V_VT(answer) == VT_I4) children.push_back(V_I4(answer));
    if (result == S_OK && V_VT(answer) == VT_UNKNOWN) {
      IEnumVARIANT* all = nullptr;
      V_UNKNOWN(answer)->QueryInterface(__uuidof(IEnumVARIANT), reinterpret_cast<void**>(&all));
      VARIANT one;
      ULONG got = 0;
      while (all != nullptr && all->Next(1, &one, &got) == S_OK && got == 1) {
        children.push_back(V_VT(&one) == VT_I4 ? V_I4(&one) : -1);
      }
      if (all != nullptr) all->Release();
    }
    ::VariantClear(answer);
    return children;
  }
  std::vector<long> Focus() const {
    VARIANT answer;
    const HRESULT result = object_->get_accFocus(&answer);
    return Children(result, &answer);
  }
  std::vector<long> Selection() const {
    VARIANT answer;
    const HRESULT result = object_->get_accSelection(&answer);
    return Children(result, &answer);
  }

  static VARIANT Child(long child) {
    VARIANT id;
    ::VariantInit(&id);
    V_VT(&id) = VT_I4;
    V_I4(&id) = child;
    return id;
  }

 private:
  long Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*),
              long child) const {
    VARIANT answer;
    ::VariantInit(&answer);
    if ((object_->*get)(Child(child), &answer) != S_OK || V_VT(&answer) != VT_I4) return -1;
    return V_I4(&answer);
  }

  IAccessible* object_ = nullptr;
};

// The events the program tells readers, as an out-of-context hook of this thread hears them.
struct Event {
  DWORD event;
  HWND window;
  long child;
  friend bool operator==(const Event&, const Event&) = default;
};
std::vector<Event> g_events;

void CALLBACK HearEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                        DWORD) {
  if (object == OBJID_CLIENT) g_events.push_back({event, window, child});
}

class EventHook {
 public:
  explicit EventHook(DWORD process_id)
      : hook_(::SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_NAMECHANGE, nullptr, &HearEvent,
                                process_id, 0, WINEVENT_OUTOFCONTEXT)) {}
  ~EventHook() {
    if (hook_ != nullptr) ::UnhookWinEvent(hook_);
  }
  EventHook(const EventHook&) = delete;
  EventHook& operator=(const EventHook&) = delete;
  bool Hooked() const { return hook_ != nullptr; }

 private:
  HWINEVENTHOOK hook_;
};

// Waits, taking this thread's messages (the hook's calls come through them), until the
// event has been heard.
bool Heard(const Event& wanted) {
  return WaitUntil([&] {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    for (const Event& e : g_events) {
      if (e == wanted) return true;
    }
    return false;
  });
}

bool Inside(const RECT& rect, POINT point) {
  return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
         point.y < rect.bottom;
}

// A reader follows the user through the history grid and the status strip: roles, names,
// states, focus and selection after real keys, the rows after a new record, and a reader
// that still holds the grid when the program exits.
TEST(Accessibility, AScreenReaderFollowsTheGridAndTheStatusStrip) {
  constexpr int kRecords = 30;  // more than the grid shows at once
  ClearDataFolder();
  WriteDataFile("log.csv", AddressLog(kRecords, 0));
  WriteDataFile("lvn.ini", std::string("[Value]\r\nIpHoz=") + kAddress +
                               "\r\nPrimaryKey=" + std::to_string(kRecords - 1) + "\r\n");
  SetLookupAnswer(kAnswer);
  const Apartment apartment;
  Session run;
  // The header, the records and the check start.
  ASSERT_TRUE(StartSession(&run, kRecords + 2)) << GridRows(run.grid);
  const Reader grid(run.grid);
  ASSERT_TRUE(grid.Holds());
  const EventHook hook(run.program.Id());
  ASSERT_TRUE(hook.Hooked());

  // A table with a row for every row of the grid, header first, named by its cells.
  EXPECT_EQ(grid.Role(CHILDID_SELF), ROLE_SYSTEM_TABLE);
  EXPECT_EQ(grid.Count(), kRecords + 2);
  EXPECT_EQ(grid.Role(1), ROLE_SYSTEM_ROW);
  EXPECT_EQ(grid.Name(1), "日付 時刻 適用");
  EXPECT_EQ(grid.Name(2), "2019/07/04 09:05:03 10.0.0.0");
  EXPECT_EQ(grid.Name(kRecords + 1), "2019/07/04 09:05:03 " + AddressOfRecord(kRecords - 1, 0));
  EXPECT_EQ(grid.Name(kRecords + 2),
            GridCell(run.grid, 0, kRecords + 1) + " " + GridCell(run.grid, 1, kRecords + 1) +
                " チェック開始");

  // The user clicks the current (last) row and goes one row up: the reader is told where
  // the focus is, which row is selected and where it lies on the screen.
  const int last = kRecords + 1;
  ASSERT_EQ(GridCurrentRow(run.grid), last);
  ClickAt(run.grid, GridRowPoint(run.grid, last));
  ASSERT_TRUE(WaitUntil([&] { return FocusIn(run.main) == run.grid; }));
  PressKeys(run.main, {VK_UP});
  ASSERT_TRUE(WaitUntil([&] { return GridCurrentRow(run.grid) == last - 1; }));
  const long current = last;  // child id of row last - 1
  EXPECT_TRUE(Heard({EVENT_OBJECT_FOCUS, run.grid, current}));
  EXPECT_TRUE(Heard({EVENT_OBJECT_SELECTION, run.grid, current}));
  EXPECT_EQ(grid.Focus(), std::vector<long>{current});
  EXPECT_EQ(grid.Selection(), std::vector<long>{current});
  const struct {
    long child;
    long state;
  } states[] = {
      {1, 0},  // the header row is neither focusable nor selectable
      {2, kRowStates | STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_INVISIBLE},  // scrolled away
      {current, kRowStates | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED},
      {current + 1, kRowStates},
  };
  for (const auto& s : states) EXPECT_EQ(grid.State(s.child), s.state) << "child " << s.child;
  POINT row_point = GridRowPoint(run.grid, last - 1);
  ::ClientToScreen(run.grid, &row_point);
  EXPECT_TRUE(Inside(grid.Location(current), row_point));
  VARIANT hit;
  ASSERT_EQ(grid->accHitTest(row_point.x, row_point.y, &hit), S_OK);
  EXPECT_EQ(Reader::Children(S_OK, &hit), std::vector<long>{current});

  // Shift+Up selects a second row: the selection names both.
  PressKeys(run.main, {VK_SHIFT, VK_UP});
  ASSERT_TRUE(WaitUntil([&] { return GridSelectionTop(run.grid) == last - 2; }));
  EXPECT_EQ(grid.Selection(), (std::vector<long>{current - 1, current}));
  EXPECT_EQ(grid.Focus(), std::vector<long>{current - 1});
  EXPECT_TRUE(Heard({EVENT_OBJECT_SELECTIONADD, run.grid, current - 1}));

  // A new record reloads the grid: one row more, named by the new address.
  SetLookupAnswer("[203.0.113.9]\r\nLorvane lookup\r\n");
  ASSERT_TRUE(CheckNow(run.main));
  ASSERT_TRUE(WaitUntil([&] { return GridRows(run.grid) == kRecords + 3; }));
  EXPECT_EQ(grid.Count(), kRecords + 3);
  EXPECT_TRUE(Heard({EVENT_OBJECT_REORDER, run.grid, CHILDID_SELF}));
  EXPECT_EQ(grid.Name(kRecords + 3), GridCell(run.grid, 0, kRecords + 2) + " " +
                                         GridCell(run.grid, 1, kRecords + 2) + " 203.0.113.9");

  // The status strip: a status bar of three texts, as the strip shows them.
  const Reader strip(::GetDlgItem(run.main, kIdStatus));
  ASSERT_TRUE(strip.Holds());
  EXPECT_EQ(strip.Role(CHILDID_SELF), ROLE_SYSTEM_STATUSBAR);
  ASSERT_EQ(strip.Count(), 3);
  const std::vector<std::string> fields = StatusFields(run.main);
  ASSERT_EQ(fields.size(), 3u);
  for (long child = 1; child <= 3; ++child) {
    EXPECT_EQ(strip.Role(child), ROLE_SYSTEM_STATICTEXT);
    EXPECT_EQ(strip.Name(child), fields[static_cast<std::size_t>(child - 1)]);
  }
  EXPECT_EQ(strip.Name(1).rfind("自動:", 0), 0u) << strip.Name(1);
  EXPECT_EQ(strip.Name(3), "行:" + std::to_string(GridCurrentRow(run.grid)) + "/" +
                               std::to_string(kRecords + 2));
  // The row count in it changed with the new record.
  EXPECT_TRUE(Heard({EVENT_OBJECT_NAMECHANGE, ::GetDlgItem(run.main, kIdStatus), 3}));

  // The reader still holds the grid as the program exits: the program ends as always, and
  // the reader's next call fails instead of reaching a window that is gone.
  EXPECT_TRUE(EndSession(&run));
  long count = 0;
  EXPECT_TRUE(FAILED(grid->get_accChildCount(&count)));
}

}  // namespace
}  // namespace lvn::e2e
