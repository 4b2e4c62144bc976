#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "Band.h"
#include "DrillEngine.h"

namespace win32 {

// The program's one window on the Win32 API: the controls of the design, each of their events
// forwarded to the drill engine, and what the engine says shown in the controls.
class Form1 final : private drill::DrillFrontend {
public:
    // The one timer, armed for the engine's next due moment.
    static constexpr UINT_PTR kCardTimer = 1;
    // A control's number is this plus its place in the design's creation order.
    static constexpr int kFirstControlId = 100;

    explicit Form1(drill::Sources sources = {});
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    ~Form1() override;

    // Creates the window and shows it; its first showing activates the drill.
    HWND show(int how = SW_SHOWNORMAL);

    HWND hwnd() const { return hwnd_; }
    HWND control(form::Control id) const { return controls_[static_cast<std::size_t>(id)]; }
    const drill::DrillState& drillState() const { return engine_.state(); }
    // What the card timer was last armed with; empty when it is stopped.
    std::optional<UINT> timerWait() const { return timerWait_; }
    UINT dpi() const { return dpi_; }
    // What a band draws: its text as fitted, and the size.
    const form::FittedText& drawn(form::Control band) const { return bands_[slot(band)].fitted(); }

private:
    static std::size_t slot(form::Control band) { return band == form::Control::Label2 ? 0 : 1; }

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void created();
    void dpiChanged(UINT dpi, const RECT& suggested);
    void layOut(UINT dpi);
    void focusGiven();
    void drawBand(const DRAWITEMSTRUCT& item);
    void command(HWND from, WORD number, WORD code);
    void scrolled(HWND bar, int code, WORD position);
    void timerFired();

    void showText(form::Control control, std::string_view text) override;
    void setBar(form::Control bar, int minimum, int maximum, int value) override;
    void enable(form::Control control, bool enabled) override;
    void wakeAt(std::optional<drill::TimePoint> due) override;
    void showAbout() override;
    void end() override;

    drill::DrillEngine engine_;
    HWND hwnd_ = nullptr;
    HWND focus_ = nullptr;  // where the focus was when the window was left
    std::array<HWND, form::kControls.size()> controls_{};
    std::array<Band, 2> bands_{};  // Label2's and Label3's
    HFONT windowFont_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::optional<UINT> timerWait_;
    bool writing_ = false;  // the engine's own write to a field, which is not input
};

}  // namespace win32
