// Control ids of the options window, by which tests and assistive tools find its parts.
#pragma once

namespace lvn {

enum OptionControlId : int {
  kIdSectionTree = 301,
  kIdIntervalGroup = 302,
  kIdIntervalCombo = 303,
  kIdViewGroup = 304,
  kIdViewCheck = 305,
  kIdViewConnect = 306,
  kIdViewOff = 307,
  kIdOptionOk = 308,
  // The 通知 page.
  kIdNoticeGroup = 309,
  kIdNoticeChange = 310,
  kIdNoticeOutage = 311,
  kIdCommandGroup = 312,
  kIdCommandLabel = 313,
  kIdCommandEdit = 314,
  kIdCommandBrowse = 315,
  kIdTimeoutLabel = 316,
  kIdTimeoutEdit = 317,
  kIdTimeoutSpin = 318,
  kIdTimeoutUnit = 319,
  kIdCommandTest = 320,
  // The 接続 page.
  kIdUrlGroup = 321,
  kIdUrlLabel = 322,
  kIdUrlEdit = 323,
  kIdFallbackLabel = 324,
  kIdFallbackEdit = 325,
  kIdTriggerGroup = 326,
  kIdNetworkCheck = 327,
  kIdPrivacyLabel = 328,
  // The 動作 page's language choice.
  kIdLanguageLabel = 329,
  kIdLanguageCombo = 330,
  kIdLanguageNote = 331,
  // The 送信先 page.
  kIdTargetListLabel = 332,
  kIdTargetList = 333,
  kIdTargetAdd = 334,
  kIdTargetEdit = 335,
  kIdTargetDelete = 336,
  kIdTargetTest = 337,
  // The 接続 page's confirmation by the fallback page.
  kIdConfirmCheck = 338,
};

// Control ids of a target's edit dialog. Its OK and Cancel are IDOK and IDCANCEL, which
// Enter and Esc press.
enum TargetDialogId : int {
  kIdKindLabel = 401,
  kIdKindCombo = 402,
  kIdTargetUrlLabel = 403,
  kIdTargetUrlEdit = 404,
  kIdHostLabel = 405,
  kIdHostEdit = 406,
  kIdUserLabel = 407,
  kIdUserEdit = 408,
  kIdSecretLabel = 409,
  kIdSecretEdit = 410,
  kIdEventGroup = 411,
  kIdOnChange = 412,
  kIdOnOutage = 413,
  kIdOnRecovery = 414,
  kIdMethodLabel = 415,
  kIdMethodCombo = 416,
  kIdBodyLabel = 417,
  kIdBodyEdit = 418,
  kIdEnabledCheck = 419,
};

}  // namespace lvn
