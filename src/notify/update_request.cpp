#include "notify/update_request.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <span>
#include <utility>

#include "util/ascii.h"
#include "util/base64.h"

namespace lvn {
namespace {

constexpr char kHidden[] = "***";

bool IsUnreserved(char c) {
  return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
         c == '~';
}

// Every byte but the unreserved ones and those of keep as %XX.
std::string PercentEncoded(std::string_view text, std::string_view keep = {}) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    if (IsUnreserved(c) || keep.find(c) != std::string_view::npos) {
      out += c;
    } else {
      out += '%';
      out += kHex[Byte(c) >> 4];
      out += kHex[Byte(c) & 0xF];
    }
  }
  return out;
}

// A string's inside in JSON; UTF-8 passes as it is.
std::string JsonEscaped(std::string_view text) {
  constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (Byte(c) < 0x20) {
      out += "\\u00";
      out += kHex[Byte(c) >> 4];
      out += kHex[Byte(c) & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

// A header's value is ASCII; anything else, a line break too, goes as an RFC 2047 word.
std::string HeaderWord(std::string_view text) {
  for (const char c : text) {
    if (Byte(c) < 0x20 || Byte(c) > 0x7E) return "=?UTF-8?B?" + Base64Of(text) + "?=";
  }
  return std::string(text);
}

// The service's own examples write host lists and addresses with raw "," and ":".
std::string QueryValue(std::string_view text) { return PercentEncoded(text, ",:"); }

std::string WithQuery(const std::string& url, const std::string& query) {
  if (url.find('?') == std::string::npos) return url + '?' + query;
  return url.back() == '?' || url.back() == '&' ? url + query : url + '&' + query;
}

std::string ReplacedAll(std::string text, std::string_view what, std::string_view by) {
  if (what.empty()) return text;
  for (std::size_t at = text.find(what); at != std::string::npos;
       at = text.find(what, at + by.size())) {
    text.replace(at, what.size(), by);
  }
  return text;
}

struct TemplateName {
  const char* Name;
  std::string_view Value;
};

// The url kind's template with its names replaced, each value passed through escape; the
// names are found from the left, ASCII case ignored, as the change command finds its own.
template <typename Escape>
std::string Filled(std::string_view pattern, std::span<const TemplateName> names,
                   Escape escape) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size();) {
    const auto named = std::find_if(names.begin(), names.end(), [&](const TemplateName& n) {
      return SameAsciiNoCase(pattern.substr(i, std::strlen(n.Name)), n.Name);
    });
    if (named == names.end()) {
      out += pattern[i++];
    } else {
      out += escape(named->Value);
      i += std::strlen(named->Name);
    }
  }
  return out;
}

// The scheme and host of a webhook's URL: the rest is its secret.
std::string WebhookShown(std::string_view url) {
  const std::size_t host = url.find("://");
  if (host == std::string_view::npos) return kHidden;
  const std::size_t end = url.find_first_of("/?#", host + 3);
  return std::string(url.substr(0, end)) + '/' + kHidden;
}

void FillUrlKind(const UpdateTarget& target, const UpdateFacts& facts, std::string_view secret,
                 UpdateRequest* r) {
  const TemplateName names[] = {{"%IP%", facts.Ip},
                                {"%OLDIP%", facts.OldIp},
                                {"%HOST%", target.Host},
                                {"%EVENT%", EventName(facts.Event)},
                                {"%SECRET%", secret}};
  r->Url = Filled(target.Url, names, [](std::string_view v) { return PercentEncoded(v); });
  if (target.Method != HttpMethod::kPost) return;
  const bool json = !target.Body.empty() && target.Body.front() == '{';
  r->Body = json ? Filled(target.Body, names, JsonEscaped)
                 : Filled(target.Body, names, [](std::string_view v) { return std::string(v); });
  if (json) r->Headers.push_back({"Content-Type", "application/json"});
}

}  // namespace

TargetProblem BuildUpdateRequest(const UpdateTarget& target, const UpdateFacts& facts,
                                 UpdateRequest* out) {
  const std::string_view secret = facts.Secret.empty() ? target.Secret : facts.Secret;
  UpdateTarget known = target;
  known.Secret = secret;
  known.SecretProtected.clear();
  if (const TargetProblem problem = TargetProblemOf(known); problem != TargetProblem::kNone) {
    return problem;
  }

  UpdateRequest r;
  const std::string ip = QueryValue(facts.Ip);
  const bool v6 = facts.Ip.find(':') != std::string_view::npos;
  const std::string host = QueryValue(target.Host);
  const std::string token = QueryValue(secret);  // one of the forms it takes in a URL
  switch (target.Kind) {
    case TargetKind::kUnknown: return TargetProblem::kUnknownKind;
    case TargetKind::kDyndns2:
      r.Url = WithQuery(target.Url, "hostname=" + host + "&myip=" + ip);
      r.Headers.push_back({"Authorization", "Basic " + Base64Of(target.User + ':' + known.Secret)});
      break;
    case TargetKind::kDuckdns:
      r.Url = WithQuery(target.Url, "domains=" + host + "&token=" + token +
                                        (v6 ? "&ipv6=" : "&ip=") + ip);
      break;
    case TargetKind::kDynv6:
      r.Url = WithQuery(target.Url, "hostname=" + host + "&token=" + token +
                                        (v6 ? "&ipv6=" : "&ipv4=") + ip);
      break;
    case TargetKind::kNtfy:
      r.Method = HttpMethod::kPost;
      r.Url = target.Url;
      r.Body = facts.Text;
      r.Headers.push_back({"Title", HeaderWord(facts.Title)});
      if (!secret.empty()) r.Headers.push_back({"Authorization", "Bearer " + known.Secret});
      break;
    case TargetKind::kDiscord:
    case TargetKind::kSlack: {
      r.Method = HttpMethod::kPost;
      r.Url = secret;
      r.LoggedUrl = WebhookShown(secret);
      std::string message(facts.Title);
      if (!facts.Text.empty()) message += '\n' + std::string(facts.Text);
      const char* field = target.Kind == TargetKind::kDiscord ? "content" : "text";
      r.Body = std::string("{\"") + field + "\":\"" + JsonEscaped(message) + "\"}";
      r.Headers.push_back({"Content-Type", "application/json"});
      break;
    }
    case TargetKind::kUrl:
      r.Method = target.Method;
      FillUrlKind(target, facts, secret, &r);
      break;
  }
  if (r.LoggedUrl.empty()) r.LoggedUrl = r.Url;
  // Whatever form the secret took in the URL, none of it reaches the log.
  for (const std::string& form : {PercentEncoded(secret), token, std::string(secret)}) {
    r.LoggedUrl = ReplacedAll(std::move(r.LoggedUrl), form, kHidden);
  }
  r.CarriesSecret = !secret.empty();
  *out = std::move(r);
  return TargetProblem::kNone;
}

}  // namespace lvn
