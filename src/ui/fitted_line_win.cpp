#include "ui/fitted_line_win.h"

#include <string>

#include <cstdlib>
#include <cstring>

#include "ui/dpi_win.h"
#include "ui/gdi_scope_win.h"

namespace lvn::ui {
namespace {

// At 96 DPI. Below this a Japanese text is no longer readable: the field scrolls instead.
constexpr int kSmallestHeight = 9;
// At 96 DPI. Wide enough for the longest address line on one line.
constexpr int kTipWidth = 600;

int TextWidth(HDC dc, HFONT font, const char* text) {
  ScopedSelect select(dc, font);
  SIZE size{};
  const int length = static_cast<int>(std::strlen(text));
  if (!::GetTextExtentPoint32A(dc, text, length, &size)) return 0;
  return size.cx;
}

}  // namespace

bool FittedLine::Attach(HWND field, HWND owner, const FontSpec& font, UINT dpi) {
  field_ = field;
  owner_ = owner;
  font_ = font;
  dpi_ = dpi;
  design_.Reset(CreateUiFont(font_, dpi_));
  if (!design_) return false;
  tip_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                           WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                           reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(owner, GWLP_HINSTANCE)),
                           nullptr);
  if (tip_ == nullptr) return false;
  TTTOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  // Transparent: a click where the tip shows reaches the window below, as the user meant.
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(field);
  tool.lpszText = const_cast<char*>("");
  // A width makes the tip break at its line ends, for a note below the text.
  ::SendMessageA(tip_, TTM_SETMAXTIPWIDTH, 0, Scale(kTipWidth, dpi_));
  return ::SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
}

bool FittedLine::SetDpi(UINT dpi) {
  ScopedFont design(CreateUiFont(font_, dpi));
  if (!design) return false;
  dpi_ = dpi;
  ::SendMessageA(field_, WM_SETFONT, reinterpret_cast<WPARAM>(design.Get()), FALSE);
  // The field no longer uses the old ones.
  design_ = std::move(design);
  fitted_.Reset(nullptr);
  fitted_height_ = 0;
  if (tip_ != nullptr) ::SendMessageA(tip_, TTM_SETMAXTIPWIDTH, 0, Scale(kTipWidth, dpi_));
  SetText(std::string(text_).c_str(), std::string(note_).c_str());
  return true;
}

HFONT FittedLine::MakeFont(int height) const {
  // Made at 96 DPI from a height already in pixels at the field's.
  return CreateUiFont({font_.face, font_.height < 0 ? -height : height, font_.pitch_and_family},
                      kDesignDpi);
}

int FittedLine::FittingHeight(const char* text, ScopedFont* made) const {
  const int design = std::abs(Scale(font_.height, dpi_));
  const int smallest = Scale(kSmallestHeight, dpi_);
  // The edit draws its text inside its formatting rectangle; one pixel more goes to the
  // caret after the last character.
  RECT format{};
  ::SendMessageA(field_, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
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
  text_ = text;
  note_ = note != nullptr ? note : "";
  ScopedFont made;
  const int height = FittingHeight(text, &made);
  if (height == std::abs(Scale(font_.height, dpi_))) {
    if (fitted_height_ != 0) {
      ::SendMessageA(field_, WM_SETFONT, reinterpret_cast<WPARAM>(design_.Get()), FALSE);
      fitted_.Reset(nullptr);
      fitted_height_ = 0;
    }
  } else if (height != fitted_height_) {
    // The font measured last is this height's, unless the smallest was taken untested.
    if (!made || height == Scale(kSmallestHeight, dpi_)) made.Reset(MakeFont(height));
    if (made) {
      ::SendMessageA(field_, WM_SETFONT, reinterpret_cast<WPARAM>(made.Get()), FALSE);
      // The field no longer uses the old one.
      fitted_ = std::move(made);
      fitted_height_ = height;
    }
  }
  ::SetWindowTextA(field_, text);
  if (tip_ != nullptr) {
    std::string tip = text;
    if (note != nullptr && note[0] != '\0') tip.append("\r\n").append(note);
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = owner_;
    tool.uId = reinterpret_cast<UINT_PTR>(field_);
    tool.lpszText = tip.data();
    ::SendMessageA(tip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

}  // namespace lvn::ui
