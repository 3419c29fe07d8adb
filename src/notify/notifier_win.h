// Acts on what a check recorded, as the user asked in [Notify]: balloon notices and the
// change command. The main window only hands it each check's events.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "history/local_time.h"
#include "notify/command_runner_win.h"
#include "notify/notices.h"
#include "settings/notify_settings.h"

namespace lvn {

// What the options window's test has to tell, for the window to show.
struct CommandTestReport {
  std::string Text;    // UTF-8
  std::string Output;  // the program's own bytes, shown after Text
  bool Warning = false;
};

class Notifier {
 public:
  // Shows a notice; false when it could not be shown.
  using ShowNotice = std::function<bool(const Notice&)>;

  // Before any other call. Each ended run posts message to target, which then calls
  // OnRunEnded. settings, which outlive this object, are read at each check and run, so
  // that a change takes effect at once.
  void Attach(const char* data_folder, HWND target, UINT message,
              const NotifySettings* settings, ShowNotice show);

  // After each check: its notices, and the change command for a change.
  void OnCheck(const CheckEvents& events, const LocalTime& now);
  // On the message, until it gives nothing: takes the ended runs in turn, with a failed
  // run's notice, up to the next test, whose report it gives.
  std::optional<CommandTestReport> OnRunEnded();
  // The options window's test: command with ip as the new address and no previous one.
  // The report of a command that cannot run; nothing once it is on its way.
  std::optional<CommandTestReport> RunTest(const std::string& command, const char* ip);
  // At exit.
  void Stop() { runner_.Stop(); }

 private:
  const NotifySettings* settings_ = nullptr;
  CommandRunner runner_;
  ShowNotice show_;
};

}  // namespace lvn
