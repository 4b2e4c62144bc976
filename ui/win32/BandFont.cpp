#include "BandFont.h"

#include <cmath>

#include "Utf16.h"

namespace win32 {
namespace {

constexpr double kSmallestPoints = 9.0;

bool fits(HDC dc, std::wstring_view text, SIZE size, int height) {
    const HFONT font = createFont(form::kBandFont, height);
    const HGDIOBJ old = ::SelectObject(dc, font);
    RECT needed{0, 0, size.cx, 0};
    ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &needed,
                kBandDrawing | DT_CALCRECT);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    return needed.right <= size.cx && needed.bottom <= size.cy;
}

}  // namespace

int fontHeight(double points, UINT dpi) {
    return -static_cast<int>(std::lround(points * dpi / 72.0));
}

HFONT createFont(const form::Font& font, int height) {
    return ::CreateFontW(height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE,
                         static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                         DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, utf16(font.family).c_str());
}

int fittedBandHeight(HDC dc, std::wstring_view text, SIZE size, UINT dpi) {
    const int smallest = fontHeight(kSmallestPoints, dpi);
    int height = fontHeight(form::kBandFont.points, dpi);
    while (height < smallest && !fits(dc, text, size, height)) {
        ++height;  // heights are negative: one pixel smaller
    }
    return height;
}

}  // namespace win32
