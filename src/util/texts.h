// The program's own texts, in one place for review. Source files are UTF-8; the compiler
// stores these literals as Shift-JIS (code page 932) bytes.
#pragma once

namespace lvn::texts {

inline constexpr char kAppTitle[] = "Lorvaneグローバル";
inline constexpr char kAlreadyRunning[] = "すでに起動しています。";
inline constexpr char kPortableFolderReadOnly[] =
    "lorvane.exe と同じフォルダーに lvn.ini があるため、設定と履歴をそのフォルダーに保存しますが、"
    "書き込めません。書き込めるフォルダーに移すか、書き込み禁止を解除してください:\r\n";
inline constexpr char kOptionCaption[] = "環境設定";

// The options window.
inline constexpr char kOptionSection[] = "動作";
inline constexpr char kOptionIntervalGroup[] = "チェック間隔";
inline constexpr char kOptionViewGroup[] = "表示";
inline constexpr char kOptionViewCheckStart[] = "チェック開始 / 終了 (&C)";
inline constexpr char kOptionViewConnectError[] = "通信エラー / 回復 (&E)";
inline constexpr char kOptionViewOff[] = "**** オフ状態 (&O)";
inline constexpr char kOptionOk[] = "OK(&O)";
inline constexpr char kOptionNotifySection[] = "通知";
inline constexpr char kOptionNoticeGroup[] = "通知";
inline constexpr char kOptionNoticeChange[] = "アドレスが変わったとき(&N)";
inline constexpr char kOptionNoticeOutage[] = "通信エラー / 回復のとき(&R)";
inline constexpr char kOptionCommandGroup[] = "アドレスが変わったときのコマンド";
inline constexpr char kOptionCommandLabel[] = "コマンド(&M)   %IP%:新  %OLDIP%:前";
inline constexpr char kOptionCommandBrowse[] = "参照...(&B)";
inline constexpr char kOptionTimeoutLabel[] = "制限時間(&L)";
inline constexpr char kOptionTimeoutUnit[] = "秒";
inline constexpr char kOptionCommandTest[] = "テスト実行(&T)";
inline constexpr char kOptionBrowseFilter[] = "プログラム (*.exe;*.bat;*.cmd)\0*.exe;*.bat;*.cmd\0すべてのファイル (*.*)\0*.*\0";
inline constexpr char kOptionConnectionSection[] = "接続";
inline constexpr char kOptionUrlGroup[] = "確認ページ";
inline constexpr char kOptionUrlLabel[] = "URL(&U)";
inline constexpr char kOptionFallbackLabel[] = "予備の URL(&F)   空欄なら使いません";
inline constexpr char kOptionTriggerGroup[] = "確認のタイミング";
inline constexpr char kOptionNetworkCheck[] = "ネットワークが変わったときも確認する(&W)";
inline constexpr char kOptionPrivacy[] = "確認ページは確認ごとにアドレスを知ります";

// A URL the 接続 page refused: the balloon's title, then what is wrong with it.
inline constexpr char kUrlRefusedTitle[] = "URL は変更されていません";
inline constexpr char kUrlEmpty[] = "URL を入力してください";
inline constexpr char kUrlTooLong[] = "長すぎます (299 バイトまで)";
inline constexpr char kUrlBlank[] = "空白や制御文字は使えません";
inline constexpr char kUrlNotAscii[] = "半角の英数字と記号で書いてください";
inline constexpr char kUrlNotHttp[] = "http:// か https:// で始めてください";
inline constexpr char kUrlNoHost[] = "ホスト名がありません";
inline constexpr char kUrlBadHost[] = "ホスト名が正しくありません";
inline constexpr char kUrlBadPort[] = "ポート番号は 1 から 65535 までです";

// The address lines of the main window.
inline constexpr char kNowPrefix[] = "現在:";
inline constexpr char kCheckedLabel[] = " 確認:";
inline constexpr char kAnsweredByPrefix[] = "予備の確認ページ: ";  // NowIp's tooltip
inline constexpr char kChangeBeforePrefix[] = "変更:";     // a change an earlier run saw
inline constexpr char kChangeInThisRunPrefix[] = "更新:";  // a change seen in this run

// The status strip.
inline constexpr char kAutoPrefix[] = "自動:";
inline constexpr char kMinutes[] = "分";
inline constexpr char kSeconds[] = "秒";
inline constexpr char kRowPrefix[] = "行:";
inline constexpr char kIntervalSample[] = "自動:60分";
inline constexpr char kRowSample[] = "行:####/####";

// Menus.
inline constexpr char kMenuFile[] = "ファイル(&F)";
inline constexpr char kMenuOpenFolder[] = "フォルダを開く(&O)";
inline constexpr char kMenuExit[] = "終了(&X)";
inline constexpr char kMenuSettings[] = "設定(&O)";
inline constexpr char kMenuOptions[] = "環境設定(&O)";
inline constexpr char kMenuHelp[] = "ヘルプ(&H)";
inline constexpr char kMenuHelpPage[] = "ヘルプ(&H)";
inline constexpr char kMenuHomePage[] = "ホームページ(&P)";
inline constexpr char kMenuVersion[] = "バージョン情報(&V)";
inline constexpr char kTrayExit[] = "Lorvaneの終了(&X)";

inline constexpr char kUpdateButton[] = "更新(&K)";
inline constexpr char kVersionCaption[] = "バージョン情報";
inline constexpr char kVersionPrefix[] = "\r\nVer:";
inline constexpr char kTrayTargetText[] = "TaskTrayIbent";
inline constexpr char kSettingsUnreadable[] = "設定ファイルを読み込めません: ";

// The history: record texts and the grid's column titles.
inline constexpr char kCheckStart[] = "チェック開始";
inline constexpr char kCheckEnd[] = "チェック終了";
inline constexpr char kCommError[] = "通信エラー";
inline constexpr char kCommRecovered[] = "通信回復";
inline constexpr char kOffMark[] = "***";
inline constexpr char kColumnDate[] = "日付";
inline constexpr char kColumnTime[] = "時刻";
inline constexpr char kColumnText[] = "適用";
// The history grid's pop-up menu and delete mode.
inline constexpr char kGridPopCopy[] = "適用をコピー";
inline constexpr char kGridPopDeleteMode[] = "削除モード (&D)";
inline constexpr char kDeleteModeQuestion[] = "Deleteキーによる削除を有効にしますか？";
inline constexpr char kDeleteModeCaption[] = "Lorvane *削除モード* 解除:F4";
inline constexpr char kDeleteHistoryChanged[] =
    "履歴がほかのプログラムによって変更されていたため、削除しませんでした。\r\n"
    "最新の履歴を表示しました。削除する行を選び直してください。";
inline constexpr char kDeleteFailed[] =
    "ほかのプログラムが log.csv を使用しているため、削除できませんでした。\r\n"
    "そのプログラムを閉じてから、もう一度削除してください。";
inline constexpr char kUnwrittenRecordsLost[] =
    "次の記録を log.csv にも保存用のファイルにも書き込めませんでした。"
    "必要なら Ctrl+C でこの内容をコピーしてください。\r\n\r\n";
inline constexpr char kAfterDeleteModeCaption[] = "Lorvane";

// When the history cannot be shown: the status strip's row field (at most the width of
// "行:####/####"), and the message, followed by the log's path.
inline constexpr char kHistoryUnreadableStatus[] = "履歴読込不可";
inline constexpr char kHistoryTooLargeStatus[] = "履歴:上限超";
inline constexpr char kHistoryTooLargeMessage[] =
    "履歴ファイルが大きすぎるため (2 GB まで)、履歴を表示できません。\r\n"
    "記録はこれまでどおりファイルに追加され、ファイルの内容は失われません。\r\n"
    "古い記録を別のファイルに移すと、再び表示できます。\r\n\r\n";

// Balloon notices.
inline constexpr char kNoticeChangeTitle[] = "IPアドレスが変わりました";
inline constexpr char kNoticeArrow[] = " → ";
inline constexpr char kNoticeOutageTitle[] = "通信エラー";
inline constexpr char kNoticeOutageSince[] = "開始:";
inline constexpr char kNoticeRecoveredTitle[] = "回復";
inline constexpr char kNoticeCommandTitle[] = "変更時のコマンドが失敗しました";

// The change command's runs in command.log: why one did not run, and how one ended.
inline constexpr char kCommandRefusedEmpty[] = "コマンドが設定されていません";
inline constexpr char kCommandRefusedAddress[] = "新しいアドレスの形式が正しくないため実行しません";
inline constexpr char kCommandTest[] = "テスト実行";
inline constexpr char kCommandExitCode[] = "終了コード ";
inline constexpr char kCommandTimedOut[] = "時間切れ";
inline constexpr char kCommandNotStarted[] = "開始できません: ";
inline constexpr char kCommandProgramNotFound[] =
    "プログラムがシステム フォルダーにも PATH のフォルダーにも見つかりません";
inline constexpr char kCommandEndedAtExit[] = "終了時に停止";
inline constexpr char kCommandOutputCut[] = "、出力の残りは省略";

}  // namespace lvn::texts
