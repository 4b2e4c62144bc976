#pragma once

#include <windows.h>

#include "BandFit.h"
#include "Design.h"

namespace win32 {

// The pixel height of a design font at `dpi`, negative as CreateFontW takes a character height.
int fontHeight(double points, UINT dpi);

HFONT createFont(const form::Font& font, int height);

// A band as the window draws it: its control's text fitted to it as the design says
// (form::fitToBand, measured with GDI), in a font made for the size fitted.
class Band {
public:
    Band() = default;
    Band(const Band&) = delete;
    Band& operator=(const Band&) = delete;
    ~Band() { ::DeleteObject(font_); }

    // Fits the control's text at `dpi` and gives the control the font for it; the font made
    // before goes back to Windows.
    void fit(HWND control, UINT dpi);
    // Draws the fitted lines centred, as a label centres them, in the system colour `colour`.
    void draw(const DRAWITEMSTRUCT& item, int colour) const;

    const form::FittedText& fitted() const { return fitted_; }

private:
    form::FittedText fitted_;
    HFONT font_ = nullptr;
};

}  // namespace win32
