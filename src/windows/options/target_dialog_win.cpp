#include "windows/options/target_dialog_win.h"

#include <commctrl.h>

#include <iterator>
#include <utility>

#include "ui/application_win.h"
#include "ui/controls_win.h"
#include "util/code_page.h"
#include "util/secret_win.h"
#include "util/texts.h"
#include "util/wide_text_win.h"
#include "windows/options/option_window_ids.h"
#include "windows/options/page_controls_win.h"

namespace lvn {
namespace {

// Each field after its label, so that a screen reader names it and the label's key reaches
// it.
using Kind = PageControl;
constexpr int kLabelX = 12, kLabelWidth = 112, kFieldX = 128, kFieldWidth = 224;
// The secret's label has room for a second line above the events' group.
constexpr int kRow = 28, kKindY = 12, kGroupY = kKindY + 4 * kRow + 38, kMethodY = kGroupY + 54;
constexpr int kEventWidth = 104;
constexpr PageEntry kLayout[] = {
    {Kind::kLabel, kIdKindLabel, kLabelX, kKindY + 3, kLabelWidth, 24,
     &texts::Texts::TargetKindLabel},
    {Kind::kList, kIdKindCombo, kFieldX, kKindY, 120, 200},
    {Kind::kLabel, kIdTargetUrlLabel, kLabelX, kKindY + kRow + 3, kLabelWidth, 24,
     &texts::Texts::TargetUrlLabel},
    {Kind::kEdit, kIdTargetUrlEdit, kFieldX, kKindY + kRow, kFieldWidth, 21},
    {Kind::kLabel, kIdHostLabel, kLabelX, kKindY + 2 * kRow + 3, kLabelWidth, 24,
     &texts::Texts::TargetHostLabel},
    {Kind::kEdit, kIdHostEdit, kFieldX, kKindY + 2 * kRow, kFieldWidth, 21},
    {Kind::kLabel, kIdUserLabel, kLabelX, kKindY + 3 * kRow + 3, kLabelWidth, 24,
     &texts::Texts::TargetUserLabel},
    {Kind::kEdit, kIdUserEdit, kFieldX, kKindY + 3 * kRow, kFieldWidth, 21},
    {Kind::kLabel, kIdSecretLabel, kLabelX, kKindY + 4 * kRow + 3, kLabelWidth, 32,
     &texts::Texts::TargetSecretLabel},
    {Kind::kPassword, kIdSecretEdit, kFieldX, kKindY + 4 * kRow, kFieldWidth, 21},
    {Kind::kGroup, kIdEventGroup, kLabelX, kGroupY, 340, 46, &texts::Texts::TargetEventGroup},
    {Kind::kCheck, kIdOnChange, kLabelX + 8, kGroupY + 18, kEventWidth, 20,
     &texts::Texts::TargetOnChange},
    {Kind::kCheck, kIdOnOutage, kLabelX + 16 + kEventWidth, kGroupY + 18, kEventWidth, 20,
     &texts::Texts::TargetOnOutage},
    {Kind::kCheck, kIdOnRecovery, kLabelX + 24 + 2 * kEventWidth, kGroupY + 18, kEventWidth, 20,
     &texts::Texts::TargetOnRecovery},
    {Kind::kLabel, kIdMethodLabel, kLabelX, kMethodY + 3, kLabelWidth, 24,
     &texts::Texts::TargetMethodLabel},
    {Kind::kList, kIdMethodCombo, kFieldX, kMethodY, 80, 120},
    {Kind::kLabel, kIdBodyLabel, kLabelX, kMethodY + kRow + 3, kLabelWidth, 24,
     &texts::Texts::TargetBodyLabel},
    {Kind::kEdit, kIdBodyEdit, kFieldX, kMethodY + kRow, kFieldWidth, 21},
    {Kind::kCheck, kIdEnabledCheck, kLabelX, kMethodY + 2 * kRow, 200, 20,
     &texts::Texts::TargetEnabled},
    {Kind::kDefaultButton, IDOK, 176, kMethodY + 3 * kRow, 84, 25, &texts::Texts::TargetOk},
    {Kind::kButton, IDCANCEL, 268, kMethodY + 3 * kRow, 84, 25, &texts::Texts::TargetCancel},
};

// The kind list's items, in the order of TargetKind after kUnknown.
constexpr TargetKind kKinds[] = {TargetKind::kDyndns2, TargetKind::kDuckdns, TargetKind::kDynv6,
                                 TargetKind::kNtfy,    TargetKind::kDiscord, TargetKind::kSlack,
                                 TargetKind::kUrl};

bool IsWebhook(TargetKind kind) {
  return kind == TargetKind::kDiscord || kind == TargetKind::kSlack;
}

const char* DefaultUrlOf(TargetKind kind) {
  if (kind == TargetKind::kDuckdns) return kDefaultDuckdnsUrl;
  if (kind == TargetKind::kDynv6) return kDefaultDynv6Url;
  return "";
}

// The field where the user mends problem.
int FieldOf(TargetProblem problem, TargetKind kind) {
  switch (problem) {
    case TargetProblem::kUnknownKind: return kIdKindCombo;
    case TargetProblem::kNoHost: return kIdHostEdit;
    case TargetProblem::kNoUser: return kIdUserEdit;
    case TargetProblem::kNoSecret: return kIdSecretEdit;
    default: return IsWebhook(kind) ? kIdSecretEdit : kIdTargetUrlEdit;
  }
}

void AddItem(HWND list, const char* text) {
  ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

void Check(HWND window, int id, bool on) {
  ::CheckDlgButton(window, id, on ? BST_CHECKED : BST_UNCHECKED);
}

void Enable(HWND window, int id, bool on) { ::EnableWindow(::GetDlgItem(window, id), on); }

}  // namespace

TargetDialog::~TargetDialog() {
  DestroyHandle();  // its WM_DESTROY gives the owner back, while this object is whole
}

bool TargetDialog::RegisterWindowClass() {
  ui::WindowClassArgs args;
  args.name = kClassName;
  return ui::Window::RegisterWindowClass(args);
}

bool TargetDialog::Open(HWND owner) {
  ui::FrameArgs args;
  args.class_name = kClassName;
  args.title = texts::Ui().TargetDialogCaption;
  args.client_width = kClientWidth;
  args.client_height = kClientHeight;
  RECT over{};
  ::GetWindowRect(owner, &over);
  // Over the options window, a little in, so that both captions show.
  args.x = over.left + ui::Scale(24, ui::DpiOf(owner));
  args.y = over.top + ui::Scale(24, ui::DpiOf(owner));
  args.owner = owner;
  if (!CreateFrame(args)) return false;
  dpi_ = ui::DpiOf(Handle());
  font_.Reset(ui::CreateUiFont(kOptionsFont, dpi_));
  if (!font_ || !CreatePageControls(Handle(), font_.Get(), kLayout, dpi_, &controls_)) {
    DestroyHandle();
    return false;
  }
  Fill();
  ShowPageControls(controls_, true);
  owner_ = owner;
  ::EnableWindow(owner_, FALSE);
  ui::UseDialogKeys(Handle(), true);
  ::ShowWindow(Handle(), SW_SHOWNORMAL);
  ::SetForegroundWindow(Handle());
  ::SetFocus(::GetDlgItem(Handle(), kIdKindCombo));
  return true;
}

void TargetDialog::Fill() {
  HWND self = Handle();
  HWND kinds = ::GetDlgItem(self, kIdKindCombo);
  int chosen = -1;
  for (std::size_t i = 0; i < std::size(kKinds); ++i) {
    AddItem(kinds, KindName(kKinds[i]));
    if (kKinds[i] == target_.Kind) chosen = static_cast<int>(i);
  }
  ::SendMessageW(kinds, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
  SetTextOf(self, kIdTargetUrlEdit, target_.Url);
  SetTextOf(self, kIdHostEdit, target_.Host);
  SetTextOf(self, kIdUserEdit, target_.User);
  // Nothing of a saved secret shows; the cue says one is kept.
  if (!target_.SecretProtected.empty() || !target_.Secret.empty()) {
    ::SendDlgItemMessageW(self, kIdSecretEdit, EM_SETCUEBANNER, FALSE,
                          reinterpret_cast<LPARAM>(Wide(texts::Ui().TargetSecretCue).c_str()));
  }
  Check(self, kIdOnChange, target_.On.Change);
  Check(self, kIdOnOutage, target_.On.Outage);
  Check(self, kIdOnRecovery, target_.On.Recovery);
  HWND methods = ::GetDlgItem(self, kIdMethodCombo);
  AddItem(methods, "GET");
  AddItem(methods, "POST");
  ::SendMessageW(methods, CB_SETCURSEL, target_.Method == HttpMethod::kPost ? 1 : 0, 0);
  SetTextOf(self, kIdBodyEdit, target_.Body);
  Check(self, kIdEnabledCheck, target_.Enabled);
  FitFieldsToKind();
}

TargetKind TargetDialog::ChosenKind() const {
  const LRESULT chosen = ::SendDlgItemMessageW(Handle(), kIdKindCombo, CB_GETCURSEL, 0, 0);
  return chosen >= 0 && static_cast<std::size_t>(chosen) < std::size(kKinds)
             ? kKinds[static_cast<std::size_t>(chosen)]
             : target_.Kind;
}

void TargetDialog::FitFieldsToKind() {
  HWND self = Handle();
  const TargetKind kind = ChosenKind();
  const bool webhook = IsWebhook(kind);
  // A webhook's URL is its secret, typed in the secret's field.
  Enable(self, kIdTargetUrlLabel, !webhook);
  Enable(self, kIdTargetUrlEdit, !webhook);
  SetTextOf(self, kIdSecretLabel,
            webhook ? texts::Ui().TargetWebhookLabel : texts::Ui().TargetSecretLabel);
  const bool user = kind == TargetKind::kDyndns2 || kind == TargetKind::kUnknown;
  Enable(self, kIdUserLabel, user);
  Enable(self, kIdUserEdit, user);
  // A name's address changes only with the address: the DNS kinds send on a change alone.
  const bool dns = IsDnsKind(kind);
  if (dns) {
    Check(self, kIdOnChange, true);
    Check(self, kIdOnOutage, false);
    Check(self, kIdOnRecovery, false);
  }
  for (const int id : {kIdOnChange, kIdOnOutage, kIdOnRecovery}) Enable(self, id, !dns);
  const bool url = kind == TargetKind::kUrl;
  for (const int id : {kIdMethodLabel, kIdMethodCombo, kIdBodyLabel, kIdBodyEdit}) {
    Enable(self, id, url);
  }
}

void TargetDialog::KindChanged() {
  const TargetKind kind = ChosenKind();
  HWND url = ::GetDlgItem(Handle(), kIdTargetUrlEdit);
  const std::string typed = TextOf(url);
  // An empty URL, or another kind's default, becomes this kind's default.
  const bool replaceable =
      typed.empty() || typed == kDefaultDuckdnsUrl || typed == kDefaultDynv6Url;
  if (replaceable && *DefaultUrlOf(kind) != '\0') {
    SetTextOf(Handle(), kIdTargetUrlEdit, DefaultUrlOf(kind));
  }
  FitFieldsToKind();
}

void TargetDialog::OkClick() {
  HWND self = Handle();
  UpdateTarget target = target_;
  target.Kind = ChosenKind();
  target.Url = TextOf(::GetDlgItem(self, kIdTargetUrlEdit));
  target.Host = TextOf(::GetDlgItem(self, kIdHostEdit));
  target.User = TextOf(::GetDlgItem(self, kIdUserEdit));
  target.On = {Checked(self, kIdOnChange), Checked(self, kIdOnOutage),
               Checked(self, kIdOnRecovery)};
  target.Method = ::SendDlgItemMessageW(self, kIdMethodCombo, CB_GETCURSEL, 0, 0) == 1
                      ? HttpMethod::kPost
                      : HttpMethod::kGet;
  target.Body = TextOf(::GetDlgItem(self, kIdBodyEdit));
  target.Enabled = Checked(self, kIdEnabledCheck);
  // The typed secret's bytes go once it is protected or refused.
  struct TypedSecret {
    std::optional<std::string> text;
    ~TypedSecret() {
      if (text) WipeSecret(&*text);
    }
  } typed{TextOf(::GetDlgItem(self, kIdSecretEdit))};
  if (typed.text->empty()) typed.text.reset();
  const TargetProblem problem =
      TargetProblemOf(target, typed.text ? std::string_view(*typed.text) : std::string_view());
  if (problem != TargetProblem::kNone) {
    Refuse(FieldOf(problem, target.Kind), TargetProblemText(problem));
    return;
  }
  // lvn.ini keeps code page 932: a text it cannot hold would be lost, not saved.
  std::string stored;
  for (const auto& [id, text] : {std::pair{kIdHostEdit, &target.Host},
                                 std::pair{kIdUserEdit, &target.User},
                                 std::pair{kIdBodyEdit, &target.Body}}) {
    if (!Cp932OfUtf8(*text, &stored)) {
      Refuse(id, texts::Ui().CommandNotStorable);
      return;
    }
  }
  if (!save_(target, typed.text)) {
    Refuse(kIdSecretEdit, texts::Ui().TargetSecretNotProtected);
    return;
  }
  Close();
}

void TargetDialog::Refuse(int field, const char* text) {
  ::MessageBoxW(Handle(), Wide(text).c_str(), Wide(texts::Ui().TargetRefusedTitle).c_str(),
                MB_OK | MB_ICONWARNING);
  HWND control = ::GetDlgItem(Handle(), field);
  ::SetFocus(control);
  if (field != kIdKindCombo) ::SendMessageW(control, EM_SETSEL, 0, -1);
}

void TargetDialog::Close() {
  closing_ = true;
  // Enabled before this goes, so that the activation goes back to it.
  if (owner_ != nullptr) ::EnableWindow(owner_, TRUE);
  ::DestroyWindow(Handle());
}

bool TargetDialog::ApplyDpi(UINT dpi, const POINT& top_left) {
  ScopedFont font(ui::CreateUiFont(kOptionsFont, dpi));
  if (!font) return false;
  dpi_ = dpi;
  ui::RedrawPause pause(Handle());
  ui::FrameArgs frame;
  frame.client_width = kClientWidth;
  frame.client_height = kClientHeight;
  const SIZE size = ui::FrameSizeForDpi(frame, dpi);
  ::SetWindowPos(Handle(), nullptr, top_left.x, top_left.y, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
  PlacePageControls(controls_, kLayout, font.Get(), dpi);
  font_ = std::move(font);
  return true;
}

LRESULT TargetDialog::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      if (id == IDOK) OkClick();
      if (id == IDCANCEL) Close();
      if (id == kIdKindCombo && HIWORD(wparam) == CBN_SELCHANGE) KindChanged();
      return 0;
    }
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DPICHANGED: {
      UINT dpi = 0;
      POINT top_left{};
      if (ui::SystemDpiChange(Handle(), wparam, lparam, dpi_, &dpi, &top_left)) {
        ApplyDpi(dpi, top_left);
      }
      return 0;
    }
    case WM_DESTROY:
      ui::UseDialogKeys(Handle(), false);
      // Destroyed with its owner or the program, not closed: the owner is enabled all the same.
      if (owner_ != nullptr) ::EnableWindow(owner_, TRUE);
      closing_ = true;
      return 0;
    default:
      return ui::Window::OnMessage(message, wparam, lparam);
  }
}

}  // namespace lvn
