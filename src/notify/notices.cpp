#include "notify/notices.h"

#include "util/texts.h"

namespace lvn {

std::vector<Notice> NoticesFor(const CheckEvents& events, const NotifySettings& settings,
                               const LocalTime& now) {
  std::vector<Notice> notices;
  if (settings.Outage && events.OutageBegan) {
    notices.push_back({texts::kNoticeOutageTitle, texts::kNoticeOutageSince + FormatDateTime(now),
                       true});
  }
  if (settings.Outage && events.Recovered) {
    notices.push_back({texts::kNoticeRecoveredTitle, texts::kNowPrefix + events.Ip, false});
  }
  if (settings.Change && events.Changed) {
    notices.push_back({texts::kNoticeChangeTitle,
                       events.OldIp.empty() ? events.Ip
                                            : events.OldIp + texts::kNoticeArrow + events.Ip,
                       false});
  }
  return notices;
}

}  // namespace lvn
