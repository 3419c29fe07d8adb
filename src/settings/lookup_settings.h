// The [Lookup] section of the settings file: the fallback page and the check after a
// network change. Off by default; a file that never used them keeps no such section.
#pragma once

#include <string>

#include "settings/ini_file.h"

namespace lvn {

struct LookupSettings {
  std::string FallbackUrl;            // tried when the lookup URL fails; empty: none
  bool CheckOnNetworkChange = false;  // a check after a network change or a resume

  bool operator==(const LookupSettings&) const = default;
};

}  // namespace lvn
