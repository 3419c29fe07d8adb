#include "windows/main/boxes_win.h"

#include <string>

#include "lvn_version.h"
#include "util/data_folder_win.h"
#include "util/texts.h"
#include "util/version_win.h"
#include "util/wide_text_win.h"

namespace lvn {

void ShowVersionBox(HWND owner) {
  std::string program;
  const std::string version = ProgramPath(&program) ? FileVersionText(program) : "0.0.0.0";
  // Two carriage returns and no line feed: an empty line before the notice.
  const std::string text = std::string(texts::Ui().AppTitle) + texts::Ui().VersionPrefix +
                           version + "\r\r" + LVN_COPYRIGHT;
  ::MessageBoxW(owner, Wide(text).c_str(), Wide(texts::Ui().VersionCaption).c_str(), MB_OK);
}

void ShowCommandTestReport(HWND fallback_owner, const CommandTestReport& report) {
  const HWND active = ::GetActiveWindow();
  // The output is the command's bytes, in whatever form it wrote them.
  const std::wstring text = Wide(report.Text) + WideOfProgramOutput(report.Output);
  ::MessageBoxW(active != nullptr ? active : fallback_owner, text.c_str(),
                Wide(texts::Ui().CommandTest).c_str(),
                MB_OK | static_cast<UINT>(report.Warning ? MB_ICONWARNING : MB_ICONINFORMATION));
}

}  // namespace lvn
