#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "ByteSource.h"
#include "DrillEngine.h"

namespace win32 {

// The program's one window on the Win32 API: the controls of the design, each event handed to
// the drill engine, and what the engine says shown in the controls.
class Form1 final : private drill::DrillFrontend {
public:
    // The one timer, armed for the engine's next due moment.
    static constexpr UINT_PTR kCardTimer = 1;
    // A control's number is this plus its place in the design's creation order.
    static constexpr int kFirstControlId = 100;

    // Reads "engl.voc" from the current folder on the real clock unless told otherwise.
    explicit Form1(dictionary::SourceOpener dictionary = dictionary::fileOpener("engl.voc"),
                   drill::Clock* clock = nullptr, drill::RandomSource* random = nullptr);
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

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void createControls();
    void nameForScreenReaders();
    void layOut(UINT dpi);
    void centre();
    void fitBand(form::Control band);
    void drawBand(const DRAWITEMSTRUCT& item);
    void command(form::Control id, WORD code);
    void scrolled(HWND bar, int code, WORD position);

    void Form_Activate();
    void Form_Unload();
    void HScroll1_Change(int value);
    void HScroll3_Change(int value);
    void Text7_Change();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    void showText(form::Control control, std::string_view text) override;
    void setBar(form::Control bar, int minimum, int maximum, int value) override;
    void enable(form::Control control, bool enabled) override;
    void wakeAt(std::optional<drill::TimePoint> due) override;

    std::unique_ptr<drill::Clock> ownClock_;
    std::unique_ptr<drill::RandomSource> ownRandom_;
    drill::DrillEngine engine_;
    HWND hwnd_ = nullptr;
    HWND focus_ = nullptr;  // where the focus was when the window was left
    std::array<HWND, form::kControls.size()> controls_{};
    std::array<HFONT, 2> bandFonts_{};  // Label2's and Label3's, each fitted to its text
    std::array<int, 2> bandHeights_{};
    HFONT windowFont_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::optional<UINT> timerWait_;
    bool activated_ = false;
};

}  // namespace win32
