// The main window, TfrmMain: its controls, and the model whose answers it carries out:
// the lookups it starts, their results on the screen, in the notices and in the tray.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "check/main_model_win.h"
#include "check/update_runner_win.h"
#include "notify/notifier_win.h"
#include "ui/dpi_win.h"
#include "ui/window_win.h"
#include "util/scoped_win.h"
#include "util/texts.h"
#include "windows/main/boxes_win.h"
#include "windows/main/check_scheduler_win.h"
#include "windows/main/history_grid_win.h"
#include "windows/main/main_controls_win.h"
#include "windows/main/status_strip_win.h"
#include "windows/main/tray_icon_win.h"
#include "windows/options/option_window_win.h"

namespace lvn {

class TfrmMain final : public ui::Window, private OptionHost {
 public:
  static constexpr char kClassName[] = "TfrmMain";
  // At 96 DPI; the window scales them for its own.
  static constexpr int kClientWidth = 343;
  static constexpr int kClientHeight = 430;

  TfrmMain() = default;
  ~TfrmMain() override;

  static bool RegisterWindowClass();
  // Finds the data folder and reads lvn.ini, before any window: the interface language is
  // chosen from it. False, with no settings, when the file exists but cannot be read.
  bool ReadSettingsFile() { return model_.ReadSettingsFile(); }
  // [View] Language as the settings have it; empty when unset or unread.
  std::string LanguageSetting() const { return model_.Current().Language; }
  // Builds the window from its layout and its settings and starts the first lookup. False
  // with *error set when the settings file could not be read.
  bool Create(std::string* error);
  // Shows the window, or with to_tray only the notification-area icon, as a start at
  // logon asks; a shell that refuses the icon gets the window minimized instead.
  void Show(bool to_tray);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  bool BuildLayout();
  // The frame the window has (its menu bar included once it exists).
  ui::FrameArgs Frame() const;
  // Fonts, places, the grid's rows and columns, the status strip, NowIp and the icons for a
  // display of dpi, the window's frame sized for it at top_left when given; drawn once at
  // the end. False, with the old fonts and icons kept, when a font cannot be made.
  bool ApplyDpi(UINT dpi, const POINT* top_left);
  void ShowIntervalStatus();
  // On the check timer and the Update button.
  void StartLookup();
  // The scheduler's answer to one of the window's messages; false for a message that is
  // not its.
  bool OnSchedule(UINT message, WPARAM wparam);
  // What the model made of a lookup's result, on the screen and in the notices.
  void ShowCheck(const MainModel::CheckApplied& applied, const LocalTime& now);
  void ReloadHistoryGrid() { history_grid_.Reload(!FirstShowDone); }
  void FormShow();
  bool FormCloseQuery();
  // session_ends: the logon ends, and no box can wait for an answer.
  void FormDestroy(bool session_ends);
  void RestoreFromTray();
  void OnCommand(int id);
  void ExitAppClick();
  // The open options window to the front, or a new one.
  void SetOptClick();
  bool OptionWindowOpen() const;

  // OptionHost
  int32_t CurrentCheckInterval() const override { return model_.Current().Value.CheckInterval; }
  void ChangeCheckInterval(int32_t interval_ms) override;
  ViewSwitches Views() const override { return model_.Views(); }
  void ChangeViews(ViewSwitches views) override;
  void OptionWindowClosed() override;
  NotifySettings CurrentNotify() const override { return model_.Current().Notify; }
  void ChangeNotify(const NotifySettings& settings) override;
  void TestCommand(const std::string& command) override;
  std::string CurrentLookupUrl() const override { return model_.Current().Value.LookupUrl; }
  // Shows the new host in the status strip, laid out anew so that a longer one fits.
  void ChangeLookupUrl(const std::string& url) override;
  LookupSettings CurrentLookup() const override { return model_.Current().Lookup; }
  void ChangeLookup(const LookupSettings& settings) override;
  int LanguageChoice() const override { return texts::LanguageChoiceOf(LanguageSetting()); }
  void ChangeLanguageChoice(int choice) override;
  const UpdateTargets& CurrentTargets() const override { return model_.Current().Targets; }
  std::string TargetStatusOf(std::size_t slot) const override { return TargetStatus(slot); }
  // Saved at once; a stop or a retry the target was under ends with it (TargetEdited).
  bool ChangeTarget(std::size_t slot, const std::optional<UpdateTarget>& target,
                    const std::optional<std::string>& secret) override;
  void TestSendTo(std::size_t slot, HWND owner) override { TestTargetSend(slot, owner); }

  // The update targets' sends: what the last one of slot came to, or why it does not
  // send; and the options' test send, whose result a box owned by owner shows.
  std::string TargetStatus(std::size_t slot) const;
  void TestTargetSend(std::size_t slot, HWND owner);
  // The options changed slot's target (saved already): a stop or a retry of it ends.
  void TargetEdited(std::size_t slot);
  // After a check: the targets' sends, or the line of an address left unconfirmed.
  void SendToTargets(const CheckOutcome& outcome, const LocalTime& now);
  // The runner's message and timer; false for any other message.
  bool OnUpdateMessage(UINT message, WPARAM wparam);
  // At the first show: the user is told of targets whose secret cannot be read.
  void TellHeldTargets();

  // The settings, the history and what a check does to them.
  MainModel model_;
  bool ExitRequested = false;
  // The first FormShow has run: the start is recorded and the tray icon wanted.
  bool FirstShowDone = false;
  std::unique_ptr<TStatus> StatusStrip;

  // The controls, children destroyed with this window.
  MainControls controls_;
  HistoryGrid history_grid_{&controls_.MainGrid, &model_};
  TrayIcon tray_;
  UINT dpi_ = ui::kDesignDpi;
  // Exists while the options window does: from the Settings command until it is closed.
  std::unique_ptr<TfrmOption> option_window_;
  // The periodic check, the running lookup and the checks after network events.
  CheckScheduler scheduler_;
  // The notices and the change command, as [Notify] asks.
  Notifier notifier_;
  // The update targets' sends, and the owners of the test boxes they owe.
  UpdateRunner updates_;
  std::array<HWND, kMaxTargets> test_box_owners_{};
  // A check of this run has found an address: the DNS targets have been brought up to it.
  bool targets_checked_ = false;
  // Set once FormDestroy began: results that arrive after that are not handled.
  bool destroying_ = false;
  // Set when construction completed; a window that failed to build records nothing.
  bool created_ = false;
  bool end_recorded_ = false;
  // What the window's message to itself stands for; a copy from elsewhere finds it unset.
  bool grid_focus_due_ = false;
};

}  // namespace lvn
