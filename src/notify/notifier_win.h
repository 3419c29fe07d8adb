// Acts on what a check recorded, as the user asked in [Notify]: balloon notices and the
// change command. The main window only hands it each check's events.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "history/local_time.h"
#include "notify/command_runner_win.h"
#include "notify/notices.h"
#include "settings/notify_settings.h"

namespace lvn {

class Notifier {
 public:
  // Shows a notice; false when it could not be shown.
  using ShowNotice = std::function<bool(const Notice&)>;

  // Before any other call. Each ended run posts message to target, which then calls
  // OnRunEnded. The boxes belong to the program's active window, or to target.
  void Attach(const char* data_folder, HWND target, UINT message, ShowNotice show);

  const NotifySettings& Settings() const { return settings_; }
  // Takes effect at once: the next check, the next run.
  void SetSettings(const NotifySettings& settings) { settings_ = settings; }

  // After each check: its notices, and the change command for a change.
  void OnCheck(const CheckEvents& events, const LocalTime& now);
  // On the message: a failed run's notice; a test's outcome in a box.
  void OnRunEnded();
  // The options window's test: command with ip as the new address and no previous one. A
  // command that cannot run says why in a box.
  void RunTest(const std::string& command, const char* ip);
  // At exit.
  void Stop() { runner_.Stop(); }

 private:
  HWND BoxOwner() const;

  NotifySettings settings_;
  CommandRunner runner_;
  HWND target_ = nullptr;
  ShowNotice show_;
};

}  // namespace lvn
