#include <windows.h>

#include <doctest/doctest.h>
#include <oleacc.h>

#include <functional>
#include <map>
#include <string>

#include "tests/Fakes.h"
#include "ui/win32/AccessibleName.h"
#include "ui/win32/BandFont.h"
#include "ui/win32/Form1.h"
#include "ui/win32/Utf16.h"

using namespace std::chrono_literals;
using design::Control;
using dictionary::OpenStatus;

namespace {

// A shown window over a dictionary, on a clock and draws that the test sets.
struct Window {
    explicit Window(dictionary::SourceOpener open, std::vector<double> draws = {})
        : form(std::move(open), &clock, &random) {
        random.values = std::move(draws);
        form.show(SW_SHOWNOACTIVATE);
    }
    HWND get(Control id) const { return form.control(id); }
    std::string text(Control id) const {
        wchar_t text[8192];
        return win32::utf8({text, static_cast<std::size_t>(::GetWindowTextW(get(id), text, 8192))});
    }
    void click(Control id) const { ::SendMessageW(get(id), BM_CLICK, 0, 0); }
    // Types into the range field as a user does, over what it holds.
    void typeRange(const wchar_t* keys) const {
        ::SendMessageW(get(Control::Text7), EM_SETSEL, 0, -1);
        for (; *keys != 0; ++keys) {
            ::SendMessageW(get(Control::Text7), WM_CHAR, *keys, 0);
        }
    }
    void scroll(Control bar, WORD code, WORD position = 0) const {
        ::SendMessageW(form.hwnd(), WM_HSCROLL, MAKEWPARAM(code, position),
                       reinterpret_cast<LPARAM>(get(bar)));
    }
    // How long the card timer was armed to wait; -1 when it is stopped.
    long long timerWait() const {
        return form.timerWait() ? static_cast<long long>(*form.timerWait()) : -1;
    }
    // Moves the clock on and fires the card timer at once.
    void after(std::chrono::milliseconds step) {
        clock.advance(step);
        REQUIRE(form.timerWait());
        ::SendMessageW(form.hwnd(), WM_TIMER, win32::Form1::kCardTimer, 0);
    }
    LOGFONTW font(Control id) const {
        LOGFONTW font{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(get(id), WM_GETFONT, 0, 0)),
                     sizeof font, &font);
        return font;
    }

    ManualClock clock;
    ScriptedRandom random;
    win32::Form1 form;
};

// Hands the thread's pending messages and events to their handlers.
void pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::DispatchMessageW(&message);
    }
}

