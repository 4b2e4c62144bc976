#include <windows.h>

#include <oleacc.h>

#include <doctest/doctest.h>

#include <functional>
#include <map>

#include "BandFont.h"
#include "Caption.h"
#include "DrillFakes.h"
#include "Form1.h"
#include "Utf16.h"

using namespace std::chrono_literals;
using form::Control;

namespace {

// A shown window over a dictionary, on a clock and draws that the test sets.
struct Window {
    explicit Window(dictionary::SourceOpener open, std::vector<double> draws = {})
        : form(std::move(open), &clock, &random) {
        random.values = std::move(draws);
        form.show(SW_SHOWNOACTIVATE);
    }
    HWND get(Control id) const { return form.control(id); }
    std::string text(HWND hwnd) const {
        wchar_t text[8192];
        return win32::utf8({text, static_cast<std::size_t>(::GetWindowTextW(hwnd, text, 8192))});
    }
    std::string text(Control id) const { return text(get(id)); }
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
    long long timerWait() const { return form.timerWait() ? *form.timerWait() : -1LL; }
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

std::string size(const RECT& r) {
    return std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

// Each control's place in the client area: "left,top,width x height".
std::string places(const Window& window) {
    std::string places;
    for (const form::ControlDesign& design : form::kControls) {
        RECT at{};
        ::GetWindowRect(window.get(design.id), &at);
        ::MapWindowPoints(nullptr, window.form.hwnd(), reinterpret_cast<POINT*>(&at), 2);
        places += std::to_string(at.left) + "," + std::to_string(at.top) + "," + size(at) + " ";
    }
    return places;
}

// When the next message box comes up: runs `whileOpen`, notes what the box shows, presses OK.
std::function<void(HWND)> onBox;
LRESULT CALLBACK watchForBox(int code, WPARAM wParam, LPARAM lParam) {
    wchar_t kind[16] = L"";
    ::GetClassNameW(reinterpret_cast<HWND>(wParam), kind, code == HCBT_ACTIVATE ? 16 : 0);
    if (std::wstring_view(kind) == L"#32770" && onBox) {
        std::exchange(onBox, nullptr)(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string boxShown(const Window& window, Control button, std::function<void()> whileOpen) {
    std::string shown;
    const HHOOK hook = ::SetWindowsHookExW(WH_CBT, watchForBox, nullptr, ::GetCurrentThreadId());
    onBox = [&](HWND box) {
        whileOpen();
        shown = window.text(box);
        for (HWND child = ::GetWindow(box, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            const bool icon = ::SendMessageW(child, STM_GETICON, 0, 0) != 0;
            shown.append("|").append(icon ? "(icon)" : window.text(child));
        }
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    };
    window.click(button);
    ::UnhookWindowsHookEx(hook);
    return shown;
}

// The colour a band's text is drawn in, as the window leaves it in the device context it drew on.
COLORREF textColour(const Window& window, Control band) {
    const HDC dc = ::CreateCompatibleDC(nullptr);
    DRAWITEMSTRUCT item{ODT_STATIC, static_cast<UINT>(::GetDlgCtrlID(window.get(band))),
                        0,          0,
                        0,          window.get(band),
                        dc,         {0, 0, 100, 40},
                        0};
    ::SendMessageW(window.form.hwnd(), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    const COLORREF colour = ::GetTextColor(dc);
    ::DeleteDC(dc);
    return colour;
}

// What a screen reader calls a control, asked as it asks any window.
std::string nameOf(HWND hwnd) {
    IAccessible* object = nullptr;
    BSTR name = nullptr;
    if (SUCCEEDED(::AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT),
                                               IID_IAccessible,
                                               reinterpret_cast<void**>(&object)))) {
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        object->get_accName(self, &name);
        object->Release();
    }
    const std::string said = name != nullptr ? win32::utf8(name) : "";
    ::SysFreeString(name);
    return said;
}

// Runs on a timer of the test's own while Windows' loop for a held thumb or a move runs.
std::function<void()> whileInLoop;
void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    if (whileInLoop) {
        whileInLoop();
    }
}

std::map<HWND, int> nameChanges;  // raised for screen readers, by control
void CALLBACK countNameChange(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG, DWORD, DWORD) {
    nameChanges[hwnd] += object == OBJID_CLIENT;
}

}  // namespace

// Every control of the design with 1,234 entries counted, at 96 dpi and after a move to a
// monitor of 144 dpi: places from twips, texts, the range bar.
TEST_CASE("layout") {
    Window window(memoryOpener(numberedEntries(1234)));
    REQUIRE(window.form.dpi() == 96);
    CHECK(places(window) ==
          "0,0,353x40 0,48,353x40 8,96,161x33 184,96,161x33 0,136,89x33 96,136,81x33 "
          "192,144,97x17 288,144,57x19 192,176,97x17 288,176,57x19 0,184,89x17 96,184,81x17 "
          "184,208,161x25 16,216,57x19 112,216,49x19 ");
    std::string texts;
    for (const form::ControlDesign& design : form::kControls) {
        texts += window.text(design.id) + "|";
    }
    CHECK(texts ==
          "||Русско-английский|Англо-русский|Интервал в секундах|Словарный диапазон|"
          "№ по порядку||№ в словаре||||О программе|2|1234|");
    SCROLLINFO bar{sizeof bar, SIF_ALL, 0, 0, 0, 0, 0};
    ::GetScrollInfo(window.get(Control::HScroll3), SB_CTL, &bar);
    CHECK(std::to_string(bar.nMin) + ".." + std::to_string(bar.nMax) == "100..1234");
    CHECK(bar.nPos == 1234);

    RECT suggested{10, 10, 600, 400};
    ::SendMessageW(window.form.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                   reinterpret_cast<LPARAM>(&suggested));
    RECT client{};
    ::GetClientRect(window.form.hwnd(), &client);
    CHECK(size(client) == "528x359");
    CHECK(places(window).substr(0, 22) == "0,0,530x60 0,72,530x60");
    CHECK(window.font(Control::Command1).lfHeight == -17);
    CHECK(window.font(Control::Label2).lfHeight == -32);
}

// Title, a frame that neither resizes nor maximises, the design's fonts, Label2 in the system
// highlight colour; the tab order.
TEST_CASE("looks") {
    Window window(memoryOpener("WWW$MMM\r\n"));
    CHECK(window.text(window.form.hwnd()) == "Вокабунта 1.0 (5.9.2003)");
    CHECK((::GetWindowLongW(window.form.hwnd(), GWL_STYLE) &
           (WS_MAXIMIZEBOX | WS_THICKFRAME | WS_MINIMIZEBOX)) == WS_MINIMIZEBOX);
    RECT client{};
    ::GetClientRect(window.form.hwnd(), &client);
    CHECK(size(client) == "352x239");
    for (const auto& [id, face, height] : {std::tuple{Control::Command1, L"MS Sans Serif", -11},
                                           {Control::Text7, L"MS Sans Serif", -11},
                                           {Control::Label2, L"Arial", -21}}) {
        const LOGFONTW font = window.font(id);
        CHECK(std::wstring_view(font.lfFaceName) == face);
        CHECK(font.lfHeight * 10000 + font.lfWeight * 1000 + font.lfCharSet ==
              height * 10000 + 700 * 1000 + 204);
    }
    std::string order;  // round once, back to the first
    HWND at = window.get(Control::Command2);
    for (int i = 0; i < 10; ++i, at = ::GetNextDlgTabItem(window.form.hwnd(), at, FALSE)) {
        order += std::string(form::kControls[::GetDlgCtrlID(at) - 100].name) + " ";
    }
    CHECK(order ==
          "Command2 Command1 Text3 HScroll1 Text4 Text5 HScroll3 Text7 Command3 Command2 ");
    CHECK(textColour(window, Control::Label2) == ::GetSysColor(COLOR_HIGHLIGHT));
    CHECK(textColour(window, Control::Label3) == ::GetSysColor(COLOR_BTNTEXT));

    // A field is called by the caption over it, a bar too. The caption stands just before the
    // field, as Windows' search for a label stops at the first control that takes the focus.
    std::string names;
    for (const Control id : {Control::Text5, Control::Text3, Control::Text4, Control::Text7}) {
        names += nameOf(window.get(id)) + "|";
        CHECK(::GetWindow(window.get(id), GW_HWNDPREV) == window.get(*win32::captionOf(id)));
    }
    CHECK(names == "№ по порядку|№ в словаре|Интервал в секундах|Словарный диапазон|");
    CHECK(win32::captionOf(Control::HScroll1) == Control::Label1_2);
    CHECK(win32::captionOf(Control::HScroll3) == Control::Label1_0);
}

// Both bars mirror into their fields; a later show starts nothing up again; only the range
// field takes typing, and keeps what the engine makes of it.
TEST_CASE("bars and fields") {
    Window window(memoryOpener(numberedEntries(1234)));
    window.scroll(Control::HScroll1, SB_LINERIGHT);
    window.scroll(Control::HScroll3, SB_LEFT);
    CHECK(window.text(Control::Text4) + " " + window.text(Control::Text7) == "3 100");
    window.scroll(Control::HScroll3, SB_THUMBTRACK, 700);
    CHECK(window.text(Control::Text7) == "700");
    ::ShowWindow(window.form.hwnd(), SW_HIDE);
    ::ShowWindow(window.form.hwnd(), SW_SHOWNOACTIVATE);
    CHECK(window.text(Control::Text4) == "3");
    CHECK((::GetWindowLongW(window.get(Control::Text3), GWL_STYLE) & ES_READONLY) != 0);
    ::SendMessageW(window.get(Control::Text7), EM_SETSEL, 0, -1);
    ::SendMessageW(window.get(Control::Text7), EM_REPLACESEL, TRUE,
                   reinterpret_cast<LPARAM>(L"1 234"));  // as a paste puts it
    CHECK(window.text(Control::Text7) == "1234");
}

// The window's part of the drill: the range typed, the bars, one timer armed for the next due
// moment, the interval bar re-arming it, and closing.
TEST_CASE("the drill") {
    Window window(memoryOpener(numberedEntries(1234)), {0.5, 0.0});
    window.typeRange(L"700");
    window.click(Control::Command1);
    CHECK(window.text(Control::Label2) == "en351");
    CHECK(!::IsWindowEnabled(window.get(Control::HScroll3)));
    CHECK(::IsWindowEnabled(window.get(Control::HScroll1)));
    CHECK(window.timerWait() == 1000);
    window.after(1s);
    CHECK(window.text(Control::Label3) == "ru351");
    CHECK(window.timerWait() == 1000);
    window.scroll(Control::HScroll1, SB_THUMBPOSITION, 10);
    CHECK(window.timerWait() == 9000);

    ::SendMessageW(window.form.hwnd(), WM_CLOSE, 0, 0);
    CHECK(!::IsWindow(window.form.hwnd()));
    CHECK(window.timerWait() == -1);
    MSG quit{};
    CHECK(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    CHECK(quit.wParam == 0);
}

TEST_CASE("the About box holds the drill") {
    const std::string about =
        "Информация|(icon)|OK|Вокабунта\nI версия\nАвтор: Зельвиран\n5.09.2003г.";
    Window window(memoryOpener(numberedEntries(10)), {0.0, 0.5});
    CHECK(boxShown(window, Control::Command3, [] {}) == about);
    CHECK(window.text(Control::Label2).empty());

    window.click(Control::Command1);
    CHECK(boxShown(window, Control::Command3, [&window] {
              // Longer than the interval passes while the box is open; the card stands still.
              window.clock.advance(3s);
              CHECK(window.timerWait() == -1);
          }) == about);
    // Closed: the answer and the next card at once, against the same draw.
    CHECK(window.text(Control::Text3) + " " + window.text(Control::Text5) == "6 2");
}

// Words as the file spells them, Windows-1251 decoded; long ones in a smaller font that fits
// the band, down to 9 points; a short one gets the band's own font back.
TEST_CASE("words fitted to their band") {
    const std::wstring longWord = L"an extraordinarily long word for one band";
    Window window(memoryOpener("a&b$\xE4\xEE\xEC\r\nx$" + win32::utf8(longWord) + "\r\n" +
                               std::string(20 << 20, 'w') + "$short"),
                  {0.0, 0.5, 0.9});
    window.click(Control::Command1);
    window.after(1s);
    CHECK(window.text(Control::Label2) + " " + window.text(Control::Label3) == "a&b дом");
    window.after(1s);
    window.after(1s);
    const int fitted = window.font(Control::Label3).lfHeight;
    CHECK(fitted > -21);
    RECT band{};
    ::GetClientRect(window.get(Control::Label3), &band);
    const HDC dc = ::GetDC(window.get(Control::Label3));
    CHECK(win32::fittedBandHeight(dc, longWord, {band.right, band.bottom}, 96) == fitted);
    ::ReleaseDC(window.get(Control::Label3), dc);
    window.after(1s);
    CHECK(window.font(Control::Label2).lfHeight == -12);
    window.click(Control::Command2);
    CHECK(window.text(Control::Label2) == "short");
    CHECK(window.font(Control::Label2).lfHeight == -21);
}

// A message that names a long folder, and the file found there instead, fits its band whole.
TEST_CASE("a message with a long folder fits its band") {
    Window window(failingOpener(dictionary::OpenStatus::Missing,
                                {"C:\\Users\\пользователь\\Documents\\Английский_язык\\"
                                 "Слова_на_каждый_день\\и_ещё_одна_папка",
                                 "engl.voc.txt"}));
    for (const Control band : {Control::Label2, Control::Label3}) {
        const HWND hwnd = window.get(band);
        const std::wstring text = win32::utf16(window.text(band));
        RECT area{};
        ::GetClientRect(hwnd, &area);
        RECT needed{0, 0, area.right, 0};
        const HDC dc = ::GetDC(hwnd);
        const HGDIOBJ old =
            ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)));
        ::DrawTextW(dc, text.c_str(), -1, &needed, win32::kBandDrawing | DT_CALCRECT);
        ::SelectObject(dc, old);
        ::ReleaseDC(hwnd, dc);
        CHECK(needed.right <= area.right);
        CHECK(needed.bottom <= area.bottom);
    }
}

// Each card is said to a screen reader on the band it changes, also when the word repeats.
TEST_CASE("a repeated word is said again") {
    Window window(memoryOpener("en1$ru1\r\n"));
    const HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE,
                                                 nullptr, countNameChange, ::GetCurrentProcessId(),
                                                 ::GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
    window.click(Control::Command1);
    window.after(1s);
    window.after(1s);
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::DispatchMessageW(&message);  // hands the events to the hook
    }
    ::UnhookWinEvent(hook);
    CHECK(window.text(Control::Label2) == "en1");
    CHECK(nameChanges[window.get(Control::Label2)] == 2);
    CHECK(nameChanges[window.get(Control::Label3)] == 3);
}

// While a bar's thumb is held or the window is moved, Windows runs a message loop of its own; the
// card timer's messages come through it, so the card goes on.
TEST_CASE("the card goes on while a thumb is held or the window moved") {
    for (const bool moving : {false, true}) {
        CAPTURE(moving);
        Window window(memoryOpener("en1$ru1\r\n"));
        window.click(Control::Command1);
        window.after(999ms);  // the timer armed anew, for the answer a millisecond on
        window.clock.advance(1ms);
        const HWND bar = window.get(Control::HScroll1);
        std::string answer;
        int ticks = 0;
        whileInLoop = [&] {
            answer = window.text(Control::Label3);
            if (!answer.empty() || ++ticks >= 250) {
                ::PostMessageW(moving ? window.form.hwnd() : bar,
                               moving ? WM_KEYDOWN : WM_LBUTTONUP, moving ? VK_ESCAPE : 0, 0);
            }
        };
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, tick);
        REQUIRE(timer != 0);
        if (moving) {
            ::SendMessageW(window.form.hwnd(), WM_SYSCOMMAND, SC_MOVE, 0);
        } else {
            SCROLLBARINFO thumb{};
            thumb.cbSize = sizeof thumb;
            ::GetScrollBarInfo(bar, OBJID_CLIENT, &thumb);
            ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON,
                           MAKELPARAM((thumb.xyThumbTop + thumb.xyThumbBottom) / 2,
                                      (thumb.rcScrollBar.bottom - thumb.rcScrollBar.top) / 2));
        }
        ::KillTimer(nullptr, timer);
        whileInLoop = nullptr;
        CHECK(answer == "ru1");
    }
}
