#include "settings/update_targets.h"

#include <cstdint>

#include "settings/lookup_settings.h"
#include "util/ascii.h"
#include "util/text.h"
#include "util/texts.h"

namespace lvn {
namespace {

constexpr TargetKind kKinds[] = {TargetKind::kDyndns2, TargetKind::kDuckdns,
                                 TargetKind::kDynv6,   TargetKind::kNtfy,
                                 TargetKind::kDiscord, TargetKind::kSlack,
                                 TargetKind::kUrl};

TargetKind KindOf(std::string_view name) {
  name = TrimBlanks(name);
  for (const TargetKind kind : kKinds) {
    if (SameAsciiNoCase(name, KindName(kind))) return kind;
  }
  return TargetKind::kUnknown;
}

const char* DefaultUrl(TargetKind kind) {
  switch (kind) {
    case TargetKind::kDuckdns: return kDefaultDuckdnsUrl;
    case TargetKind::kDynv6: return kDefaultDynv6Url;
    default: return "";
  }
}

// An empty Url= is the kind's default too: the line is there to be filled in.
std::string ReadUrl(const IniFile& ini, const std::string& section, TargetKind kind) {
  std::string url = ini.ReadString(section, kKeyTargetUrl, "");
  return url.empty() ? DefaultUrl(kind) : url;
}

TargetEvents EventsOf(std::string_view text) {
  TargetEvents events{false, false, false};
  bool named = false;
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    const std::string_view word = TrimBlanks(text.substr(0, comma));
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    bool* const flags[] = {&events.Change, &events.Outage, &events.Recovery};
    for (int e = 0; e < 3; ++e) {
      if (SameAsciiNoCase(word, EventName(static_cast<TargetEvent>(e)))) {
        *flags[e] = true;
        named = true;
      }
    }
  }
  return named ? events : TargetEvents{};
}

std::string EventsText(const TargetEvents& events) {
  std::string text;
  const bool flags[] = {events.Change, events.Outage, events.Recovery};
  for (int e = 0; e < 3; ++e) {
    if (!flags[e]) continue;
    if (!text.empty()) text += ',';
    text += EventName(static_cast<TargetEvent>(e));
  }
  return text;
}

HttpMethod MethodOf(std::string_view text) {
  return SameAsciiNoCase(TrimBlanks(text), "POST") ? HttpMethod::kPost : HttpMethod::kGet;
}

UpdateTarget ReadTarget(const IniFile& ini, const std::string& section) {
  UpdateTarget t;
  t.Kind = KindOf(ini.ReadString(section, kKeyTargetKind, ""));
  t.Url = ReadUrl(ini, section, t.Kind);
  t.Host = ini.ReadString(section, kKeyTargetHost, "");
  t.User = ini.ReadString(section, kKeyTargetUser, "");
  t.Secret = ini.ReadString(section, kKeyTargetSecret, "");
  t.SecretProtected = ini.ReadString(section, kKeyTargetSecretProtected, "");
  t.On = EventsOf(ini.ReadString(section, kKeyTargetOn, ""));
  t.Method = MethodOf(ini.ReadString(section, kKeyTargetMethod, ""));
  t.Body = ini.ReadString(section, kKeyTargetBody, "");
  t.Enabled = ini.ReadBool(section, kKeyTargetEnabled, true);
  t.Sent = ini.ReadString(section, kKeyTargetSent, "");
  t.Stopped = ini.ReadString(section, kKeyTargetStopped, "");
  return t;
}

void WriteText(IniFile& ini, const std::string& section, const char* key,
               const std::string& value) {
  if (ini.ReadString(section, key, "") != value) ini.WriteString(section, key, value);
}

// A plain secret stays only where the user left it and nothing replaced it. The protected
// one goes in first: a section holding nothing but the plain one must not go with it.
void WriteSecret(IniFile& ini, const std::string& section, const UpdateTarget& t) {
  WriteText(ini, section, kKeyTargetSecretProtected, t.SecretProtected);
  const std::string plain = ini.ReadString(section, kKeyTargetSecret, "");
  if (!plain.empty() && (plain != t.Secret || !t.SecretProtected.empty())) {
    ini.RemoveKey(section, kKeyTargetSecret);
  }
}

void WriteTarget(IniFile& ini, const std::string& section, const UpdateTarget& t) {
  if (KindOf(ini.ReadString(section, kKeyTargetKind, "")) != t.Kind) {
    ini.WriteString(section, kKeyTargetKind, KindName(t.Kind));
  }
  if (ReadUrl(ini, section, t.Kind) != t.Url) ini.WriteString(section, kKeyTargetUrl, t.Url);
  WriteText(ini, section, kKeyTargetHost, t.Host);
  WriteText(ini, section, kKeyTargetUser, t.User);
  WriteSecret(ini, section, t);
  if (EventsOf(ini.ReadString(section, kKeyTargetOn, "")) != t.On) {
    ini.WriteString(section, kKeyTargetOn, EventsText(t.On));
  }
  if (MethodOf(ini.ReadString(section, kKeyTargetMethod, "")) != t.Method) {
    ini.WriteString(section, kKeyTargetMethod, t.Method == HttpMethod::kPost ? "POST" : "GET");
  }
  WriteText(ini, section, kKeyTargetBody, t.Body);
  if (ini.ReadBool(section, kKeyTargetEnabled, true) != t.Enabled) {
    ini.WriteBool(section, kKeyTargetEnabled, t.Enabled);
  }
  WriteText(ini, section, kKeyTargetSent, t.Sent);
  if (t.Stopped.empty()) {
    ini.RemoveKey(section, kKeyTargetStopped);
  } else {
    WriteText(ini, section, kKeyTargetStopped, t.Stopped);
  }
}

}  // namespace

