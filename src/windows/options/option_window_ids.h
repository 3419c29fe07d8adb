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
};

}  // namespace lvn
