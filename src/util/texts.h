// The program's own texts, one table per language, all in UTF-8. A new language is a new
// table and a new Language; the compiler refuses a table that lacks a text.
//
// The texts the files hold (log.csv's record texts) are not here: they are the files'
// bytes, whatever the interface language (history/log_format.h).
#pragma once

#include <cstdint>
#include <string_view>

namespace lvn::texts {

struct Texts {
  const char* AppTitle;
  const char* AlreadyRunning;
  const char* PortableFolderReadOnly;  // followed by the folder
  const char* OptionCaption;

  // The options window.
  const char* OptionSection;
  const char* OptionIntervalGroup;
  const char* OptionViewGroup;
  const char* OptionViewCheckStart;
  const char* OptionViewConnectError;
  const char* OptionViewOff;
  const char* OptionLanguageLabel;
  const char* OptionLanguageAuto;
  const char* OptionLanguageNote;  // when a new choice takes effect
  const char* OptionOk;
  const char* OptionNotifySection;
  const char* OptionNoticeGroup;
  const char* OptionNoticeChange;
  const char* OptionNoticeOutage;
  const char* OptionCommandGroup;
  const char* OptionCommandLabel;
  const char* OptionCommandBrowse;
  const char* OptionTimeoutLabel;
  const char* OptionTimeoutUnit;
  const char* OptionCommandTest;
  // The file dialog's filter: description|pattern pairs, "|" standing for the zeros.
  const char* OptionBrowseFilter;
  const char* OptionConnectionSection;
  const char* OptionUrlGroup;
  const char* OptionUrlLabel;
  const char* OptionFallbackLabel;
  const char* OptionTriggerGroup;
  const char* OptionNetworkCheck;
  const char* OptionPrivacy;

  // A URL the 接続 page refused: the balloon's title, then what is wrong with it.
  const char* UrlRefusedTitle;
  const char* UrlEmpty;
  const char* UrlTooLong;
  const char* UrlBlank;
  const char* UrlNotAscii;
  const char* UrlNotHttp;
  const char* UrlNoHost;
  const char* UrlBadHost;
  const char* UrlBadPort;
  // A command the files' code page cannot hold: the balloon's title and text.
  const char* CommandRefusedTitle;
  const char* CommandNotStorable;

  // The address lines of the main window.
  const char* NowPrefix;
  const char* CheckedLabel;
  const char* AnsweredByPrefix;       // NowIp's tooltip
  const char* ChangeBeforePrefix;     // a change an earlier run saw
  const char* ChangeInThisRunPrefix;  // a change seen in this run

  // The status strip, and the interval list: a number between a prefix and a unit.
  const char* AutoPrefix;
  const char* Minutes;
  const char* Seconds;
  const char* RowPrefix;
  const char* IntervalSample;  // the widest interval field
  const char* RowSample;       // the widest row field

  // Menus.
  const char* MenuFile;
  const char* MenuOpenFolder;
  const char* MenuExit;
  const char* MenuSettings;
  const char* MenuOptions;
  const char* MenuHelp;
  const char* MenuHelpPage;
  const char* MenuHomePage;
  const char* MenuVersion;
  const char* TrayExit;

  const char* UpdateButton;
  const char* VersionCaption;
  const char* VersionPrefix;
  const char* SettingsUnreadable;  // followed by the file's path
  const char* HelpPage;            // the help file, in the program's help folder

  // The history: the records the program writes, as shown, and the grid's column titles.
  const char* CheckStart;
  const char* CheckEnd;
  const char* CommError;
  const char* CommRecovered;
  const char* ColumnDate;
  const char* ColumnTime;
  const char* ColumnText;
  // The history grid's pop-up menu and delete mode.
  const char* GridPopCopy;
  const char* GridPopDeleteMode;
  const char* DeleteModeQuestion;
  const char* DeleteModeCaption;
  const char* DeleteHistoryChanged;
  const char* DeleteFailed;
  const char* UnwrittenRecordsLost;  // followed by the records
  const char* AfterDeleteModeCaption;

