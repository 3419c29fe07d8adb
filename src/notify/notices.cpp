#include "notify/notices.h"

#include "util/texts.h"

namespace lvn {

std::vector<Notice> NoticesFor(const CheckEvents& events, const NotifySettings& settings,
                               const LocalTime& now) {
  std::vector<Notice> notices;
  if (settings.Outage && events.OutageBegan) {
    notices.push_back({texts::Ui().NoticeOutageTitle, texts::Ui().NoticeOutageSince + FormatDateTime(now),
                       true});
  }
  if (settings.Outage && events.Recovered) {
    notices.push_back({texts::Ui().NoticeRecoveredTitle, texts::Ui().NowPrefix + events.Ip, false});
  }
  if (settings.Change && events.Changed) {
    notices.push_back({texts::Ui().NoticeChangeTitle,
                       events.OldIp.empty() ? events.Ip
                                            : events.OldIp + texts::Ui().NoticeArrow + events.Ip,
                       false});
  }
  return notices;
}

}  // namespace lvn
