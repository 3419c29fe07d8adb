#include "ui/string_grid_win.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/application_win.h"
#include "ui/gdi_scope_win.h"

namespace lvn::ui {
namespace {

constexpr int kPitch = GridModel::kDefaultRowHeight + GridModel::kLineWidth;

// Cells kept in a map, as a grid's owner might keep them; the rest are empty.
class MapSource : public GridCellSource {
 public:
  int rows = 31;
  int cols = 3;
  std::map<std::pair<int, int>, std::string> texts;  // (col, row)
  mutable int asked = 0;

  int GridRowCount() const override { return rows; }
  int GridColCount() const override { return cols; }
  void GridCellText(int col, int row, std::string* text) const override {
    ++asked;
    const auto found = texts.find({col, row});
    *text = found == texts.end() ? std::string() : found->second;
  }
};

// A hidden grid sized as the main window's: 336 x 342 with a client edge, so 15 data rows
// fit below the header; 30 data rows.
class StringGridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ApplicationInstance() == nullptr) InitializeApplication(::GetModuleHandleW(nullptr));
    StringGridArgs args;
    args.style = WS_POPUP;
    args.width = 336;
    args.height = 342;
    ASSERT_TRUE(grid_.Create(args));
    grid_.SetSource(&source_, 1);
  }
  // The source now has this many rows.
  void SetRowCount(int rows) {
    source_.rows = rows;
    grid_.SetSource(&source_, 1);
  }

  LRESULT Send(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    return ::SendMessageW(grid_.Handle(), message, wparam, lparam);
  }
  // The middle of a data row in view.
  LPARAM RowPoint(int x, int row) const {
    return MAKELPARAM(x, kPitch + (row - grid_.TopRow()) * kPitch + kPitch / 2);
  }

  MapSource source_;
  StringGrid grid_;
};