std::string SettingsFingerprint(const UpdateTarget& t) {
  // FNV-1a over the fields, each closed by a byte no setting holds.
  uint64_t hash = 0xcbf29ce484222325u;
  const auto mix = [&hash](std::string_view text) {
    for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
    hash = (hash ^ 0x1Fu) * 0x100000001b3u;
  };
  const std::string events = EventsText(t.On);
  for (const std::string_view field :
       {std::string_view(KindName(t.Kind)), std::string_view(t.Url), std::string_view(t.Host),
        std::string_view(t.User), std::string_view(t.Secret),
        std::string_view(t.SecretProtected), std::string_view(events),
        std::string_view(t.Method == HttpMethod::kPost ? "P" : "G"), std::string_view(t.Body),
        std::string_view(t.Enabled ? "1" : "0")}) {
    mix(field);
  }
  constexpr char kHex[] = "0123456789abcdef";
  std::string text(16, '0');
  for (std::size_t i = 16; i-- > 0; hash >>= 4) text[i] = kHex[hash & 0xF];
  return text;
}

bool IsStopped(const UpdateTarget& target) {
  return !target.Stopped.empty() && target.Stopped == SettingsFingerprint(target);
}

bool IsDnsKind(TargetKind kind) {
  return kind == TargetKind::kDyndns2 || kind == TargetKind::kDuckdns ||
         kind == TargetKind::kDynv6;
}

const char* KindName(TargetKind kind) {
  switch (kind) {
    case TargetKind::kUnknown: return "";
    case TargetKind::kDyndns2: return "dyndns2";
    case TargetKind::kDuckdns: return "duckdns";
    case TargetKind::kDynv6: return "dynv6";
    case TargetKind::kNtfy: return "ntfy";
    case TargetKind::kDiscord: return "discord";
    case TargetKind::kSlack: return "slack";
    case TargetKind::kUrl: return "url";
  }
  return "";
}

const char* EventName(TargetEvent event) {
  switch (event) {
    case TargetEvent::kChange: return "change";
    case TargetEvent::kOutage: return "outage";
    case TargetEvent::kRecovery: return "recovery";
  }
  return "";
}

bool ActsOn(const UpdateTarget& target, TargetEvent event) {
  if (IsDnsKind(target.Kind)) return event == TargetEvent::kChange;
  switch (event) {
    case TargetEvent::kChange: return target.On.Change;
    case TargetEvent::kOutage: return target.On.Outage;
    case TargetEvent::kRecovery: return target.On.Recovery;
  }
  return false;
}

std::string TargetSection(std::size_t slot) { return "Target" + std::to_string(slot + 1); }

UpdateTargets ReadUpdateTargets(const IniFile& ini) {
  UpdateTargets targets;
  for (std::size_t i = 0; i < kMaxTargets; ++i) {
    const std::string section = TargetSection(i);
    if (ini.HasSection(section)) targets[i] = ReadTarget(ini, section);
  }
  return targets;
}

void WriteUpdateTargets(IniFile& ini, const UpdateTargets& targets) {
  for (std::size_t i = 0; i < kMaxTargets; ++i) {
    const std::string section = TargetSection(i);
    if (!targets[i]) {
      ini.RemoveSection(section);
    } else {
      WriteTarget(ini, section, *targets[i]);
    }
  }
}

TargetProblem TargetProblemOf(const UpdateTarget& target, std::string_view secret) {
  if (target.Kind == TargetKind::kUnknown) return TargetProblem::kUnknownKind;
  if (secret.empty()) secret = target.Secret;
  const bool has_secret = !secret.empty() || !target.SecretProtected.empty();
  // A webhook's URL is its secret: checked when its text is known.
  const bool webhook = target.Kind == TargetKind::kDiscord || target.Kind == TargetKind::kSlack;
  const std::string_view url = webhook ? secret : std::string_view(target.Url);
  if (url.empty() && !webhook) return TargetProblem::kNoUrl;
  if (!url.empty() && LookupUrlProblem(url) != UrlProblem::kNone) return TargetProblem::kBadUrl;
  if (IsDnsKind(target.Kind) && TrimBlanks(target.Host).empty()) return TargetProblem::kNoHost;
  if (target.Kind == TargetKind::kDyndns2 && target.User.empty()) return TargetProblem::kNoUser;
  const bool secret_optional = target.Kind == TargetKind::kNtfy || target.Kind == TargetKind::kUrl;
  if (!has_secret && !secret_optional) return TargetProblem::kNoSecret;
  if (has_secret && SameAsciiNoCase(url.substr(0, 7), "http://")) {
    return TargetProblem::kSecretOverHttp;
  }
  return TargetProblem::kNone;
}

const char* TargetProblemText(TargetProblem problem) {
  switch (problem) {
    case TargetProblem::kNone: return "";
    case TargetProblem::kUnknownKind: return texts::Ui().TargetUnknownKind;
    case TargetProblem::kNoUrl: return texts::Ui().TargetNoUrl;
    case TargetProblem::kBadUrl: return texts::Ui().TargetBadUrl;
    case TargetProblem::kNoHost: return texts::Ui().TargetNoHost;
    case TargetProblem::kNoUser: return texts::Ui().TargetNoUser;
    case TargetProblem::kNoSecret: return texts::Ui().TargetNoSecret;
    case TargetProblem::kSecretOverHttp: return texts::Ui().TargetSecretOverHttp;
  }
  return "";
}

}  // namespace lvn
