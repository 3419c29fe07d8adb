// The main window, TfrmMain: owns the program's run-time state, starts the lookups and
// turns their results into the display, the history and the settings.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "check/check_cycle.h"
#include "windows/main/status_strip_win.h"
#include "windows/main/history_grid_commands_win.h"
#include "history/history_win.h"
#include "lookup/lookup_worker_win.h"
#include "settings/ini_file.h"
#include "windows/options/option_window_win.h"
#include "settings/settings.h"
#include "ui/fitted_line_win.h"
#include "ui/grid_model.h"
#include "ui/image_win.h"
#include "ui/string_grid_win.h"
#include "ui/window_win.h"
#include "util/path.h"
#include "util/scoped_win.h"

namespace lvn {

// The first FormShow has run; cleared by the main window's destructor.
extern bool FirstShowDone;

class TfrmMain : public ui::Window,
                 public OptionHost,
                 private CheckCycleHost,
                 private ui::GridCellSource,
                 private HistoryGridCommands::Host {
 public:
  static constexpr char kClassName[] = "TfrmMain";
  static constexpr int kClientWidth = 343;
  static constexpr int kClientHeight = 430;
  // The history grid's header row, fixed again at every reload.
  static constexpr int kGridHeaderRows = 1;

  TfrmMain() = default;
  ~TfrmMain() override;

  static bool RegisterWindowClass();
  // Builds the window from its layout and its settings and starts the first lookup. False
  // with *error set when the settings file exists but cannot be read.
  bool Create(std::string* error);
  void Show();

  void ShowIntervalStatus();
  void ShowRowStatus(const char* text);
  void ReloadHistoryGrid() override;
  void SaveSettings();
  void ExitAppClick();

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  bool BuildLayout();
  // The member that holds the control with this layout id.
  HWND& ControlHandle(int id);
  void SetTimerPeriod(int32_t period_ms);
  void StartLookup();  // Timer1Timer and UpdateClick
  // The running lookup is over, with this result: its own, or a failure when the window
  // stopped waiting for it.
  void EndLookup(const char* result);
  void FormShow();
  bool FormCloseQuery();
  void FormDestroy();
  void FormResize();
  void RestoreFromTray();
  void OpenTrayMenu();
  // Adds the tray icon unless it is there; true when it is. Removing it always succeeds
  // as far as the window is concerned.
  bool SetTrayIconState(bool add);
  void OnTrayNotification(int mouse_message);
  void OnCommand(int id);
  // The open options window to the front, or a new one.
  void SetOptClick();
  // A press on the window's own background drags the window.
  void BackgroundLButtonDown();

  void ShowHistoryTooLarge();

  // ui::GridCellSource: MainGrid shows the history view.
  int GridRowCount() const override;
  int GridColCount() const override;
  void GridCellText(int col, int row, std::string* text) const override;

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
  ViewSwitches Views() const override { return {ViewCheckStart, ViewConnectError, ViewOff}; }
  void ChangeViews(ViewSwitches views) override;

  // HistoryGridCommands::Host
  HWND CommandWindow() const override { return Handle(); }

  // State, as the settings and the check cycle leave it.
  int32_t CheckInterval = 60000;
  char LookupUrl[kUrlCapacity] = "";
  char LookupHost[kHostCapacity] = "";
  char DataFolder[kPathCapacity] = "";
  char IniPath[kPathCapacity] = "";
  CheckState Check;
  bool ViewCheckStart = true;
  bool ViewConnectError = true;
  bool ViewOff = true;
  bool ExitRequested = false;
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
  // MainGridKeyDown, GridPop and delete mode.
  HistoryGridCommands grid_commands_{&MainGrid, &history_, this};
  // The options window the Settings command opened last; open while OptionWindowOpen.
  std::unique_ptr<TfrmOption> option_window_;
  ui::Image Status;
  ui::Image SizeChangeMark;
  ScopedMenu TaskBarPop;
  HICON icon_ = nullptr;
  ScopedFont fonts_[3];  // default, address lines, grid
  ui::FittedLine now_ip_line_;
  int32_t timer_period_ = 0;
  // Set once FormDestroy began: results that arrive after that are not handled.
  bool destroying_ = false;
  // Set when construction completed; a window that failed to build records nothing.
  bool created_ = false;
  bool end_recorded_ = false;
  // The user has been told once in this run that the history is too large to show.
  bool too_large_told_ = false;
  // What the window's messages to itself stand for; a copy from elsewhere finds them unset.
  bool too_large_to_tell_ = false;
  bool grid_focus_due_ = false;
  LookupWorker lookup_;
  DWORD lookup_started_ms_ = 0;
  // The shell took the icon and has not forgotten it since (TaskbarCreated).
  bool tray_icon_shown_ = false;
};

}  // namespace lvn
