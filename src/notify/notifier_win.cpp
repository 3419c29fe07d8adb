#include "notify/notifier_win.h"

#include "notify/command_log.h"
#include "util/texts.h"

namespace lvn {
namespace {

bool Failed(const CommandOutcome& outcome) {
  return outcome.End != RunEnd::kExited || outcome.ExitCode != 0;
}

}  // namespace

void Notifier::Attach(const char* data_folder, HWND target, UINT message,
                      const NotifySettings* settings, ShowNotice show) {
  settings_ = settings;
  runner_.Attach(data_folder, target, message);
  show_ = std::move(show);
}

void Notifier::OnCheck(const CheckEvents& events, const LocalTime& now) {
  for (const Notice& notice : NoticesFor(events, *settings_, now)) show_(notice);
  if (!events.Changed || settings_->Command.empty()) return;
  ChangeCommand command;
  const CommandRefusal refusal =
      PrepareChangeCommand(settings_->Command, events.Ip, events.OldIp, &command);
  if (refusal == CommandRefusal::kNone) {
    runner_.Request(command, settings_->CommandTimeout);
  } else {
    runner_.LogRefusal(settings_->Command, refusal);
  }
}

std::optional<CommandTestReport> Notifier::OnRunEnded() {
  while (const std::optional<CommandOutcome> outcome = runner_.TakeOutcome()) {
    if (outcome->Test) {
      return CommandTestReport{RunEndText(*outcome) + "\r\n\r\n", outcome->Output,
                               Failed(*outcome)};
    }
    if (Failed(*outcome) && outcome->End != RunEnd::kEndedAtExit &&
        (settings_->Change || settings_->Outage)) {
      show_(Notice{texts::Ui().NoticeCommandTitle, RunEndText(*outcome), true});
    }
  }
  return std::nullopt;
}

std::optional<CommandTestReport> Notifier::RunTest(const std::string& command, const char* ip) {
  ChangeCommand prepared;
  const CommandRefusal refusal = PrepareChangeCommand(command, ip, "", &prepared);
  if (refusal != CommandRefusal::kNone) return CommandTestReport{RefusalText(refusal), "", true};
  runner_.RunTest(prepared, settings_->CommandTimeout);
  return std::nullopt;
}

}  // namespace lvn
