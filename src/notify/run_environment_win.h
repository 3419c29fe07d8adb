// The environment a run of the change command gets.
#pragma once

#include <string>

#include "notify/change_command.h"

namespace lvn {

// The program's own environment with LORVANE_IP and LORVANE_OLDIP set to the command's
// addresses (any of ours it had are replaced), sorted by name as Windows keeps it, as a
// block for CreateProcessW. False when it cannot be read or an address not converted.
bool RunEnvironment(const ChangeCommand& command, std::wstring* block);

}  // namespace lvn
