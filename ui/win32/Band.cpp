#include "Band.h"

#include <algorithm>
#include <cmath>

#include "Utf16.h"

namespace win32 {

int fontHeight(double points, UINT dpi) {
    return -static_cast<int>(std::lround(points * dpi / 72.0));
}

HFONT createFont(const form::Font& font, int height) {
    return ::CreateFontW(height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE,
                         static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                         DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, utf16(font.family).c_str());
}

form::FittedText fitted(HDC dc, std::wstring_view text, SIZE band, UINT dpi) {
    // One font at a time selected into the device context, made anew when the size changes.
    double selectedPoints = 0;
    HFONT font = nullptr;
    const HGDIOBJ old = ::GetCurrentObject(dc, OBJ_FONT);
    const auto select = [&](double points) {
        if (points != selectedPoints) {
            ::SelectObject(dc, old);
            ::DeleteObject(font);
            font = createFont(form::kBandFont, fontHeight(points, dpi));
            ::SelectObject(dc, font);
            selectedPoints = points;
        }
    };
    const form::Measure measure{
        [&](std::string_view line, double points) {
            select(points);
            const std::wstring wide = utf16(line);
            SIZE size{};
            ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
            return static_cast<int>(size.cx);
        },
        [&](double points) {
            select(points);
            TEXTMETRICW metrics{};
            ::GetTextMetricsW(dc, &metrics);
            return static_cast<int>(metrics.tmHeight);
        },
    };
    form::FittedText fit = form::fitToBand(utf8(text), band.cx, band.cy, measure);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    return fit;
}

void drawLines(HDC dc, std::wstring_view lines, RECT area) {
    constexpr UINT kDrawing = DT_CENTER | DT_NOPREFIX;
    RECT needed{0, 0, area.right - area.left, 0};
    ::DrawTextW(dc, lines.data(), static_cast<int>(lines.size()), &needed, kDrawing | DT_CALCRECT);
    area.top += std::max(0L, (area.bottom - area.top - needed.bottom) / 2);
    ::DrawTextW(dc, lines.data(), static_cast<int>(lines.size()), &area, kDrawing);
}

}  // namespace win32
