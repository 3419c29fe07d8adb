// The main window, TfrmMain: owns the program's run-time state, starts the lookups and
// turns their results into the display, the history and the settings.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "check/check_cycle.h"
#include "history/history_win.h"
#include "notify/notifier_win.h"
#include "settings/ini_file.h"
#include "settings/lookup_settings.h"
#include "settings/settings.h"
#include "ui/dpi_win.h"
#include "ui/fitted_line_win.h"
#include "ui/image_win.h"
#include "ui/string_grid_win.h"
#include "ui/window_win.h"
#include "util/scoped_win.h"
#include "windows/main/boxes_win.h"
#include "windows/main/check_scheduler_win.h"
#include "windows/main/history_grid_win.h"
#include "windows/main/status_strip_win.h"
#include "windows/main/tray_icon_win.h"
#include "windows/options/option_window_win.h"

namespace lvn {

class TfrmMain final : public ui::Window,
                       private OptionHost,
                       private CheckCycleHost,
                       private HistoryGrid::Host {
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
  bool ReadSettingsFile();
  // [View] Language as the settings have it; empty when unset or unread.
  std::string LanguageSetting() const;
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
  // The member that holds the control with this layout id; null for an id without one.
  HWND* ControlHandle(int id);
  void ShowIntervalStatus();
  // The settings read into the window's state.
  void LoadSettings();
  void SaveSettings();
  // The whole state into the settings, and the file written.
  void SaveAllSettings();
  // On the check timer and the Update button.
  void StartLookup();
  // The scheduler's answer to one of the window's messages; false for a message that is
  // not its.
  bool OnSchedule(UINT message, WPARAM wparam, LPARAM lparam);
  void FormShow();
  bool FormCloseQuery();
  // session_ends: the logon ends, and no box can wait for an answer.
  void FormDestroy(bool session_ends);
  // The folder of lorvane.exe, with its "\"; empty when unknown.
  static std::string ProgramFolder();
  // Whether a file can be made in folder (with its "\\").
  static bool FolderTakesFiles(const std::string& folder);
  void RestoreFromTray();
  void OnCommand(int id);
  void ExitAppClick();
  // The open options window to the front, or a new one.
  void SetOptClick();
  bool OptionWindowOpen() const;

  // HistoryGrid::Host
  HWND CommandWindow() const override { return Handle(); }
  ViewSwitches Views() const override { return {ViewCheckStart, ViewConnectError, ViewOff}; }
  void ReloadHistoryGrid() override;
  void ShowRowStatus(const char* text) override;

  // CheckCycleHost
  void RecordEvent(int32_t code, const char* text, const LocalTime& time) override;
  int32_t LastEventCode() const override;
  void ShowNowIp(const char* text) override;
  void ShowUpdateTime(const char* text) override;
  void EnableUpdate() override;
  void SaveAddressChange(const char* last_ip, const char* last_change) override;

  // OptionHost
  int32_t CurrentCheckInterval() const override { return CheckInterval; }
  void ChangeCheckInterval(int32_t interval_ms) override;
  void ChangeViews(ViewSwitches views) override;
  void OptionWindowClosed() override;
  NotifySettings CurrentNotify() const override { return notifier_.Settings(); }
  void ChangeNotify(const NotifySettings& settings) override { notifier_.SetSettings(settings); }
  void TestCommand(const std::string& command) override {
    if (const auto report = notifier_.RunTest(command, Check.LastIp)) {
      ShowCommandTestReport(Handle(), *report);
    }
  }
  std::string CurrentLookupUrl() const override { return LookupUrl; }
  // Shows the new host in the status strip, laid out anew so that a longer one fits.
  void ChangeLookupUrl(const std::string& url) override;
  LookupSettings CurrentLookup() const override { return Lookup; }
  void ChangeLookup(const LookupSettings& settings) override;
  int LanguageChoice() const override;
  void ChangeLanguageChoice(int choice) override;

  // State, as the settings and the check cycle leave it.
  int32_t CheckInterval = 60000;
  char LookupUrl[kUrlCapacity] = "";
  char LookupHost[kHostCapacity] = "";
  std::string DataFolder;  // with its "\"
  std::string IniPath;
  // lvn.ini stands beside the program, and the data folder is the program's.
  bool portable_ = false;
  CheckState Check;
  bool ViewCheckStart = true;
  bool ViewConnectError = true;
  bool ViewOff = true;
  bool ExitRequested = false;
  LookupSettings Lookup;
  // The first FormShow has run: the start is recorded and the tray icon wanted.
  bool FirstShowDone = false;
  // The one settings object: read once at construction, written whole by SaveSettings.
  std::unique_ptr<IniFile> Settings;
  std::unique_ptr<TStatus> StatusStrip;
  // The log, the view MainGrid shows (with RowKeys) and the record counters.
  History history_;

  // Controls and resources; the windows are children, destroyed with this one.
  HWND NowIp = nullptr;
  HWND UpdateTime = nullptr;
  HWND Update = nullptr;
  HWND TaskTrayIbent = nullptr;
  ui::StringGrid MainGrid;
  HistoryGrid history_grid_{&MainGrid, &history_, this};
  ui::Image Status;
  ui::Image SizeChangeMark;
  TrayIcon tray_;
  ScopedFont fonts_[3];  // default, address lines, grid
  ScopedIcon icons_[2];  // the window's big and small icon; the small one is the tray's too
  // The controls of the layout table, in its order.
  std::vector<HWND> layout_controls_;
  UINT dpi_ = ui::kDesignDpi;
  ui::FittedLine now_ip_line_;
  // Exists while the options window does: from the Settings command until it is closed.
  std::unique_ptr<TfrmOption> option_window_;
  // The periodic check, the running lookup and the checks after network events.
  CheckScheduler scheduler_;
  // The notices and the change command, as [Notify] asks.
  Notifier notifier_;
  // Set once FormDestroy began: results that arrive after that are not handled.
  bool destroying_ = false;
  // Set when construction completed; a window that failed to build records nothing.
  bool created_ = false;
  bool end_recorded_ = false;
  // What the window's message to itself stands for; a copy from elsewhere finds it unset.
  bool grid_focus_due_ = false;
};

}  // namespace lvn