  // When the history cannot be shown: the status strip's row field (at most the width of
  // RowSample), and the message, followed by the log's path.
  const char* HistoryUnreadableStatus;
  const char* HistoryTooLargeStatus;
  const char* HistoryTooLargeMessage;

  // Balloon notices.
  const char* NoticeChangeTitle;
  const char* NoticeArrow;
  const char* NoticeOutageTitle;
  const char* NoticeOutageSince;
  const char* NoticeRecoveredTitle;
  const char* NoticeCommandTitle;

  // The change command's runs in command.log: why one did not run, and how one ended.
  const char* CommandRefusedEmpty;
  const char* CommandRefusedAddress;
  const char* CommandTest;
  const char* CommandExitCode;
  const char* CommandTimedOut;
  const char* CommandNotStarted;
  const char* CommandProgramNotFound;
  const char* CommandEndedAtExit;
  const char* CommandOutputCut;

  // Why an update target cannot be used.
  const char* TargetUnknownKind;
  const char* TargetNoUrl;
  const char* TargetBadUrl;
  const char* TargetNoHost;
  const char* TargetNoUser;
  const char* TargetNoSecret;
  const char* TargetSecretOverHttp;
  // How a request to a target ended, in update.log and the notices.
  const char* UpdateSuccess;
  const char* UpdateHardFailure;
  const char* UpdateRetryAt;  // followed by the next try's time (hh:nn) and ")"
  const char* UpdateNotGlobal;
  const char* UpdateBusy;         // a test asked while the target's request runs
  const char* UpdateTestTitle;    // the test notice a notice kind sends
  const char* UpdateTestText;
  const char* UpdateFailedTitle;  // the notice of a failed send: "kind host" and the result
  const char* UpdateHeldTitle;    // a target whose secret this user cannot read
  const char* UpdateHeldText;     // followed by the targets' numbers
  const char* UpdateUnprotected;  // the system would not protect a secret

  // The options window's 送信先 page, a target's edit dialog, and the 接続 page's
  // confirmation of a new address.
  const char* OptionTargetsSection;
  const char* TargetListLabel;
  const char* TargetColumnKind;
  const char* TargetColumnHost;
  const char* TargetColumnResult;
  const char* TargetAdd;
  const char* TargetEdit;
  const char* TargetDelete;
  const char* TargetTest;
  const char* TargetDeleteQuestion;  // followed by the target's kind and host
  const char* TargetDialogCaption;
  const char* TargetKindLabel;
  const char* TargetUrlLabel;
  const char* TargetHostLabel;
  const char* TargetUserLabel;
  const char* TargetSecretLabel;
  const char* TargetWebhookLabel;  // the secret's label where the webhook URL is the secret
  const char* TargetSecretCue;     // in the empty secret field, when one is saved
  const char* TargetEventGroup;
  const char* TargetOnChange;
  const char* TargetOnOutage;
  const char* TargetOnRecovery;
  const char* TargetMethodLabel;
  const char* TargetBodyLabel;
  const char* TargetEnabled;
  const char* TargetOk;
  const char* TargetCancel;
  const char* TargetRefusedTitle;
  const char* TargetSecretNotProtected;
  const char* OptionConfirmCheck;
};

extern const Texts kJapaneseTexts;
extern const Texts kEnglishTexts;

enum class Language { kJapanese, kEnglish };

// The interface language: the setting's choice ("ja", "en"), else ("auto", empty or
// anything else) Japanese for a Japanese user interface language and English for every other.
Language LanguageFor(std::string_view setting, uint16_t ui_language_id);
// The setting's value for a language choice; "auto" for none.
const char* LanguageSettingOf(int choice);  // 0 auto, 1 ja, 2 en
int LanguageChoiceOf(std::string_view setting);

// Chosen once at start, before any window; Japanese until then.
void UseLanguage(Language language);
Language CurrentLanguage();
const Texts& Ui();

}  // namespace lvn::texts
