// The update targets' requests on the wire: a GET or a POST with headers and a body, over
// TLS with the certificate checked, within the lookup's limit of 5 s. Blocking; runs on an
// update sender's thread only.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "lookup/wininet_win.h"

namespace lvn {

// Bytes of an answer kept: the services' answers that matter are a word or a status line.
inline constexpr std::size_t kReplyCapacity = 512;

struct HttpCall {
  bool Post = false;
  std::string Url;      // http:// or https://, at most 299 bytes
  std::string Headers;  // "Name: value\r\n" each
  std::string Body;
  std::string UserAgent;
  // A request that carries a secret must not: a redirect would take it elsewhere.
  bool FollowRedirects = false;
};

struct HttpReply {
  std::optional<int> Status;  // none when no answer came
  std::string Body;           // its first kReplyCapacity bytes
};

// cancel, when given, may end the exchange from another thread: no answer then.
HttpReply SendHttp(const HttpCall& call, FetchCancel* cancel);

}  // namespace lvn
