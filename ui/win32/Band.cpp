#include "Band.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "Controls.h"
#include "Encoding.h"

namespace win32 {

using dictionary::utf16;
using dictionary::utf8;

int fontHeight(double points, UINT dpi) {
    return -static_cast<int>(std::lround(points * dpi / 72.0));
}

HFONT createFont(const form::Font& font, int height) {
    return ::CreateFontW(height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, charsetOf(font.script),
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, utf16(font.family).c_str());
}

namespace {

// A band's text as the design fits it, measured with GDI on `dc` at `dpi`.
form::FittedText fitInto(HDC dc, std::wstring_view text, SIZE band, UINT dpi) {
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

}  // namespace

void Band::fit(HWND control, UINT dpi) {
    RECT area{};
    ::GetClientRect(control, &area);
    const HDC dc = ::GetDC(control);
    fitted_ = fitInto(dc, windowText(control), {area.right, area.bottom}, dpi);
    ::ReleaseDC(control, dc);
    const HFONT old =
        std::exchange(font_, createFont(form::kBandFont, fontHeight(fitted_.points, dpi)));
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    ::DeleteObject(old);
    ::InvalidateRect(control, nullptr, TRUE);
}

void Band::draw(const DRAWITEMSTRUCT& item, int colour) const {
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(colour));
    const HGDIOBJ old = ::SelectObject(item.hDC, font_);
    const std::wstring lines = utf16(fitted_.text);
    constexpr UINT kDrawing = DT_CENTER | DT_NOPREFIX;
    RECT area = item.rcItem, needed{0, 0, area.right - area.left, 0};
    ::DrawTextW(item.hDC, lines.data(), static_cast<int>(lines.size()), &needed,
                kDrawing | DT_CALCRECT);
    area.top += std::max(0L, (area.bottom - area.top - needed.bottom) / 2);
    ::DrawTextW(item.hDC, lines.data(), static_cast<int>(lines.size()), &area, kDrawing);
    ::SelectObject(item.hDC, old);
}

}  // namespace win32
