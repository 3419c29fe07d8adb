// Bounded text operations on zero-terminated byte strings: the files' Shift-JIS (code page
// 932) text, whose double-byte characters are never cut in half.
//
// Every operation writes into a caller's buffer of capacity n bytes (terminating zero
// included), cuts what does not fit instead of failing, and returns the destination.
// Positions are 1-based; 0 means "not found".
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>
#include <tuple>
#include <utility>

namespace lvn {

// True when b starts a double-byte character in code page 932, the files' code page,
// whatever the system's.
bool IsLeadByte(unsigned char b);
// IsLeadByte of every byte value, asked of the code page once: for loops over long texts.
const std::array<bool, 256>& LeadByteTable();

// Copies at most n - 1 bytes; n == 0 means no limit.
char* CopyText(char* dest, const char* src, std::size_t n);
// Appends so that the result is at most n - 2 bytes long (one less than CopyText allows).
// A dest already n - 1 bytes long is left alone; one unterminated within n is cut to n - 1.
char* AppendText(char* dest, const char* src, std::size_t n);
// JoinTexts with the pieces in an array.
char* JoinTextList(char* dest, std::span<const char* const> pieces, std::size_t n);
// JoinTexts(dest, piece, ..., n): dest := the pieces joined, cut to n - 1 bytes; n == 0
// writes nothing. Null pieces count as empty; pieces may point into dest.
template <typename... PiecesThenN>
  requires(sizeof...(PiecesThenN) >= 1)
char* JoinTexts(char* dest, const PiecesThenN&... pieces_then_n) {
  const std::tuple<const PiecesThenN&...> args(pieces_then_n...);
  return [&]<std::size_t... I>(std::index_sequence<I...>) {
    // The trailing null keeps the array non-empty when n is the only argument.
    const char* const pieces[] = {std::get<I>(args)..., nullptr};
    const std::size_t n = std::get<sizeof...(I)>(args);
    return JoinTextList(dest, std::span(pieces, sizeof...(I)), n);
  }(std::make_index_sequence<sizeof...(PiecesThenN) - 1>{});
}
// Bytes start .. start + count - 1 of src (1-based), count cut to n - 1.
char* MidText(char* dest, const char* src, int start, int count, std::size_t n);
// Position of the first occurrence of pattern in text, byte by byte; 1 for an empty pattern.
int FindText(const char* text, const char* pattern);

// URL splitting by the first three "/" separators ("/" after a lead byte does not count).
// After "//" the host also ends at a "?", a "#" or the end of the text: "http://h?q" has
// the host "h" and the site "http://h/".
char* UrlHost(char* dest, const char* url, std::size_t n);
char* UrlSite(char* dest, const char* url, std::size_t n);
// url without its first strlen(prefix) bytes (one fewer where url lacks the prefix's
// closing "/": "?q" of "http://h?q"), cut to n - 1 bytes.
char* UrlRest(char* dest, const char* url, const char* prefix, std::size_t n);

// Length of the longest prefix of text[0, length) that holds at most max bytes and no half
// double-byte character. A lead byte that ends the text is a character of its own.
std::size_t WholeCharacterPrefix(const char* text, std::size_t length, std::size_t max);

// text without the bytes 0x00 to 0x20 at either end.
std::string_view TrimBlanks(std::string_view text);

// Text between the first start marker and the first end marker; empty when either is
// missing or they are out of order.
char* TextBetween(char* dest, const char* text, const char* start_marker,
                  const char* end_marker, std::size_t n);

// Whether the program's arguments hold the switch name ("/tray"), ASCII case ignored, as a
// word of its own.
bool HasSwitch(std::string_view arguments, std::string_view name);

}  // namespace lvn
