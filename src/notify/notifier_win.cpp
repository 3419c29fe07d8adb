#include "notify/notifier_win.h"

#include "notify/command_log.h"
#include "util/texts.h"
#include "util/wide_text_win.h"

namespace lvn {
namespace {

bool Failed(const CommandOutcome& outcome) {
  return outcome.End != RunEnd::kExited || outcome.ExitCode != 0;
}

}  // namespace

void Notifier::Attach(const char* data_folder, HWND target, UINT message, ShowNotice show) {
  runner_.Attach(data_folder, target, message);
  target_ = target;
  show_ = std::move(show);
}

HWND Notifier::BoxOwner() const {
  const HWND active = ::GetActiveWindow();
  return active != nullptr ? active : target_;
}

void Notifier::OnCheck(const CheckEvents& events, const LocalTime& now) {
  for (const Notice& notice : NoticesFor(events, settings_, now)) show_(notice);
  if (!events.Changed || settings_.Command.empty()) return;
  ChangeCommand command;
  const CommandRefusal refusal =
      PrepareChangeCommand(settings_.Command, events.Ip, events.OldIp, &command);
  if (refusal == CommandRefusal::kNone) {
    runner_.Request(command, settings_.CommandTimeout);
  } else {
    runner_.LogRefusal(settings_.Command, refusal);
  }
}

void Notifier::OnRunEnded() {
  while (const std::optional<CommandOutcome> outcome = runner_.TakeOutcome()) {
    if (outcome->Test) {
      const std::wstring text =
          Wide(RunEndText(*outcome) + "\r\n\r\n") + WideOfProgramOutput(outcome->Output);
      ::MessageBoxW(BoxOwner(), text.c_str(), Wide(texts::Ui().CommandTest).c_str(),
                    MB_OK | static_cast<UINT>(Failed(*outcome) ? MB_ICONWARNING
                                                               : MB_ICONINFORMATION));
    } else if (Failed(*outcome) && outcome->End != RunEnd::kEndedAtExit &&
               (settings_.Change || settings_.Outage)) {
      show_(Notice{texts::Ui().NoticeCommandTitle, RunEndText(*outcome), true});
    }
  }
}

void Notifier::RunTest(const std::string& command, const char* ip) {
  ChangeCommand prepared;
  const CommandRefusal refusal = PrepareChangeCommand(command, ip, "", &prepared);
  if (refusal != CommandRefusal::kNone) {
    ::MessageBoxW(BoxOwner(), Wide(RefusalText(refusal)).c_str(),
                  Wide(texts::Ui().CommandTest).c_str(), MB_OK | MB_ICONWARNING);
    return;
  }
  runner_.RunTest(prepared, settings_.CommandTimeout);
}

}  // namespace lvn