// A reader in the program's own apartment holds the grid's object itself, not a proxy: once
// the grid is gone, the object must answer without touching it.
TEST(StringGridAccess, AReaderThatOutlivesTheGridIsToldItIsGone) {
  const ComApartment apartment;
  if (ApplicationInstance() == nullptr) InitializeApplication(::GetModuleHandleW(nullptr));
  MapSource source;
  source.texts = {{{0, 1}, "2026/12/08"}, {{1, 1}, "18:18:31"}, {{2, 1}, "  203.0.113.1"}};
  auto grid = std::make_unique<StringGrid>();
  StringGridArgs args;
  args.style = WS_POPUP;
  args.width = 336;
  args.height = 342;
  ASSERT_TRUE(grid->Create(args));
  grid->SetSource(&source, 1);
  IAccessible* reader = nullptr;
  ASSERT_EQ(::AccessibleObjectFromWindow(grid->Handle(), static_cast<DWORD>(OBJID_CLIENT),
                                         __uuidof(IAccessible), reinterpret_cast<void**>(&reader)),
            S_OK);
  VARIANT row{};
  V_VT(&row) = VT_I4;
  V_I4(&row) = 2;
  BSTR name = nullptr;
  ASSERT_EQ(reader->get_accName(row, &name), S_OK);
  EXPECT_EQ(std::wstring(name), L"2026/12/08 18:18:31 203.0.113.1");
  ::SysFreeString(name);

  grid.reset();
  LONG count = 0;
  EXPECT_EQ(reader->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(reader->get_accName(row, &name), CO_E_OBJNOTCONNECTED);
  VARIANT focus;
  EXPECT_EQ(reader->get_accFocus(&focus), CO_E_OBJNOTCONNECTED);
  reader->Release();
}

TEST_F(StringGridTest, MessagesReportWhatTheProgramSet) {
  grid_.SetColWidth(1, 75);
  EXPECT_TRUE(grid_.SetRow(30));
  const LRESULT cases[][3] = {
      // message, wParam, result
      {kGridMsgGetRowCount, 0, 31},         {kGridMsgGetFixedRows, 0, 1},
      {kGridMsgGetRow, 0, 30},              {kGridMsgGetSelectionTop, 0, 30},
      {kGridMsgGetSelectionBottom, 0, 30},  {kGridMsgGetTopRow, 0, 16},  // just far enough
      {kGridMsgGetVisibleRows, 0, 15},      {kGridMsgGetColCount, 0, 3},
      {kGridMsgGetColWidth, 1, 75},         {kGridMsgGetColWidth, 2, 100},
      {kGridMsgGetColWidth, 3, -1},         {kGridMsgGetColWidth, -1, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Send(static_cast<UINT>(c[0]), static_cast<WPARAM>(c[1])), c[2]) << c[0] - WM_USER;
  }
  grid_.SetSelection(1, 30, 30);
  EXPECT_EQ(Send(kGridMsgGetSelectionTop), 1);
  // The scroll bar shows only while the rows do not fit, and narrows the client area.
  const auto client_width = [&] {
    RECT client{};
    ::GetClientRect(grid_.Handle(), &client);
    return client.right;
  };
  EXPECT_EQ(client_width(), 332 - ::GetSystemMetrics(SM_CXVSCROLL));
  SetRowCount(16);
  EXPECT_EQ(client_width(), 332);
  SetRowCount(1);
  EXPECT_EQ(Send(kGridMsgGetFixedRows), 0);
  EXPECT_EQ(Send(kGridMsgGetRow), 0);
}

TEST_F(StringGridTest, SelectCellComesBeforeEveryMoveToAnotherRow) {
  struct Event {
    int col, row, row_during_event;
    bool operator==(const Event&) const = default;
  };
  std::vector<Event> events;
  grid_.on_select_cell = [&](int col, int row) { events.push_back({col, row, grid_.Row()}); };
  const auto click = [&](WPARAM keys, LPARAM at) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
    Send(WM_LBUTTONUP, 0, at);
  };
  const struct {
    const char* label;
    std::function<void()> act;
    std::vector<Event> want;
    int row;
    RowRange selection;
  } cases[] = {
      {"SetRow", [&] { grid_.SetRow(5); }, {{0, 5, 1}}, 5, {5, 5}},
      {"SetRow to the current row", [&] { grid_.SetRow(5); }, {}, 5, {5, 5}},
      {"SetRow to the header", [&] { EXPECT_FALSE(grid_.SetRow(0)); }, {}, 5, {5, 5}},
      {"down key", [&] { Send(WM_KEYDOWN, VK_DOWN); }, {{0, 6, 5}}, 6, {6, 6}},
      {"end key", [&] { Send(WM_KEYDOWN, VK_END); }, {{0, 30, 6}}, 30, {30, 30}},
      {"click in column 2", [&] { click(0, RowPoint(250, 20)); }, {{2, 20, 30}}, 20, {20, 20}},
      {"shift+click", [&] { click(MK_SHIFT, RowPoint(10, 18)); }, {{0, 18, 20}}, 18, {18, 20}},
      {"drag below the view: one row at a time",
       [&] {
         Send(WM_LBUTTONDOWN, MK_LBUTTON, RowPoint(10, 29));
         Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 400));
         Send(WM_LBUTTONUP, 0, MAKELPARAM(10, 400));
         Send(WM_MOUSEMOVE, 0, RowPoint(10, 25));
       },
       {{0, 29, 18}, {0, 30, 29}}, 30, {29, 30}},
      {"select all", [&] { grid_.SetSelection(1, 30, 30); }, {}, 30, {1, 30}},
      {"shrinking", [&] { SetRowCount(10); }, {}, 9, {1, 9}},
  };
  for (const auto& c : cases) {
    events.clear();
    c.act();
    EXPECT_EQ(events, c.want) << c.label;
    EXPECT_EQ(grid_.Row(), c.row) << c.label;
    EXPECT_EQ(grid_.Selection(), c.selection) << c.label;
  }
}

