#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "ui/application_win.h"
#include "windows/options/option_window_win.h"

namespace lvn {
namespace {

struct RecordingHost : OptionHost {
  int32_t CurrentCheckInterval() const override { return 60000; }
  void ChangeCheckInterval(int32_t) override {}
  ViewSwitches Views() const override { return {}; }
  void ChangeViews(ViewSwitches) override {}
  void OptionWindowClosed() override { ++closed; }
  NotifySettings CurrentNotify() const override { return {}; }
  void ChangeNotify(const NotifySettings&) override {}
  void TestCommand(const std::string&) override {}
  std::string CurrentLookupUrl() const override { return "http://h/"; }
  void ChangeLookupUrl(const std::string&) override {}
  LookupSettings CurrentLookup() const override { return {}; }
  void ChangeLookup(const LookupSettings&) override {}
  int closed = 0;
};

// The owner keeps the window's object only while the window exists, and learns of its end
// from the window itself, whether the user closed it or the owner let the object go.
TEST(OptionWindow, TellsItsHostOfItsEndHoweverItEnds) {
  if (ui::ApplicationInstance() == nullptr) ui::InitializeApplication(::GetModuleHandleA(nullptr));
  static const bool registered = TfrmOption::RegisterWindowClass();
  ASSERT_TRUE(registered);

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

}  // namespace
}  // namespace lvn
