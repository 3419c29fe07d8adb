// The HTTP request a send to an update target makes, as a value: what the sender puts on
// the wire, and what update.log may show of it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/update_targets.h"

namespace lvn {

struct HttpHeader {
  std::string Name;
  std::string Value;

  bool operator==(const HttpHeader&) const = default;
};

struct UpdateRequest {
  HttpMethod Method = HttpMethod::kGet;
  std::string Url{};
  std::vector<HttpHeader> Headers{};  // besides User-Agent, which every request has
  std::string Body{};
  bool CarriesSecret = false;  // then no redirect may be followed
  std::string LoggedUrl{};     // Url with every secret replaced by "***"
};

// What the request tells.
struct UpdateFacts {
  TargetEvent Event = TargetEvent::kChange;
  std::string_view Ip{};
  std::string_view OldIp{};
  std::string_view Title{};  // the notice's, in the interface language
  std::string_view Text{};
  std::string_view Secret{};  // the target's secret in plain text; else its Secret is used
};

// The request for target, or the problem that keeps it from sending (a secret known only
// in protected form counts as none), *out untouched then.
TargetProblem BuildUpdateRequest(const UpdateTarget& target, const UpdateFacts& facts,
                                 UpdateRequest* out);

}  // namespace lvn