TEST_F(StringGridTest, TheOwnerSeesKeysFirstAndMayConsumeOrReplaceThem) {
  struct Seen {
    WORD key;
    bool shift, ctrl, alt;
    bool operator==(const Seen&) const = default;
  };
  std::vector<Seen> seen;
  int replace_with = -1;
  grid_.on_key_down = [&](WORD& key, bool shift, bool ctrl, bool alt) {
    seen.push_back({key, shift, ctrl, alt});
    if (replace_with >= 0) key = static_cast<WORD>(replace_with);
  };
  grid_.SetRow(10);
  const struct {
    UINT message;
    WORD key;
    std::vector<BYTE> held;  // in this thread's keyboard state, which the grid reads
    int replace_with;
    Seen want_seen;
    int row;
    RowRange selection;
  } cases[] = {
      {WM_KEYDOWN, VK_DOWN, {}, -1, {VK_DOWN, false, false, false}, 11, {11, 11}},
      {WM_KEYDOWN, VK_DOWN, {VK_CONTROL}, 0, {VK_DOWN, false, true, false}, 11, {11, 11}},
      {WM_KEYDOWN, VK_DOWN, {}, VK_HOME, {VK_DOWN, false, false, false}, 1, {1, 1}},
      {WM_KEYDOWN, VK_NEXT, {VK_SHIFT}, -1, {VK_NEXT, true, false, false}, 16, {1, 16}},
      {WM_SYSKEYDOWN, VK_UP, {VK_MENU}, -1, {VK_UP, false, false, true}, 16, {1, 16}},
      {WM_SYSKEYDOWN, VK_F4, {VK_MENU}, 0, {VK_F4, false, false, true}, 16, {1, 16}},
  };
  BYTE saved[256];
  ASSERT_TRUE(::GetKeyboardState(saved));
  for (const auto& c : cases) {
    const std::string label = std::to_string(&c - cases);
    seen.clear();
    replace_with = c.replace_with;
    BYTE state[256];
    std::copy(std::begin(saved), std::end(saved), state);
    for (BYTE key : c.held) state[key] = 0x80;
    ::SetKeyboardState(state);
    Send(c.message, c.key, c.message == WM_SYSKEYDOWN ? (KF_ALTDOWN << 16) | 1 : 1);
    ::SetKeyboardState(saved);
    ASSERT_EQ(seen.size(), 1u) << label;
    EXPECT_EQ(seen[0], c.want_seen) << label;
    EXPECT_EQ(grid_.Row(), c.row) << label;
    EXPECT_EQ(grid_.Selection(), c.selection) << label;
  }
  EXPECT_EQ(Send(WM_GETDLGCODE), DLGC_WANTARROWS);
}

TEST_F(StringGridTest, GetTextReadsTheQueryCellInUtf16) {
  source_.texts[{0, 0}] = "日付";
  source_.texts[{2, 3}] = "  通信😀";  // six UTF-16 units, the last two a surrogate pair
  const auto get_text = [&](std::size_t capacity) {
    std::vector<wchar_t> buffer(capacity + 1, L'#');
    const auto length = static_cast<std::size_t>(
        Send(WM_GETTEXT, capacity, reinterpret_cast<LPARAM>(buffer.data())));
    EXPECT_EQ(buffer[capacity], L'#') << "wrote past the capacity";
    return capacity == 0 ? std::wstring(L"-") : std::wstring(buffer.data(), length);
  };
  EXPECT_EQ(get_text(100), L"日付") << "the query cell starts at 0, 0";
  ASSERT_EQ(Send(kGridMsgSetQueryCell, 2, 3), TRUE);
  EXPECT_EQ(Send(WM_GETTEXTLENGTH), 6);
  EXPECT_EQ(get_text(7), L"  通信😀");
  EXPECT_EQ(get_text(6), L"  通信") << "no half of a surrogate pair";
  EXPECT_EQ(get_text(0), L"-");
  EXPECT_EQ(Send(kGridMsgSetQueryCell, 3, 0), FALSE);
  EXPECT_EQ(Send(kGridMsgSetQueryCell, 0, 31), FALSE);

  SetRowCount(3);
  EXPECT_EQ(Send(WM_GETTEXTLENGTH), 0) << "a cell that left the grid";
}

TEST_F(StringGridTest, PaintsHeaderSelectionAndGridLines) {
  grid_.SetSelection(2, 4, 3);
  grid_.SetTopRow(2);
  const HDC screen = ::GetDC(nullptr);
  ScopedCreatedDc memory(::CreateCompatibleDC(screen));
  ScopedBitmap bitmap(::CreateCompatibleBitmap(screen, 340, 340));
  ::ReleaseDC(nullptr, screen);
  ScopedSelect select(memory.Get(), bitmap.Get());
  Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE), line = ::GetSysColor(COLOR_BTNSHADOW),
                 selected = ::GetSysColor(COLOR_HIGHLIGHT);
  // Rows 2 .. 4 are the first three data rows in view; columns have lines at 100, 201, 302.
  const struct {
    int x, y;
    COLORREF want;
  } cases[] = {
      {50, 10, face},          {90, kPitch, selected},     {90, 4 * kPitch - 2, selected},
      {90, 4 * kPitch - 1, line}, {90, 4 * kPitch + 10, face}, {100, 30, line},
      {302, 30, line},         {308, 30, face},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(::GetPixel(memory.Get(), c.x, c.y), c.want) << c.x << "," << c.y;
  }

  // A long history costs a paint no more than a short one: only the rows in view are asked.
  SetRowCount(100001);
  grid_.SetTopRow(50000);
  source_.asked = 0;
  Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT);
  EXPECT_GT(source_.asked, 0);
  EXPECT_LE(source_.asked, (1 + 17) * 3);
}

}  // namespace
}  // namespace lvn::ui
