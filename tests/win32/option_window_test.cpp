#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <memory>
#include <thread>
#include <string>

#include "test_paths.h"
#include "ui/application_win.h"
#include "util/wide_text_win.h"
#include "windows/options/option_window_ids.h"
#include "windows/options/option_window_win.h"

namespace lvn {
namespace {

struct RecordingHost : OptionHost {
  int32_t CurrentCheckInterval() const override { return 60000; }
  void ChangeCheckInterval(int32_t) override {}
  ViewSwitches Views() const override { return {}; }
  void ChangeViews(ViewSwitches) override {}
  void OptionWindowClosed() override { ++closed; }
  NotifySettings CurrentNotify() const override { return notify; }
  void ChangeNotify(const NotifySettings& settings) override { notify = settings; }
  void TestCommand(const std::string&) override {}
  std::string CurrentLookupUrl() const override { return url; }
  void ChangeLookupUrl(const std::string& new_url) override { url = new_url; }
  LookupSettings CurrentLookup() const override { return {}; }
  void ChangeLookup(const LookupSettings&) override {}
  int LanguageChoice() const override { return 0; }
  void ChangeLanguageChoice(int) override {}
  const UpdateTargets& CurrentTargets() const override { return targets; }
  std::string TargetStatusOf(std::size_t) const override { return {}; }
  bool ChangeTarget(std::size_t, const std::optional<UpdateTarget>&,
                    const std::optional<std::string>&) override { return true; }
  void TestSendTo(std::size_t, HWND) override {}
  UpdateTargets targets{};
  int closed = 0;
  NotifySettings notify{.Command = "old.exe"};
  std::string url = "http://h/";
};

// The window class, registered once for every test here.
bool Registered() {
  if (ui::ApplicationInstance() == nullptr) ui::InitializeApplication(::GetModuleHandleA(nullptr));
  static const bool registered = TfrmOption::RegisterWindowClass();
  return registered;
}

// The owner keeps the window's object only while the window exists, and learns of its end
// from the window itself, whether the user closed it or the owner let the object go.
TEST(OptionWindow, TellsItsHostOfItsEndHoweverItEnds) {
  ASSERT_TRUE(Registered());

  RecordingHost closed_by_user;
  auto window = std::make_unique<TfrmOption>(&closed_by_user);
  ASSERT_TRUE(window->Create(nullptr));
  ::SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(closed_by_user.closed, 1);
  EXPECT_EQ(window->Handle(), nullptr);
  window.reset();
  EXPECT_EQ(closed_by_user.closed, 1);

  RecordingHost let_go;
  window = std::make_unique<TfrmOption>(&let_go);
  ASSERT_TRUE(window->Create(nullptr));
  const HWND handle = window->Handle();
  window.reset();
  EXPECT_EQ(let_go.closed, 1) << "the window's last messages reached the whole object";
  EXPECT_FALSE(::IsWindow(handle));
}

// Messages whose parameters are pointers, sent from another thread (as another program's
// would come, were they carried across) or posted, are not read: the window lives on, and
// its own tree still switches the pages, also when another thread selects its item (as a
// screen reader in another process does).
TEST(OptionWindow, IgnoresPointerMessagesFromElsewhere) {
  ASSERT_TRUE(Registered());
  RecordingHost host;
  TfrmOption window(&host);
  ASSERT_TRUE(window.Create(nullptr));
  const HWND self = window.Handle();
  const UINT dpi = ::GetDpiForWindow(self);
  struct Foreign {
    UINT message;
    WPARAM wparam;
  };
  static const Foreign kForeign[] = {
      {WM_NOTIFY, 0}, {WM_DPICHANGED, MAKEWPARAM(dpi * 2, dpi * 2)}, {WM_NCCREATE, 0}};
  std::atomic<bool> sent{false};
  std::thread sender([&] {
    for (const Foreign& f : kForeign) {
      DWORD_PTR result = 0;
      ::SendMessageTimeoutA(self, f.message, f.wparam, 1, SMTO_BLOCK, 5000, &result);
    }
    sent = true;
  });
  for (const Foreign& f : kForeign) ::PostMessageA(self, f.message, f.wparam, 1);
  EXPECT_TRUE(test::PumpUntil([&] { return sent.load(); }));
  sender.join();
  ASSERT_TRUE(::IsWindow(self));

  HWND tree = ::GetDlgItem(self, kIdSectionTree);
  const auto second = reinterpret_cast<LPARAM>(::SendMessageA(
      tree, TVM_GETNEXTITEM, TVGN_NEXT, ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)));
  std::atomic<bool> selected{false};
  std::thread selector([&] {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(tree, TVM_SELECTITEM, TVGN_CARET, second, SMTO_BLOCK, 5000, &result);
    selected = true;
  });
  EXPECT_TRUE(test::PumpUntil([&] { return selected.load(); }));
  selector.join();
  const auto shown = [self](int id) {
    return (::GetWindowLongA(::GetDlgItem(self, id), GWL_STYLE) & WS_VISIBLE) != 0;
  };
  EXPECT_TRUE(shown(kIdNoticeGroup));
  EXPECT_FALSE(shown(kIdViewGroup));
}

// A move to a screen of another DPI lays the window out for it, its pages' controls too,
// and a move back gives every figure it had.
TEST(OptionWindow, TakesTheLayoutOfEachDpiItIsMovedTo) {
  ASSERT_TRUE(Registered());
  RecordingHost host;
  TfrmOption window(&host);
  ASSERT_TRUE(window.Create(nullptr));
  const HWND self = window.Handle();

  const auto place_of = [self](int id) {
    RECT rect{};
    ::GetWindowRect(::GetDlgItem(self, id), &rect);
    ::MapWindowPoints(nullptr, self, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  };
  const auto font_height = [self](int id) {
    LOGFONTA font{};
    const auto handle = reinterpret_cast<HFONT>(::SendDlgItemMessageA(self, id, WM_GETFONT, 0, 0));
    return ::GetObjectA(handle, sizeof font, &font) == sizeof font ? font.lfHeight : 0;
  };
  const auto at = [](int n, UINT dpi) { return ::MulDiv(n, static_cast<int>(dpi), 96); };
  const RECT first_spin = place_of(kIdTimeoutSpin);
  for (const UINT dpi : {144u, 192u, 96u}) {
    RECT frame{};
    ::GetWindowRect(self, &frame);
    const POINT top_left{frame.left, frame.top};
    ASSERT_TRUE(window.ApplyDpi(dpi, &top_left));

    // The width only: the caption stays at the size of the DPI the window really has.
    RECT client{};
    ::GetClientRect(self, &client);
    EXPECT_EQ(client.right, at(366, dpi)) << dpi;
    const struct {
      int id;
      RECT place;
      int font;
    } controls[] = {
        {kIdSectionTree, {0, 8, 73, 201}, -15},
        {kIdOptionOk, {240, 208, 361, 233}, -12},
        {kIdViewCheck, {96, 96, 345, 129}, -12},
        // On the hidden pages.
        {kIdUrlEdit, {96, 48, 353, 69}, -12},
    };
    for (const auto& c : controls) {
      const RECT place = place_of(c.id);
      EXPECT_EQ(place.left, at(c.place.left, dpi)) << dpi << " " << c.id;
      EXPECT_EQ(place.top, at(c.place.top, dpi)) << dpi << " " << c.id;
      EXPECT_EQ(place.right, at(c.place.right, dpi)) << dpi << " " << c.id;
      EXPECT_EQ(place.bottom, at(c.place.bottom, dpi)) << dpi << " " << c.id;
      EXPECT_EQ(font_height(c.id), at(c.font, dpi)) << dpi << " " << c.id;
    }
    // The timeout's spin box at the right end of its field's place (over the field's
    // border), as tall as the field.
    const RECT spin = place_of(kIdTimeoutSpin);
    EXPECT_NEAR(spin.right, at(306, dpi), 2) << dpi;
    EXPECT_EQ(spin.top, at(148, dpi)) << dpi;
    EXPECT_EQ(spin.bottom, at(169, dpi)) << dpi;
    if (dpi == 96) {
      EXPECT_EQ(spin.left, first_spin.left);
      EXPECT_EQ(spin.right, first_spin.right);
    }
  }
}

// A field's text is taken when the field is left or OK is pressed, unless it cannot be kept:
// then what is in use stays, the window stays open, and a balloon beside the field says why.
TEST(OptionWindow, FieldsTakeOnlyWhatTheSettingsCanKeep) {
  ASSERT_TRUE(Registered());
  const struct {
    int page;  // the tree's item
    int field;
    const wchar_t* text;
    bool by_ok;  // else the field is left
    bool taken;
  } kCases[] = {
      {2, kIdUrlEdit, L"ftp://h/", false, false},
      // "ł" has no form in code page 932, lvn.ini's.
      {1, kIdCommandEdit, L"C:\\Tools\\\u0142.exe %IP%", false, false},
      {1, kIdCommandEdit, L"C:\\Tools\\\u0142.exe %IP%", true, false},
      {1, kIdCommandEdit, L"\"C:\\\u30C4\u30FC\u30EB\\\u901A\u77E5.exe\" %IP%", true, true},
  };
  for (const auto& c : kCases) {
    RecordingHost host;
    TfrmOption window(&host);
    ASSERT_TRUE(window.Create(nullptr));
    window.Show();
    const HWND self = window.Handle();
    HWND tree = ::GetDlgItem(self, kIdSectionTree);
    LPARAM item = ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    for (int i = 0; i < c.page; ++i) item = ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, item);
    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, item);
    HWND field = ::GetDlgItem(self, c.field);
    ::SetFocus(field);
    ::SetWindowTextW(field, c.text);
    if (c.by_ok) {
      ::SendMessageW(self, WM_COMMAND, MAKEWPARAM(kIdOptionOk, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(self, kIdOptionOk)));
    } else {
      ::SetFocus(tree);
    }
    const std::string text = Utf8Of(c.text);
    const auto in_use = [&c](const RecordingHost& h) {
      return c.field == kIdUrlEdit ? h.url : h.notify.Command;
    };
    EXPECT_EQ(in_use(host), c.taken ? text : in_use(RecordingHost{})) << text;
    const auto balloon_shown = [self] {
      for (HWND tip = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); tip != nullptr;
           tip = ::FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) {
        if (::IsWindowVisible(tip) && ::GetWindowThreadProcessId(tip, nullptr) ==
                                          ::GetWindowThreadProcessId(self, nullptr)) {
          return true;
        }
      }
      return false;
    };
    EXPECT_EQ(test::PumpUntil(balloon_shown, c.taken ? 500 : 5000), !c.taken) << text;
    EXPECT_EQ(::IsWindow(self) != FALSE, !(c.by_ok && c.taken)) << text;
  }
}

}  // namespace
}  // namespace lvn
