#include "windows/main/status_strip_win.h"

#include <utility>
#include <vector>

#include "ui/controls_win.h"
#include "ui/dpi_win.h"
#include "ui/gdi_scope_win.h"
#include "util/texts.h"
#include "util/wide_text_win.h"

namespace lvn {

namespace {

constexpr COLORREF kMaroon = RGB(128, 0, 0);  // the transparent key
// Cell height 12 at 96 DPI, a fixed-pitch face wherever MS Gothic is missing.
constexpr ui::FontSpec kFont{"MS Gothic", 12, FIXED_PITCH | FF_MODERN};

void FillBox(HDC dc, const StatusBox& box, COLORREF colour) {
  ScopedBrush brush(::CreateSolidBrush(colour));
  const RECT rect{box.left, box.top, box.right, box.bottom};
  ::FillRect(dc, &rect, brush.Get());
}

StatusSpacing ScaledSpacing(UINT dpi) {
  const StatusSpacing design;
  return StatusSpacing{ui::Scale(design.Gap, dpi), ui::Scale(design.PadWidth, dpi),
                       ui::Scale(design.PadHeight, dpi), ui::Scale(design.TextLeft, dpi),
                       ui::Scale(design.TextTop, dpi)};
}

}  // namespace

TStatus::TStatus(ui::Image* image, UINT dpi)
    : Image(image),
      font_(ui::CreateUiFont(kFont, dpi)),
      spacing_(ScaledSpacing(dpi)) {
  HDC dc = Image->CanvasDc();
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  FillBox(dc, StatusBox{0, 0, Image->CanvasWidth(), Image->CanvasHeight()}, kMaroon);
}

bool TStatus::SetDpi(UINT dpi) {
  ScopedFont font(ui::CreateUiFont(kFont, dpi));
  if (!font) return false;
  RECT place{};
  ::GetClientRect(Image->Handle(), &place);
  if (!Image->ResizeCanvas(place.right, place.bottom)) return false;
  font_ = std::move(font);
  spacing_ = ScaledSpacing(dpi);
  HDC dc = Image->CanvasDc();
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  Layout(std::string(samples_).c_str());
  return true;
}

void TStatus::Layout(const char* text) {
  samples_ = text;
  HDC dc = Image->CanvasDc();
  // A layout before this one, for a longer host, leaves nothing behind.
  FillBox(dc, StatusBox{0, 0, Image->CanvasWidth(), Image->CanvasHeight()}, kMaroon);
  ScopedSelect font(dc, font_.Get());
  layout_ = LayoutStatus(text, [dc](std::string_view piece, int* width, int* height) {
    SIZE size{};
    const std::wstring wide = Wide(piece);
    if (!::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size)) {
      return false;
    }
    *width = size.cx;
    *height = size.cy;
    return true;
  }, spacing_);
  ScopedPen pen(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW)));
  ScopedSelect pen_in(dc, pen.Get());
  ScopedSelect brush_in(dc, ::GetSysColorBrush(COLOR_BTNFACE));
  for (int i = 0; i < layout_.FieldCount; ++i) {
    const StatusBox& box = layout_.Borders[i];
    ::Rectangle(dc, box.left, box.top, box.right, box.bottom);
  }
  Image->SetWidth(layout_.Edges[layout_.FieldCount]);
  Image->Repaint();
  // The fields keep what they showed.
  for (int i = 0; i < layout_.FieldCount; ++i) {
    if (!fields_[i].empty()) DrawField(i, std::string(fields_[i]).c_str(), false);
  }
}

void TStatus::LayoutFor(const char* lookup_host) {
  const std::string layout =
      std::string(texts::Ui().IntervalSample) + ";" + lookup_host + ";" + texts::Ui().RowSample;
  Layout(layout.c_str());
}

void TStatus::DrawField(int index, const char* text, bool highlight) {
  StatusBox fill;
  int x = 0, y = 0;
  if (!StatusFieldInterior(layout_, index, Image->CanvasHeight(), &fill, &x, &y)) return;
  HDC dc = Image->CanvasDc();
  const COLORREF face = ::GetSysColor(highlight ? COLOR_WINDOW : COLOR_BTNFACE);
  FillBox(dc, fill, face);
  ScopedSelect font(dc, font_.Get());
  ::SetBkMode(dc, OPAQUE);
  ::SetBkColor(dc, face);
  const std::wstring wide = Wide(text);
  ::TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
  Image->Repaint();

  fields_[index] = text;
  std::vector<ui::ImageField> fields;
  for (int i = 0; i < layout_.FieldCount; ++i) {
    const StatusBox& box = layout_.Borders[i];
    fields.push_back({fields_[i], RECT{box.left, box.top, box.right, box.bottom}});
  }
  Image->SetFields(std::move(fields));
}

}  // namespace lvn
