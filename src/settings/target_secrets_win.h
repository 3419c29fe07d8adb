// The update targets' secrets made safe at start, before any request can be made: a plain
// Secret= as someone deploying the file wrote it is protected at once, and a protected one
// that this user on this PC cannot read keeps its target out of this run.
#pragma once

#include <cstddef>
#include <vector>

#include "settings/update_targets.h"

namespace lvn {

enum class SecretFault {
  kNotProtected,    // the system would not protect the plain secret, left as it was
  kNotUnprotected,  // another user's or PC's, or damaged: to be typed again
};

// A target whose secret cannot be used this run; Number is the N of [TargetN].
struct HeldTarget {
  std::size_t Number = 0;
  SecretFault Fault = SecretFault::kNotProtected;

  bool operator==(const HeldTarget&) const = default;
};

// Every plain Secret becomes SecretProtected and is wiped from *targets, so that the next
// save of the running keys takes it out of the file; every protected one is tried. Gives
// the targets to leave alone this run, for the user to be told.
std::vector<HeldTarget> ProtectTargetSecrets(UpdateTargets* targets);

}  // namespace lvn
