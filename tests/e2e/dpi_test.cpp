// The windows at the display scale the run was started at (LVN_TEST_DPI, 96 when unset):
// every place and size is its 96-DPI figure scaled, the fonts and icons are made for the
// scale and every text shows whole. scripts/test.sh runs it again at 144 and 192 DPI.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "harness_win.h"
#include "ui/string_grid_win.h"
#include "windows/main/main_window_ids.h"
#include "windows/options/option_window_ids.h"

namespace lvn::e2e {
namespace {

UINT ExpectedDpi() {
  const int dpi = std::atoi(EnvironmentVariable("LVN_TEST_DPI").c_str());
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

// A figure of the program's layout at 96 DPI, at dpi.
int At(int n, UINT dpi) { return ::MulDiv(n, static_cast<int>(dpi), 96); }

// Seen at the program's own scale: a thread that is not DPI-aware gets other windows'
// places scaled down to 96 DPI.
class PerMonitorAware {
 public:
  PerMonitorAware()
      : old_(::SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) {}
  ~PerMonitorAware() {
    if (old_ != nullptr) ::SetThreadDpiAwarenessContext(old_);
  }
  PerMonitorAware(const PerMonitorAware&) = delete;
  PerMonitorAware& operator=(const PerMonitorAware&) = delete;

 private:
  DPI_AWARENESS_CONTEXT old_;
};

struct Place {
  int x, y, width, height;
};

// A control's place in its parent's client area.
Place PlaceOf(HWND control) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return Place{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

std::string Show(const Place& p) {
  return std::to_string(p.x) + "," + std::to_string(p.y) + " " + std::to_string(p.width) + "x" +
         std::to_string(p.height);
}

// Fonts and icons are GDI objects of the program's process, which Wine does not show to
// another one: a font is told by the text it lays out instead.

// An edit field's text but its last character, and how wide the field lays that out: from
// the first character's left edge to the last one's.
struct Span {
  std::string text;
  int width = -1;
};
Span SpanIn(HWND field) {
  Span span;
  std::wstring text = WideOf(WindowText(field));
  if (text.size() < 2) return span;
  const auto x_of = [field](std::size_t index) {
    const LRESULT at = ::SendMessageW(field, EM_POSFROMCHAR, index, 0);
    return static_cast<int>(static_cast<short>(LOWORD(at)));
  };
  span.width = x_of(text.size() - 1) - x_of(0);
  text.pop_back();
  span.text = Utf8Of(text);
  return span;
}

TEST(DisplayScale, BothWindowsAreLaidOutForTheDpi) {
  const UINT dpi = ExpectedDpi();
  PerMonitorAware aware;
  // More records than the grid shows, so that its scroll bar takes its share; the longest
  // address, which NowIp shows in a smaller size to keep it whole.
  ClearDataFolder();
  WriteDataFile("log.csv", AddressLog(30, 0));
  WriteDataFile("lvn.ini", "[Value]\r\nPrimaryKey=29\r\n");
  const std::string address = "0000:0000:0000:0000:0000:ffff:255.255.255.255";
  SetLookupAnswer("[" + address + "]");
  Session run;
  ASSERT_TRUE(StartSession(&run, 33)) << GridRows(run.grid);
  ASSERT_EQ(::GetDpiForWindow(run.main), dpi) << "Wine's LogPixels is not what the run asked";
  HWND now_ip = ::GetDlgItem(run.main, kIdNowIp);
  ASSERT_TRUE(WaitUntil([&] { return IsNowIp(WindowText(now_ip), address); }));

  RECT client{};
  ::GetClientRect(run.main, &client);
  EXPECT_EQ(client.right, At(343, dpi));
  EXPECT_EQ(client.bottom, At(430, dpi));

  // The layout's places.
  const struct {
    int id;
    Place place;
  } controls[] = {
      {kIdNowIp, {4, 4, 337, 21}},
      {kIdUpdateTime, {4, 32, 265, 21}},
      {kIdUpdate, {272, 28, 69, 29}},
      {kIdMainGrid, {5, 60, 336, 342}},
      {kIdTaskTrayIbent, {264, 432, 17, 20}},
  };
  for (const auto& c : controls) {
    const Place want{At(c.place.x, dpi), At(c.place.y, dpi), At(c.place.width, dpi),
                     At(c.place.height, dpi)};
    EXPECT_EQ(Show(PlaceOf(::GetDlgItem(run.main, c.id))), Show(want)) << c.id;
  }
  // The address lines' font at the scale: UpdateTime lays its text out as wide as the font
  // does; NowIp's text is whole, between the design size and the smallest readable one.
  const Span time = SpanIn(::GetDlgItem(run.main, kIdUpdateTime));
  EXPECT_EQ(time.width, TextWidths({time.text}, "ＭＳ ゴシック", At(-15, dpi))[0]);
  EXPECT_TRUE(ShowsWholeText(now_ip)) << WindowText(now_ip);
  const Span now = SpanIn(now_ip);
  EXPECT_LE(now.width, TextWidths({now.text}, "ＭＳ ゴシック", At(-15, dpi))[0]);
  EXPECT_GE(now.width, TextWidths({now.text}, "ＭＳ ゴシック", At(-9, dpi))[0]);

  // The grid: rows of the scaled height, as many as fit, the columns inside its client area.
  HWND grid = run.grid;
  const int pitch = At(20, dpi) + 1;
  EXPECT_EQ(static_cast<int>(::SendMessageW(grid, ui::kGridMsgGetRowHeight, 0, 0)), At(20, dpi));
  RECT grid_client{};
  ::GetClientRect(grid, &grid_client);
  EXPECT_EQ(GridVisibleRows(grid), (grid_client.bottom - pitch) / pitch);
  EXPECT_EQ(::SendMessageW(grid, ui::kGridMsgGetColWidth, 0, 0), At(100, dpi));
  EXPECT_EQ(::SendMessageW(grid, ui::kGridMsgGetColWidth, 1, 0), At(75, dpi));
  const LRESULT third = ::SendMessageW(grid, ui::kGridMsgGetColWidth, 2, 0);
  EXPECT_GT(third, At(100, dpi));
  EXPECT_LE(At(175, dpi) + third + 3, grid_client.right);
  // A click in the middle of a row makes that row current.
  const int row = GridTopRow(grid) + 2;
  ClickAt(grid, GridRowPoint(grid, row));
  EXPECT_TRUE(WaitUntil([&] { return GridCurrentRow(grid) == row; })) << GridCurrentRow(grid);

  // The status strip: each field wide enough for its text, inside the window's client area.
  HWND status = ::GetDlgItem(run.main, kIdStatus);
  const Place strip = PlaceOf(status);
  EXPECT_EQ(strip.x, At(3, dpi));
  EXPECT_EQ(strip.y, At(407, dpi));
  EXPECT_EQ(strip.height, At(20, dpi));
  const std::vector<std::string> fields = StatusFields(run.main);
  ASSERT_EQ(fields.size(), 3u);
  int needed = At(2, dpi);
  // The strip's font: MS Gothic, cell height 12 at 96 DPI.
  for (int width : TextWidths(fields, "MS Gothic", At(12, dpi), FIXED_PITCH | FF_MODERN)) {
    needed += width + At(12, dpi) + At(2, dpi);
  }
  EXPECT_GE(strip.width, needed);
  EXPECT_LE(strip.x + strip.width, client.right);

  // The options window: its client area, a few controls and its font, all of it on the
  // screen.
  ASSERT_TRUE(::PostMessageW(run.main, WM_COMMAND, kCmdOptions, 0));
  HWND options = WaitForWindow(run.program.Id(), "TfrmOption");
  ASSERT_NE(options, nullptr);
  ::GetClientRect(options, &client);
  EXPECT_EQ(client.right, At(366, dpi));
  EXPECT_EQ(client.bottom, At(239, dpi));
  const struct {
    int id;
    Place place;
  } option_controls[] = {
      {kIdSectionTree, {0, 8, 73, 193}},
      {kIdViewGroup, {88, 80, 273, 121}},
      {kIdViewCheck, {96, 96, 249, 33}},
      {kIdOptionOk, {240, 208, 121, 25}},
      {kIdCommandEdit, {96, 120, 257, 21}},
  };
  for (const auto& c : option_controls) {
    const Place want{At(c.place.x, dpi), At(c.place.y, dpi), At(c.place.width, dpi),
                     At(c.place.height, dpi)};
    EXPECT_EQ(Show(PlaceOf(::GetDlgItem(options, c.id))), Show(want)) << c.id;
  }
  HWND command = ::GetDlgItem(options, kIdCommandEdit);
  ::SendMessageW(command, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"notify.cmd 通知"));
  const Span command_span = SpanIn(command);
  EXPECT_EQ(command_span.width,
            TextWidths({command_span.text}, "ＭＳ Ｐゴシック", At(-12, dpi))[0]);
  RECT frame{};
  ::GetWindowRect(options, &frame);
  EXPECT_LE(frame.right, ::GetSystemMetrics(SM_CXSCREEN));
  EXPECT_LE(frame.bottom, ::GetSystemMetrics(SM_CYSCREEN));
  EXPECT_GE(frame.left, 0);
  EXPECT_GE(frame.top, 0);

  EXPECT_TRUE(EndSession(&run));
}

}  // namespace
}  // namespace lvn::e2e
