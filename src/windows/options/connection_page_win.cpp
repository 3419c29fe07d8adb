#include "windows/options/connection_page_win.h"

#include "util/texts.h"
#include "windows/options/option_window_ids.h"
#include "windows/options/page_controls_win.h"

namespace lvn {
namespace {

using Kind = PageControl;
constexpr int kUrlX = 88, kUrlY = 16, kTriggerX = 88, kTriggerY = 142;
constexpr PageEntry kPage[] = {
    {Kind::kGroup, kIdUrlGroup, kUrlX, kUrlY, 273, 122, &texts::Texts::OptionUrlGroup},
    {Kind::kLabel, kIdUrlLabel, kUrlX + 8, kUrlY + 16, 257, 14, &texts::Texts::OptionUrlLabel},
    {Kind::kEdit, kIdUrlEdit, kUrlX + 8, kUrlY + 32, 257, 21},
    {Kind::kLabel, kIdFallbackLabel, kUrlX + 8, kUrlY + 57, 257, 14, &texts::Texts::OptionFallbackLabel},
    {Kind::kEdit, kIdFallbackEdit, kUrlX + 8, kUrlY + 72, 257, 21},
    {Kind::kCheck, kIdConfirmCheck, kUrlX + 8, kUrlY + 97, 257, 20,
     &texts::Texts::OptionConfirmCheck},
    {Kind::kGroup, kIdTriggerGroup, kTriggerX, kTriggerY, 273, 40, &texts::Texts::OptionTriggerGroup},
    {Kind::kCheck, kIdNetworkCheck, kTriggerX + 8, kTriggerY + 15, 257, 20,
     &texts::Texts::OptionNetworkCheck},
    // What the page learns, said where its URL is chosen.
    {Kind::kLabel, kIdPrivacyLabel, kUrlX, kTriggerY + 44, 273, 14, &texts::Texts::OptionPrivacy},
};

}  // namespace

bool ConnectionPage::Create(HWND parent, HFONT font, UINT dpi, Host* host) {
  parent_ = parent;
  host_ = host;
  if (!CreatePageControls(parent, font, kPage, dpi, &controls_)) return false;
  // No limit of 299 bytes on the fields: a longer URL pasted would be cut to another one
  // that passes; the check says it is too long instead.
  const LookupSettings lookup = host_->CurrentLookup();
  SetTextOf(parent, kIdUrlEdit, host_->CurrentLookupUrl());
  SetTextOf(parent, kIdFallbackEdit, lookup.FallbackUrl);
  ::CheckDlgButton(parent, kIdNetworkCheck,
                   lookup.CheckOnNetworkChange ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(parent, kIdConfirmCheck, lookup.ConfirmChange ? BST_CHECKED : BST_UNCHECKED);
  EnableConfirm();
  return true;
}

void ConnectionPage::ApplyDpi(HFONT font, UINT dpi) {
  PlacePageControls(controls_, kPage, font, dpi);
}

void ConnectionPage::Show(bool show) {
  if (!show) HideBalloon();
  ShowPageControls(controls_, show);
}

void ConnectionPage::HideBalloon() { balloon_.Hide(); }

bool ConnectionPage::OnCommand(int id, UINT code) {
  switch (id) {
    case kIdUrlEdit:
    case kIdFallbackEdit:
      // A window that closes hides first, which takes the focus from its field: the URL is
      // taken then, without a word.
      if (code == EN_KILLFOCUS) TakeUrl(id, ::IsWindowVisible(parent_) != FALSE);
      if (code == EN_CHANGE) {
        HideBalloon();
        EnableConfirm();
      }
      return true;
    case kIdNetworkCheck:
    case kIdConfirmCheck:
      if (code == BN_CLICKED) {
        LookupSettings lookup = host_->CurrentLookup();
        lookup.CheckOnNetworkChange = Checked(parent_, kIdNetworkCheck);
        lookup.ConfirmChange = Checked(parent_, kIdConfirmCheck);
        host_->ChangeLookup(lookup);
      }
      return true;
    default:
      return false;
  }
}

void ConnectionPage::EnableConfirm() {
  // Without a second page there is nothing to confirm with.
  ::EnableWindow(::GetDlgItem(parent_, kIdConfirmCheck),
                 ::GetWindowTextLengthW(::GetDlgItem(parent_, kIdFallbackEdit)) > 0);
}

void ConnectionPage::OnTimer(UINT_PTR id) { balloon_.OnTimer(parent_, id); }

void ConnectionPage::TakeUrl(int id, bool tell) {
  HWND field = ::GetDlgItem(parent_, id);
  const std::string url = TextOf(field);
  const bool fallback = id == kIdFallbackEdit;
  LookupSettings lookup = host_->CurrentLookup();
  if (url == (fallback ? lookup.FallbackUrl : host_->CurrentLookupUrl())) return;
  const UrlProblem problem = fallback ? FallbackUrlProblem(url) : LookupUrlProblem(url);
  if (problem != UrlProblem::kNone) {
    if (tell) balloon_.Tell(parent_, id, texts::Ui().UrlRefusedTitle, UrlProblemText(problem));
    return;
  }
  if (fallback) {
    lookup.FallbackUrl = url;
    host_->ChangeLookup(lookup);
  } else {
    host_->ChangeLookupUrl(url);
  }
}

}  // namespace lvn
