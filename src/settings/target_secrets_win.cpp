#include "settings/target_secrets_win.h"

#include <optional>
#include <string>
#include <utility>

#include "util/secret_win.h"

namespace lvn {

std::vector<HeldTarget> ProtectTargetSecrets(UpdateTargets* targets) {
  std::vector<HeldTarget> held;
  for (std::size_t i = 0; i < kMaxTargets; ++i) {
    std::optional<UpdateTarget>& target = (*targets)[i];
    if (!target) continue;
    // A plain secret wins over a protected one: typing it again is how a target is mended
    // after the file moved to another PC.
    if (!target->Secret.empty()) {
      std::optional<std::string> sealed = ProtectSecret(target->Secret);
      if (!sealed) {
        // The old protected one is not this secret: a save must not take the plain one
        // out of the file in its favour.
        target->SecretProtected.clear();
        held.push_back({i + 1, SecretFault::kNotProtected});
        continue;
      }
      target->SecretProtected = std::move(*sealed);
      WipeSecret(&target->Secret);
    } else if (!target->SecretProtected.empty()) {
      std::optional<std::string> plain = UnprotectSecret(target->SecretProtected);
      if (!plain) {
        held.push_back({i + 1, SecretFault::kNotUnprotected});
        continue;
      }
      WipeSecret(&*plain);
    }
  }
  return held;
}

}  // namespace lvn