// When the next message box comes up: runs `whileOpen`, notes what the box shows, presses OK.
HHOOK boxHook = nullptr;
std::function<void(HWND)> onBox;
LRESULT CALLBACK watchForBox(int code, WPARAM wParam, LPARAM lParam) {
    wchar_t kind[16] = L"";
    if (code == HCBT_ACTIVATE) {
        ::GetClassNameW(reinterpret_cast<HWND>(wParam), kind, 16);
    }
    if (std::wstring_view(kind) == L"#32770" && onBox) {
        std::exchange(onBox, nullptr)(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(boxHook, code, wParam, lParam);
}

void closeBoxSoon(std::string& shown, std::function<void()> whileOpen) {
    boxHook = ::SetWindowsHookExW(WH_CBT, watchForBox, nullptr, ::GetCurrentThreadId());
    onBox = [&shown, whileOpen](HWND box) {
        whileOpen();
        wchar_t text[256];
        ::GetWindowTextW(box, text, 256);
        shown = win32::utf8(text);
        int buttons = 0;
        bool icon = false;
        for (HWND child = ::GetWindow(box, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            ::GetClassNameW(child, text, 256);
            const LONG style = ::GetWindowLongW(child, GWL_STYLE);
            if (std::wstring_view(text) == L"Button") {
                ++buttons;
            } else if ((style & SS_TYPEMASK) == SS_ICON) {
                icon = icon || ::SendMessageW(child, STM_GETICON, 0, 0) != 0;
            } else if (::GetWindowTextW(child, text, 256) > 0) {
                shown.append("|").append(win32::utf8(text));
            }
        }
        shown += icon ? "|icon, " : "|no icon, ";
        shown += std::to_string(buttons) + " button";
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    };
}

const std::string kAboutBox =
    "Информация|Вокабунта\nI версия\nАвтор: Зельвиран\n5.09.2003г.|icon, 1 button";

// Where each control stands in the window's client area, in pixels.
std::string placesOf(const Window& window) {
    std::string places;
    for (const design::ControlDesign& design : design::kControls) {
        RECT at{};
        ::GetWindowRect(window.get(design.id), &at);
        ::MapWindowPoints(nullptr, window.form.hwnd(), reinterpret_cast<POINT*>(&at), 2);
        places += std::string(design.name) + " " + std::to_string(at.left) + "," +
                  std::to_string(at.top) + " " + std::to_string(at.right - at.left) + "x" +
                  std::to_string(at.bottom - at.top) + "\n";
    }
    return places;
}

// Draws a band as the window does, into a bitmap, and tells whether `colour` is in it.
bool drawsIn(const Window& window, Control band, COLORREF colour) {
    RECT area{};
    ::GetClientRect(window.get(band), &area);
    const HDC screen = ::GetDC(nullptr);
    const HDC dc = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, area.right, area.bottom);
    const HGDIOBJ old = ::SelectObject(dc, bitmap);
    DRAWITEMSTRUCT item{ODT_STATIC, static_cast<UINT>(::GetDlgCtrlID(window.get(band))),
                        0,          ODA_DRAWENTIRE,
                        0,          window.get(band),
                        dc,         area,
                        0};
    ::SendMessageW(window.form.hwnd(), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    bool found = false;
    for (int x = 0; x < area.right && !found; ++x) {
        for (int y = 0; y < area.bottom && !found; ++y) {
            found = ::GetPixel(dc, x, y) == colour;
        }
    }
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return found;
}

// Screen-reader name changes raised on the window's controls, by control.
std::map<HWND, int> nameChanges;
void CALLBACK countNameChange(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD,
                              DWORD) {
    if (object == OBJID_CLIENT && child == CHILDID_SELF) {
        ++nameChanges[hwnd];
    }
}

}  // namespace

// Every control of the design with 1,234 entries counted, at 96 dpi and after a move to a
// monitor of 144 dpi: places from twips, texts and the range bar.
TEST_CASE("layout") {
    Window window(memoryOpener(numberedEntries(1234)));
    REQUIRE(window.form.dpi() == 96);
    CHECK(placesOf(window) == R"(Label2 0,0 353x40
Label3 0,48 353x40
Command2 8,96 161x33
Command1 184,96 161x33
Label1_2 0,136 89x33
Label1_0 96,136 81x33
Label1_4 192,144 97x17
Text5 288,144 57x19
Label1_3 192,176 97x17
Text3 288,176 57x19
HScroll1 0,184 89x17
HScroll3 96,184 81x17
Command3 184,208 161x25
Text4 16,216 57x19
Text7 112,216 49x19
)");
    std::string texts;
    for (const design::ControlDesign& design : design::kControls) {
        texts += window.text(design.id) + "|";
    }
    CHECK(texts ==
          "||Русско-английский|Англо-русский|Интервал в секундах|Словарный диапазон|"
          "№ по порядку||№ в словаре||||О программе|2|1234|");
    SCROLLINFO bar{};
    bar.cbSize = sizeof bar;
    bar.fMask = SIF_ALL;
    ::GetScrollInfo(window.get(Control::HScroll3), SB_CTL, &bar);
    CHECK(std::to_string(bar.nMin) + ".." + std::to_string(bar.nMax) + "@" +
              std::to_string(bar.nPos) ==
          "100..1234@1234");

    RECT suggested{10, 10, 600, 400};
    ::SendMessageW(window.form.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                   reinterpret_cast<LPARAM>(&suggested));
    RECT client{};
    ::GetClientRect(window.form.hwnd(), &client);
    CHECK(std::to_string(client.right) + "x" + std::to_string(client.bottom) == "528x359");
    CHECK(placesOf(window).substr(0, 36) == "Label2 0,0 530x60\nLabel3 0,72 530x60");
    CHECK(window.font(Control::Command1).lfHeight == -17);
    CHECK(window.font(Control::Label2).lfHeight == -32);
}

// Title, a frame that neither resizes nor maximises, the design's fonts, Label2 in the system
// highlight colour.
TEST_CASE("looks") {
    Window window(memoryOpener("WWW$MMM\r\n"));
    wchar_t title[64];
    ::GetWindowTextW(window.form.hwnd(), title, 64);
    CHECK(win32::utf8(title) == "Вокабунта 1.0 (5.9.2003)");
    const LONG style = ::GetWindowLongW(window.form.hwnd(), GWL_STYLE);
    CHECK((style & (WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0);
    CHECK((style & WS_MINIMIZEBOX) != 0);
    RECT client{};
    ::GetClientRect(window.form.hwnd(), &client);
    CHECK(std::to_string(client.right) + "x" + std::to_string(client.bottom) == "352x239");
    for (const auto& [id, face, height] : {std::tuple{Control::Command1, L"MS Sans Serif", -11},
                                           {Control::Text7, L"MS Sans Serif", -11},
                                           {Control::Label2, L"Arial", -21}}) {
        const LOGFONTW font = window.font(id);
        CAPTURE(design::control(id).name);
        CHECK(std::wstring_view(font.lfFaceName) == face);
        CHECK(font.lfHeight == height);
        CHECK(font.lfWeight == 700);
        CHECK(font.lfCharSet == 204);
    }
    window.click(Control::Command1);
    window.after(1s);
    CHECK(drawsIn(window, Control::Label2, ::GetSysColor(COLOR_HIGHLIGHT)));
    CHECK(!drawsIn(window, Control::Label3, ::GetSysColor(COLOR_HIGHLIGHT)));
    CHECK(drawsIn(window, Control::Label3, ::GetSysColor(COLOR_BTNTEXT)));
}

TEST_CASE("tab order") {
    Window window(memoryOpener(numberedEntries(3)));
    std::string order;
    HWND at = window.get(Control::Command2);
    for (int i = 0; i < 9; ++i, at = ::GetNextDlgTabItem(window.form.hwnd(), at, FALSE)) {
        order +=
            std::string(design::control(static_cast<Control>(::GetDlgCtrlID(at) - 100)).name) + " ";
    }
    CHECK(order == "Command2 Command1 Text3 HScroll1 Text4 Text5 HScroll3 Text7 Command3 ");
}

// A field or bar is called by the caption over it; the rest by their own text.
TEST_CASE("names for screen readers") {
    struct Row {
        Control control;
        const char* name;
    };
    for (const Row& row :
         {Row{Control::Text5, "№ по порядку"}, Row{Control::Text3, "№ в словаре"},
          Row{Control::HScroll1, "Интервал в секундах"},
          Row{Control::HScroll3, "Словарный диапазон"}, Row{Control::Text4, "Интервал в секундах"},
          Row{Control::Text7, "Словарный диапазон"}, Row{Control::Command3, "О программе"}}) {
        CHECK(win32::accessibleName(row.control) == row.name);
    }
}

// Both bars mirror into their fields; a later show starts nothing up again; only the range
// field takes typing, and digits only.
TEST_CASE("bars and fields") {
    Window window(memoryOpener(numberedEntries(1234)));
    window.scroll(Control::HScroll1, SB_LINERIGHT);
    CHECK(window.text(Control::Text4) == "3");
    window.scroll(Control::HScroll3, SB_LEFT);
    CHECK(window.text(Control::Text7) == "100");
    window.scroll(Control::HScroll3, SB_THUMBTRACK, 700);
    CHECK(window.text(Control::Text7) == "700");
    ::ShowWindow(window.form.hwnd(), SW_HIDE);
    ::ShowWindow(window.form.hwnd(), SW_SHOWNOACTIVATE);
    CHECK(window.text(Control::Text4) == "3");
    CHECK((::GetWindowLongW(window.get(Control::Text3), GWL_STYLE) & ES_READONLY) != 0);
    CHECK((::GetWindowLongW(window.get(Control::Text7), GWL_STYLE) & ES_READONLY) == 0);
    window.typeRange(L"1x2-");
    CHECK(window.text(Control::Text7) == "12");
    window.click(Control::Command1);
    CHECK(window.form.drillState().RangeSize == 12);
}

// What is wrong and what to do, in the bands, with nothing left to click that would start.
TEST_CASE("a problem at start-up") {
    Window window(failingOpener(OpenStatus::Busy));
    CHECK(window.text(Control::Label2) == "engl.voc занят другой программой");
    CHECK(window.text(Control::Label3) == "Закройте его в той программе и попробуйте снова");
    CHECK(window.text(Control::Text7) == "0");
    for (const Control off : {Control::HScroll3, Control::Command1, Control::Command2}) {
        CHECK(!::IsWindowEnabled(window.get(off)));
    }
    CHECK(window.timerWait() == -1);
}

// The window's part of the drill: the range used written back, the bars, one timer armed for
// the next due moment, the interval bar acting on the card shown, and closing.
TEST_CASE("the drill") {
    Window window(memoryOpener(numberedEntries(1234)), {0.5, 0.0});
    window.typeRange(L"700");
    window.click(Control::Command1);
    CHECK(window.form.drillState().RangeSize == 700);
    CHECK(window.text(Control::Label2) == "en351");
    CHECK(!::IsWindowEnabled(window.get(Control::HScroll3)));
    CHECK(::IsWindowEnabled(window.get(Control::HScroll1)));
    CHECK(window.timerWait() == 1000);
    window.after(1s);
    CHECK(window.text(Control::Label3) == "ru351");
    CHECK(window.timerWait() == 1000);
    window.scroll(Control::HScroll1, SB_THUMBPOSITION, 10);
    CHECK(window.timerWait() == 9000);
    window.clock.advance(2s);
    window.scroll(Control::HScroll1, SB_THUMBPOSITION, 2);  // 3 s after the draw
    CHECK(window.text(Control::Text5) == "2");

    ::SendMessageW(window.form.hwnd(), WM_CLOSE, 0, 0);
    CHECK(!::IsWindow(window.form.hwnd()));
    CHECK(window.timerWait() == -1);
    MSG quit{};
    CHECK(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    CHECK(quit.wParam == 0);
}

TEST_CASE("the About box holds the drill") {
    Window window(memoryOpener(numberedEntries(10)), {0.0, 0.5});
    std::string shown;
    closeBoxSoon(shown, [] {});
    window.click(Control::Command3);
    CHECK(shown == kAboutBox);
    CHECK(window.text(Control::Label2).empty());
    CHECK(window.timerWait() == -1);

    window.click(Control::Command1);
    closeBoxSoon(shown, [&window] {
        // Longer than the interval passes while the box is open; the card stands still.
        window.clock.advance(3s);
        CHECK(window.timerWait() == -1);
    });
    window.click(Control::Command3);
    ::UnhookWindowsHookEx(boxHook);
    CHECK(shown == kAboutBox);
    // Closed: the answer and the next card at once, against the same draw.
    CHECK(window.text(Control::Text3) == "6");
    CHECK(window.text(Control::Text5) == "2");
}

// Words as the file spells them, Windows-1251 decoded; long ones in a smaller font that fits
// the band, down to 9 points; a short one gets the band's own font back.
TEST_CASE("words fitted to their band") {
    const std::string endless(20 << 20, 'w');
    Window window(
        memoryOpener("a&b$\xE4\xEE\xEC\r\nx$an extraordinarily long word for one band\r\n" +
                     endless + "$short"),
        {0.0, 0.5, 0.9});
    window.click(Control::Command1);
    CHECK(window.text(Control::Label2) == "a&b");
    window.after(1s);
    CHECK(window.text(Control::Label3) == "дом");
    window.after(1s);
    window.after(1s);
    CHECK(window.text(Control::Label3) == "an extraordinarily long word for one band");
    const LOGFONTW fitted = window.font(Control::Label3);
    CHECK(fitted.lfHeight > -21);
    CHECK(fitted.lfHeight <= -12);
    RECT band{};
    ::GetClientRect(window.get(Control::Label3), &band);
    const HDC dc = ::GetDC(window.get(Control::Label3));
    CHECK(win32::fittedBandHeight(dc, L"an extraordinarily long word for one band",
                                  {band.right, band.bottom}, 96) == fitted.lfHeight);
    ::ReleaseDC(window.get(Control::Label3), dc);
    window.after(1s);
    CHECK(window.font(Control::Label2).lfHeight == -12);
    window.click(Control::Command2);
    CHECK(window.text(Control::Label2) == "short");
    CHECK(window.font(Control::Label2).lfHeight == -21);
}

// Each card is said to a screen reader on the band it changes, also when the word repeats.
TEST_CASE("a repeated word is said again") {
    Window window(memoryOpener("en1$ru1\r\n"));
    const HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE,
                                                 nullptr, countNameChange, ::GetCurrentProcessId(),
                                                 ::GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
    nameChanges.clear();
    window.click(Control::Command1);
    window.after(1s);
    window.after(1s);
    pump();
    ::UnhookWinEvent(hook);
    CHECK(window.text(Control::Label2) == "en1");
    CHECK(nameChanges[window.get(Control::Label2)] == 2);
    CHECK(nameChanges[window.get(Control::Label3)] == 3);
}
