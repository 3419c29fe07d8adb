// The program's own texts, in one place for review. Source files are UTF-8; the compiler
// stores these literals as Shift-JIS (code page 932) bytes.
#pragma once

namespace lvn::texts {

inline constexpr char kAppTitle[] = "Lorvaneグローバル";
inline constexpr char kAlreadyRunning[] = "すでに起動しています。";
inline constexpr char kOptionCaption[] = "環境設定";

}  // namespace lvn::texts
