#pragma once

#include <windows.h>

#include <string>

#include "BandFit.h"
#include "Design.h"

namespace win32 {

// The pixel height of a design font at `dpi`, negative as CreateFontW takes a character height.
int fontHeight(double points, UINT dpi);

HFONT createFont(const form::Font& font, int height);

// A band's text as the design fits it (form::fitToBand), measured with GDI on `dc` at `dpi`.
form::FittedText fitted(HDC dc, std::wstring_view text, SIZE band, UINT dpi);

// Draws fitted lines centred in `area`, as a label centres them, in the font selected into `dc`.
void drawLines(HDC dc, std::wstring_view lines, RECT area);

}  // namespace win32
