#include "windows/options/targets_page_win.h"

#include <commctrl.h>

#include "ui/dpi_win.h"
#include "util/texts.h"
#include "util/wide_text_win.h"
#include "windows/options/option_window_ids.h"
#include "windows/options/page_controls_win.h"

namespace lvn {
namespace {

using Kind = PageControl;
constexpr int kX = 88, kY = 16, kWidth = 273, kButtonY = 176;
constexpr PageEntry kPage[] = {
    {Kind::kLabel, kIdTargetListLabel, kX, kY, kWidth, 14, &texts::Texts::TargetListLabel},
    {Kind::kTable, kIdTargetList, kX, kY + 16, kWidth, 137},
    {Kind::kButton, kIdTargetAdd, kX, kButtonY, 58, 25, &texts::Texts::TargetAdd},
    {Kind::kButton, kIdTargetEdit, kX + 62, kButtonY, 58, 25, &texts::Texts::TargetEdit},
    {Kind::kButton, kIdTargetDelete, kX + 124, kButtonY, 58, 25, &texts::Texts::TargetDelete},
    {Kind::kButton, kIdTargetTest, kX + 186, kButtonY, kWidth - 186, 25, &texts::Texts::TargetTest},
};

// The list's columns at 96 DPI; the last one takes the rest.
struct Column {
  const char* texts::Texts::*title;
  int width;
};
constexpr Column kColumns[] = {
    {&texts::Texts::TargetColumnKind, 64},
    {&texts::Texts::TargetColumnHost, 100},
    {&texts::Texts::TargetColumnResult, 0},
};

void SetCell(HWND list, int row, int column, const std::string& text) {
  std::wstring wide = Wide(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// The first slot without a target; kMaxTargets when all are used.
std::size_t FreeSlot(const UpdateTargets& targets) {
  std::size_t slot = 0;
  while (slot < kMaxTargets && targets[slot]) ++slot;
  return slot;
}

}  // namespace

bool TargetsPage::Create(HWND parent, HFONT font, UINT dpi, Host* host) {
  parent_ = parent;
  host_ = host;
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&classes);
  if (!CreatePageControls(parent, font, kPage, dpi, &controls_)) return false;
  list_ = ::GetDlgItem(parent, kIdTargetList);
  ::SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    std::wstring title = Wide(texts::Ui().*kColumns[i].title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = title.data();
    column.cx = ui::Scale(kColumns[i].width, dpi);
    ::SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(&column));
  }
  Refresh();
  return true;
}

void TargetsPage::ApplyDpi(HFONT font, UINT dpi) {
  PlacePageControls(controls_, kPage, font, dpi);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    const int width = kColumns[i].width > 0 ? ui::Scale(kColumns[i].width, dpi)
                                            : LVSCW_AUTOSIZE_USEHEADER;
    ::SendMessageW(list_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), width);
  }
}

void TargetsPage::Show(bool show) {
  if (show) Refresh();
  ShowPageControls(controls_, show);
}

void TargetsPage::Refresh() {
  if (list_ == nullptr) return;
  const std::optional<std::size_t> selected = Selected();
  const UpdateTargets& targets = host_->CurrentTargets();
  ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  int row = 0;
  for (std::size_t slot = 0; slot < kMaxTargets; ++slot) {
    if (!targets[slot]) continue;
    const UpdateTarget& target = *targets[slot];
    std::wstring kind = Wide(KindName(target.Kind));
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.pszText = kind.data();
    item.lParam = static_cast<LPARAM>(slot);
    ::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    SetCell(list_, row, 1, target.Host);
    std::string status = host_->TargetStatusOf(slot);
    if (status.empty()) status = TargetProblemText(TargetProblemOf(target));
    SetCell(list_, row, 2, status);
    ++row;
  }
  ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list_, nullptr, TRUE);
  if (selected) Select(*selected);
  EnableButtons();
}

