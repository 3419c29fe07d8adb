#include "ui/fitted_line_win.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>

#include "ui/dpi_win.h"
#include "ui/gdi_scope_win.h"
#include "util/wide_text_win.h"

namespace lvn::ui {
namespace {

// At 96 DPI. Below this a Japanese text is no longer readable: the field scrolls instead.
constexpr int kSmallestHeight = 9;
// At 96 DPI. Wide enough for the longest address line on one line.
constexpr int kTipWidth = 600;

int TextWidth(HDC dc, HFONT font, const std::wstring& text) {
  ScopedSelect select(dc, font);
  SIZE size{};
  const int length = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
  if (!::GetTextExtentPoint32W(dc, text.data(), length, &size)) return 0;
  return size.cx;
}

TTTOOLINFOW ToolFor(HWND owner, HWND field) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(field);
  return tool;
}

}  // namespace

bool FittedLine::Attach(HWND field, HWND owner, const FontSpec& font, UINT dpi) {
  field_ = field;
  owner_ = owner;
  font_ = font;
  dpi_ = dpi;
  design_.Reset(CreateUiFont(font_, dpi_));
  if (!design_) return false;
  tip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                           reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(owner, GWLP_HINSTANCE)),
                           nullptr);
  if (tip_ == nullptr) return false;
  TTTOOLINFOW tool = ToolFor(owner, field);
  // Transparent: a click where the tip shows reaches the window below, as the user meant.
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT;
  wchar_t empty[] = L"";
  tool.lpszText = empty;
  // A width makes the tip break at its line ends, for a note below the text.
  ::SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, Scale(kTipWidth, dpi_));
  return ::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
}

bool FittedLine::SetDpi(UINT dpi) {
  ScopedFont design(CreateUiFont(font_, dpi));
  if (!design) return false;
  dpi_ = dpi;
  ::SendMessageW(field_, WM_SETFONT, reinterpret_cast<WPARAM>(design.Get()), FALSE);
  // The field no longer uses the old ones.
  design_ = std::move(design);
  fitted_.Reset(nullptr);
  fitted_height_ = 0;
  if (tip_ != nullptr) ::SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, Scale(kTipWidth, dpi_));
  SetText(std::string(text_).c_str(), std::string(note_).c_str());
  return true;
}

HFONT FittedLine::MakeFont(int height) const {
  // Made at 96 DPI from a height already in pixels at the field's.
  return CreateUiFont({font_.face, font_.height < 0 ? -height : height, font_.pitch_and_family},
                      kDesignDpi);
}

int FittedLine::FittingHeight(const std::wstring& text, ScopedFont* made) const {
  const int design = std::abs(Scale(font_.height, dpi_));
  const int smallest = Scale(kSmallestHeight, dpi_);
  // The edit draws its text inside its formatting rectangle; one pixel more goes to the
  // caret after the last character.
  RECT format{};
  ::SendMessageW(field_, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  const int room = format.right - format.left - 1;
  HDC dc = ::GetDC(field_);
  if (dc == nullptr) return design;
  int height = design;
  const int design_width = TextWidth(dc, design_.Get(), text);
  if (design_width > room && room > 0) {
    // The widths grow with the height almost in proportion: start near the answer.
    height = design * room / design_width;
    if (height >= design) height = design - 1;
    for (; height > smallest; --height) {
      // The size in use is measured with its own font: a check that changes nothing
      // creates none.
      if (height == fitted_height_) {
        if (TextWidth(dc, fitted_.Get(), text) <= room) break;
        continue;
      }
      made->Reset(MakeFont(height));
      if (*made && TextWidth(dc, made->Get(), text) <= room) break;
    }
  }
  ::ReleaseDC(field_, dc);
  return height;
}

void FittedLine::SetText(const char* text, const char* note) {
  text_ = text != nullptr ? text : "";
  note_ = note != nullptr ? note : "";
  const std::wstring wide = Wide(text_);
  ScopedFont made;
  const int height = FittingHeight(wide, &made);
  if (height == std::abs(Scale(font_.height, dpi_))) {
    if (fitted_height_ != 0) {
      ::SendMessageW(field_, WM_SETFONT, reinterpret_cast<WPARAM>(design_.Get()), FALSE);
      fitted_.Reset(nullptr);
      fitted_height_ = 0;
    }
  } else if (height != fitted_height_) {
    // The font measured last is this height's, unless the smallest was taken untested.
    if (!made || height == Scale(kSmallestHeight, dpi_)) made.Reset(MakeFont(height));
    if (made) {
      ::SendMessageW(field_, WM_SETFONT, reinterpret_cast<WPARAM>(made.Get()), FALSE);
      // The field no longer uses the old one.
      fitted_ = std::move(made);
      fitted_height_ = height;
    }
  }
  ::SetWindowTextW(field_, wide.c_str());
  if (tip_ != nullptr) {
    std::wstring tip = wide;
    if (!note_.empty()) tip.append(L"\r\n").append(Wide(note_));
    TTTOOLINFOW tool = ToolFor(owner_, field_);
    tool.lpszText = tip.data();
    ::SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

}  // namespace lvn::ui
