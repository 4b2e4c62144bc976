#pragma once

#include <windows.h>

#include <string_view>

#include "Design.h"

namespace win32 {

// The pixel height of a design font at `dpi`, negative as CreateFontW takes a character height.
int fontHeight(double points, UINT dpi);

HFONT createFont(const form::Font& font, int height);

// How a band draws its text: wrapped at words and centred, and elided where even the smallest
// size leaves it too long.
constexpr UINT kBandDrawing = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;

// The largest band font height, from the design's down to 9 points, at which `text` fits `size`;
// the smallest when none does.
int fittedBandHeight(HDC dc, std::wstring_view text, SIZE size, UINT dpi);

}  // namespace win32