std::optional<std::size_t> TargetsPage::Selected() const {
  const LRESULT row =
      ::SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  if (row < 0) return std::nullopt;
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = static_cast<int>(row);
  if (!::SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return std::nullopt;
  return static_cast<std::size_t>(item.lParam);
}

void TargetsPage::Select(std::size_t slot) {
  LVFINDINFOW find{};
  find.flags = LVFI_PARAM;
  find.lParam = static_cast<LPARAM>(slot);
  const LRESULT row = ::SendMessageW(list_, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(&find));
  if (row < 0) return;
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
  ::SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void TargetsPage::EnableButtons() {
  const bool selected = Selected().has_value();
  ::EnableWindow(::GetDlgItem(parent_, kIdTargetAdd),
                 FreeSlot(host_->CurrentTargets()) < kMaxTargets);
  for (const int id : {kIdTargetEdit, kIdTargetDelete, kIdTargetTest}) {
    ::EnableWindow(::GetDlgItem(parent_, id), selected);
  }
}

bool TargetsPage::OnCommand(int id, UINT code) {
  const std::optional<std::size_t> selected = Selected();
  switch (id) {
    case IDOK:
      // Enter comes to the window as a dialog's IDOK; in the list it edits the row.
      if (::GetFocus() != list_) return false;
      if (selected) OpenDialog(*selected);
      return true;
    case kIdTargetAdd:
      if (code == BN_CLICKED) {
        const std::size_t slot = FreeSlot(host_->CurrentTargets());
        if (slot < kMaxTargets) OpenDialog(slot);
      }
      return true;
    case kIdTargetEdit:
      if (code == BN_CLICKED && selected) OpenDialog(*selected);
      return true;
    case kIdTargetDelete:
      if (code == BN_CLICKED && selected) Delete(*selected);
      return true;
    case kIdTargetTest:
      if (code == BN_CLICKED && selected) host_->TestSendTo(*selected, parent_);
      return true;
    default:
      return false;
  }
}

bool TargetsPage::OnNotify(const NMHDR& note) {
  if (list_ == nullptr || note.hwndFrom != list_) return false;
  if (note.code == LVN_ITEMCHANGED) EnableButtons();
  if (note.code == NM_DBLCLK) {
    if (const std::optional<std::size_t> selected = Selected()) OpenDialog(*selected);
  }
  return true;
}

void TargetsPage::OpenDialog(std::size_t slot) {
  if (ActivateDialog()) return;
  const std::optional<UpdateTarget>& current = host_->CurrentTargets()[slot];
  UpdateTarget target = current.value_or(UpdateTarget{});
  if (!current) target.Kind = TargetKind::kDyndns2;
  dialog_ = std::make_unique<TargetDialog>(
      target, [this, slot](const UpdateTarget& edited, const std::optional<std::string>& secret) {
        if (!host_->ChangeTarget(slot, edited, secret)) return false;
        Refresh();
        Select(slot);
        return true;
      });
  if (!dialog_->Open(parent_)) dialog_.reset();
}

void TargetsPage::Delete(std::size_t slot) {
  const std::optional<UpdateTarget>& target = host_->CurrentTargets()[slot];
  if (!target) return;
  const std::string question = std::string(texts::Ui().TargetDeleteQuestion) +
                               KindName(target->Kind) + "  " + target->Host;
  if (::MessageBoxW(parent_, Wide(question).c_str(), Wide(texts::Ui().AppTitle).c_str(),
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
    return;
  }
  host_->ChangeTarget(slot, std::nullopt, std::nullopt);
  Refresh();
  ::SetFocus(list_);
}

void TargetsPage::OnWindowShown(bool shown) {
  if (shown) Refresh();
  if (dialog_ && dialog_->IsOpen()) ::ShowWindow(dialog_->Handle(), shown ? SW_SHOWNA : SW_HIDE);
}

bool TargetsPage::ActivateDialog() {
  if (!dialog_ || !dialog_->IsOpen()) return false;
  ::SetActiveWindow(dialog_->Handle());
  return true;
}

}  // namespace lvn
