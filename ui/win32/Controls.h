#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "Design.h"

namespace win32 {

using Controls = std::array<HWND, form::kControls.size()>;

// The window's controls, and the few things a Win32 window needs besides.

// The design's colours, scripts and icons as Windows numbers them.
int systemColour(form::Colour colour);
BYTE charsetOf(form::Script script);
UINT iconOf(form::AboutBox::Icon icon);

// Creates every control of the design in `parent`, each numbered `firstId` plus its place in the
// design, as the design sets it up, and in the z-order a screen reader and the Tab key go by.
Controls createControls(HWND parent, int firstId);

// The window class of the program's window, with its icon and the arrow for a cursor.
void registerClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure);
// The dots per inch of the monitor the window is on.
UINT dpiOf(HWND hwnd);
std::wstring windowText(HWND hwnd);
// Puts the window where the design says it opens: in the middle of its monitor's work area.
void centre(HWND window);
// Sizes the window's client area and places its controls as the design has them at `dpi`.
void placeControls(HWND window, const Controls& controls, UINT dpi);
// Moves a bar as a WM_HSCROLL of `code` asks, one `step` an arrow, and within its ends; its new
// value, or none where it did not move.
std::optional<int> scrolledTo(HWND bar, int code, WORD position, int step);

}  // namespace win32
