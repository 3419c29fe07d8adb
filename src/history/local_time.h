// A local calendar date and time of day, and the three ways the program writes one.
#pragma once

#include <string>

namespace lvn {

struct LocalTime {
  int Year = 0;
  int Month = 0;
  int Day = 0;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
};

// "yyyy/mm/dd", "hh:nn:ss" and "yyyy/mm/dd hh:nn:ss": 24-hour clock, every field
// zero-padded. A field outside what its digits can hold is clamped, so the width is fixed.
std::string FormatDate(const LocalTime& t);
std::string FormatClock(const LocalTime& t);
std::string FormatDateTime(const LocalTime& t);

}  // namespace lvn
