// Reads, from inside a program, every text its user-interface thread shows and the room each
// has, as a screen reader's hook does: under Wine neither a menu nor a font handle is of any
// use to another process. A test hooks this DLL (WH_GETMESSAGE, TextProbeHook) into the
// thread and posts the registered message "LvnTextProbe" to one of its windows; the answer
// is text_probe.txt beside the DLL, in UTF-8, one text a line, tab-separated:
//   WINDOW  WHERE  TEXT  NEEDED_WIDTH  NEEDED_HEIGHT  ROOM_WIDTH  ROOM_HEIGHT
// WINDOW is the class of the visible top-level window the text is in. WHERE is "caption",
// "menu" (its menu bar and their menus, depth first), "popup" (a menu that shows), or a
// control's class and id, with " item" for the items of a tree or a list and the header
// cells of the history grid. The needed size is the text's, in the control's own font, with
// what the control draws beside it (a check box's box, an edit's margins); sizes are 0 for
// texts that size their own place (menus). TEXT has "\\", tab, CR and LF escaped as \\, \t,
// \r and \n. Only visible windows and controls are read.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui/string_grid_win.h"

namespace {

HMODULE g_self = nullptr;

struct Piece {
  std::wstring window, where, text;
  SIZE needed{}, room{};
};

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(),
                        length, nullptr, nullptr);
  return bytes;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = L"";
  const int length = ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1,
                    L'\0');
  text.resize(static_cast<std::size_t>(::SendMessageW(
      window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

SIZE ClientSize(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  return SIZE{client.right, client.bottom};
}

int Metric(int index, HWND window) {
  return ::GetSystemMetricsForDpi(index, ::GetDpiForWindow(window));
}

// The text's size as DrawTextW lays it out in font (the system font for none); wrapped at
// wrap_width with DT_WORDBREAK, where a word wider than that comes out wider.
SIZE Measure(HWND window, HFONT font, const std::wstring& text, UINT format, int wrap_width = 0) {
  HDC dc = ::GetDC(window);
  HGDIOBJ old = ::SelectObject(dc, font != nullptr ? font : ::GetStockObject(SYSTEM_FONT));
  RECT rect{0, 0, wrap_width, 0};
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
  ::SelectObject(dc, old);
  ::ReleaseDC(window, dc);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

HFONT FontOf(HWND control) {
  return reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
}

class Probe {
 public:
  void ReadTopLevel(HWND window) {
    window_ = ClassOf(window);
    if (window_ == L"#32768") {
      ReadMenu(reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0)), L"popup");
      return;
    }
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    if ((style & WS_CAPTION) == WS_CAPTION) ReadCaption(window, style);
    if ((style & WS_CHILD) == 0) ReadMenu(::GetMenu(window), L"menu");
    ::EnumChildWindows(
        window,
        [](HWND child, LPARAM self) -> BOOL {
          if (::IsWindowVisible(child)) reinterpret_cast<Probe*>(self)->ReadControl(child);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
  }

  std::string Answer() const {
    std::string answer;
    for (const Piece& piece : pieces_) {
      std::wstring text;
      for (const wchar_t c : piece.text) {
        text += c == L'\\' ? L"\\\\" : c == L'\t' ? L"\\t" : c == L'\r' ? L"\\r"
              : c == L'\n' ? L"\\n" : std::wstring(1, c);
      }
      answer.append(Utf8(piece.window)).append("\t").append(Utf8(piece.where));
      answer.append("\t").append(Utf8(text));
      for (const LONG n : {piece.needed.cx, piece.needed.cy, piece.room.cx, piece.room.cy}) {
        answer.append("\t").append(std::to_string(n));
      }
      answer.append("\n");
    }
    return answer;
  }

 private:
  void Add(const std::wstring& where, const std::wstring& text, SIZE needed = {},
           SIZE room = {}) {
    if (!text.empty()) pieces_.push_back({window_, where, text, needed, room});
  }

  // Drawn after the icon and before the caption's buttons.
  void ReadCaption(HWND window, DWORD style) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                 ::GetDpiForWindow(window));
    HFONT font = ::CreateFontIndirectW(&metrics.lfCaptionFont);
    const std::wstring text = TextOf(window);
    SIZE needed{Measure(window, font, text, DT_SINGLELINE | DT_NOPREFIX).cx, 0};
    ::DeleteObject(font);
    needed.cx += 8;  // the margins
    if ((style & WS_SYSMENU) != 0) {
      needed.cx += Metric(SM_CXSMICON, window) + Metric(SM_CXSIZE, window);  // icon, close box
    }
    if ((style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0) needed.cx += 2 * Metric(SM_CXSIZE, window);
    RECT frame{};
    ::GetWindowRect(window, &frame);
    Add(L"caption", text, needed,
        SIZE{frame.right - frame.left - 2 * Metric(SM_CXFIXEDFRAME, window), 0});
  }

  void ReadMenu(HMENU menu, const wchar_t* where) {
    if (menu == nullptr) return;
    for (int i = 0, count = ::GetMenuItemCount(menu); i < count; ++i) {
      wchar_t text[256] = L"";
      MENUITEMINFOW item{};
      item.cbSize = sizeof item;
      item.fMask = MIIM_STRING | MIIM_SUBMENU;
      item.dwTypeData = text;
      item.cch = static_cast<UINT>(std::size(text));
      if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item)) continue;
      Add(where, text);
      ReadMenu(item.hSubMenu, where);
    }
  }

  void ReadControl(HWND control) {
    const std::wstring kind = ClassOf(control);
    const std::wstring where = kind + L" " + std::to_wstring(::GetDlgCtrlID(control));
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_STYLE));
    const SIZE room = ClientSize(control);
    HFONT font = FontOf(control);
    if (_wcsicmp(kind.c_str(), L"Button") == 0) {
      const std::wstring text = TextOf(control);
      const DWORD type = style & BS_TYPEMASK;
      SIZE needed = Measure(control, font, text, DT_SINGLELINE);
      if (type == BS_GROUPBOX) {
        needed.cx += 14;  // the frame's line before and after the caption
      } else if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
                 type == BS_AUTO3STATE || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
        needed.cx += Metric(SM_CXMENUCHECK, control) + 4;
      } else {
        needed.cx += 4 * Metric(SM_CXEDGE, control);
      }
      Add(where, text, needed, room);
    } else if (_wcsicmp(kind.c_str(), L"Static") == 0) {
      const DWORD type = style & SS_TYPEMASK;
      if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_SIMPLE &&
          type != SS_LEFTNOWORDWRAP) {
        return;
      }
      const std::wstring text = TextOf(control);
      const bool wraps = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
      const UINT format = (wraps ? DT_WORDBREAK | DT_EXPANDTABS : DT_SINGLELINE) |
                          ((style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0);
      Add(where, text, Measure(control, font, text, format, room.cx), room);
    } else if (_wcsicmp(kind.c_str(), L"Edit") == 0) {
      // What the user typed is the user's; the program's own lines are read-only.
      if ((style & ES_READONLY) == 0 || (style & ES_MULTILINE) != 0) return;
      const std::wstring text = TextOf(control);
      SIZE needed = Measure(control, font, text, DT_SINGLELINE | DT_NOPREFIX);
      const auto margins = static_cast<DWORD>(::SendMessageW(control, EM_GETMARGINS, 0, 0));
      needed.cx += LOWORD(margins) + HIWORD(margins);
      Add(where, text, needed, room);
    } else if (_wcsicmp(kind.c_str(), L"ComboBox") == 0) {
      // Each item as the closed list shows it, beside the arrow.
      const SIZE face{room.cx - Metric(SM_CXVSCROLL, control), room.cy};
      const auto count = static_cast<WPARAM>(::SendMessageW(control, CB_GETCOUNT, 0, 0));
      for (WPARAM i = 0; i < count; ++i) {
        std::wstring text(
            static_cast<std::size_t>(::SendMessageW(control, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(::SendMessageW(
            control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        SIZE needed = Measure(control, font, text, DT_SINGLELINE | DT_NOPREFIX);
        needed.cx += 2 * Metric(SM_CXEDGE, control);
        Add(where + L" item", text, needed, face);
      }
    } else if (kind == WC_TREEVIEWW) {
      for (auto item = reinterpret_cast<HTREEITEM>(
               ::SendMessageW(control, TVM_GETNEXTITEM, TVGN_ROOT, 0));
           item != nullptr; item = reinterpret_cast<HTREEITEM>(::SendMessageW(
                                control, TVM_GETNEXTITEM, TVGN_NEXT,
                                reinterpret_cast<LPARAM>(item)))) {
        wchar_t text[256] = L"";
        TVITEMW data{};
        data.mask = TVIF_TEXT;
        data.hItem = item;
        data.pszText = text;
        data.cchTextMax = static_cast<int>(std::size(text));
        ::SendMessageW(control, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
        // The rectangle the tree gives the text, in its own font.
        RECT rect{};
        std::memcpy(&rect, &item, sizeof item);
        ::SendMessageW(control, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
        Add(where + L" item", text, SIZE{rect.right, rect.bottom}, room);
      }
    } else if (Utf8(kind) == lvn::ui::StringGrid::kClassName) {
      const auto fixed = static_cast<int>(::SendMessageW(control, lvn::ui::kGridMsgGetFixedRows, 0, 0));
      const auto columns = static_cast<int>(::SendMessageW(control, lvn::ui::kGridMsgGetColCount, 0, 0));
      const auto height = static_cast<LONG>(::SendMessageW(control, lvn::ui::kGridMsgGetRowHeight, 0, 0));
      for (int row = 0; row < fixed; ++row) {
        for (int col = 0; col < columns; ++col) {
          ::SendMessageW(control, lvn::ui::kGridMsgSetQueryCell, static_cast<WPARAM>(col), row);
          const std::wstring text = TextOf(control);
          SIZE needed = Measure(control, font, text, DT_SINGLELINE | DT_NOPREFIX);
          needed.cx += 4;  // the cell's inset
          const auto width = static_cast<LONG>(::SendMessageW(
              control, lvn::ui::kGridMsgGetColWidth, static_cast<WPARAM>(col), 0));
          Add(where + L" item", text, needed, SIZE{width, height});
        }
      }
      ::SendMessageW(control, lvn::ui::kGridMsgSetQueryCell, 0, 0);
    } else {
      Add(where, TextOf(control));
    }
  }

  std::wstring window_;
  std::vector<Piece> pieces_;
};

std::wstring BesideSelf(const wchar_t* name) {
  wchar_t path[MAX_PATH] = L"";
  const DWORD length = ::GetModuleFileNameW(g_self, path, MAX_PATH);
  const std::wstring self(path, length < MAX_PATH ? length : 0);
  return self.substr(0, self.find_last_of(L'\\') + 1) + name;
}

// Written whole, then put in place: the test waits for the file to be there.
void Answer(const std::string& answer) {
  const std::wstring partial = BesideSelf(L"text_probe.tmp");
  HANDLE file = ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, answer.data(), static_cast<DWORD>(answer.size()), &written, nullptr);
  ::CloseHandle(file);
  ::MoveFileExW(partial.c_str(), BesideSelf(L"text_probe.txt").c_str(),
                MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_self = instance;
  return TRUE;
}

extern "C" __declspec(dllexport) LRESULT CALLBACK TextProbeHook(int code, WPARAM removed,
                                                                LPARAM message) {
  static const UINT probe = ::RegisterWindowMessageW(L"LvnTextProbe");
  auto* taken = reinterpret_cast<MSG*>(message);
  if (code == HC_ACTION && removed == PM_REMOVE && taken->message == probe) {
    taken->message = WM_NULL;  // the program never sees it
    Probe reader;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM self) -> BOOL {
          if (::IsWindowVisible(window)) reinterpret_cast<Probe*>(self)->ReadTopLevel(window);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&reader));
    Answer(reader.Answer());
  }
  return ::CallNextHookEx(nullptr, code, removed, message);
}
