// The controls of the options window's pages, made from a table per page. They are
// children of the options window, hidden until their page is chosen.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "util/texts.h"

namespace lvn {

enum class PageControl { kGroup, kCheck, kLabel, kEdit, kNumber, kSpin, kButton };

struct PageEntry {
  PageControl kind;
  int id;
  int x, y, width, height;  // at 96 DPI
  const char* texts::Texts::*text = nullptr;  // in the interface language's texts; none
};

// Makes the entries' controls, hidden, in tab order after the window's existing ones, at
// their places for a display of dpi, and adds them to *controls. A spin box takes the
// number field before it as its buddy, and its place from it.
bool CreatePageControls(HWND parent, HFONT font, std::span<const PageEntry> entries, UINT dpi,
                        std::vector<HWND>* controls);
// The controls CreatePageControls made from entries moved to their places for a display of
// dpi, with font.
void PlacePageControls(const std::vector<HWND>& controls, std::span<const PageEntry> entries,
                       HFONT font, UINT dpi);
void ShowPageControls(const std::vector<HWND>& controls, bool show);

bool Checked(HWND parent, int id);
std::string TextOf(HWND control);

}  // namespace lvn
