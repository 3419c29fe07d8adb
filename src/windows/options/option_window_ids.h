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
};

}  // namespace lvn
