#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "Design.h"

namespace win32 {

using Controls = std::array<HWND, form::kControls.size()>;

// The window's controls, and the few things a Win32 window needs besides.

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

}  // namespace win32
