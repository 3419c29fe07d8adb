// The history's own texts, in one place for review. Source files are UTF-8; the compiler
// stores these literals as Shift-JIS (code page 932) bytes.
#pragma once

namespace lvn::texts {

inline constexpr char kCommError[] = "通信エラー";
inline constexpr char kCommRecovered[] = "通信回復";
inline constexpr char kOffMark[] = "***";

inline constexpr char kColumnDate[] = "日付";
inline constexpr char kColumnTime[] = "時刻";
inline constexpr char kColumnText[] = "適用";

}  // namespace lvn::texts
