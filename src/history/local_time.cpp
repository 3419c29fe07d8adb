#include "history/local_time.h"

namespace lvn {
namespace {

void AppendPadded(std::string* out, int value, int digits, int max) {
  if (value < 0) value = 0;
  if (value > max) value = max;
  char buffer[4];
  for (int i = digits - 1; i >= 0; --i) {
    buffer[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  out->append(buffer, static_cast<std::size_t>(digits));
}

void AppendDate(std::string* out, const LocalTime& t) {
  AppendPadded(out, t.Year, 4, 9999);
  out->push_back('/');
  AppendPadded(out, t.Month, 2, 99);
  out->push_back('/');
  AppendPadded(out, t.Day, 2, 99);
}

void AppendClock(std::string* out, const LocalTime& t) {
  AppendPadded(out, t.Hour, 2, 99);
  out->push_back(':');
  AppendPadded(out, t.Minute, 2, 99);
  out->push_back(':');
  AppendPadded(out, t.Second, 2, 99);
}

}  // namespace

std::string FormatDate(const LocalTime& t) {
  std::string out;
  AppendDate(&out, t);
  return out;
}

std::string FormatClock(const LocalTime& t) {
  std::string out;
  AppendClock(&out, t);
  return out;
}

std::string FormatDateTime(const LocalTime& t) {
  std::string out;
  AppendDate(&out, t);
  out.push_back(' ');
  AppendClock(&out, t);
  return out;
}

}  // namespace lvn
