// The window on the Win32 API: the table of window behaviours through a Win32 driver, and what
// only Windows decides.
#include <windows.h>

#include <doctest/doctest.h>

#include <map>

#include "Controls.h"
#include "Encoding.h"
#include "Form1.h"
#include "WindowBehaviour.h"

using namespace std::chrono_literals;
using form::Control;

namespace {

std::string textOf(HWND hwnd) {
    return dictionary::utf8(win32::windowText(hwnd));
}

// Runs `enter`, which returns once a message loop of Windows' own has ended (a message box's, a
// held scroll arrow's), and `inLoop` from that loop every 20 ms meanwhile.
std::function<void()> inLoop;
void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    inLoop();
}
void whileInLoop(const std::function<void()>& enter, std::function<void()> each) {
    inLoop = std::move(each);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, tick);
    REQUIRE(timer != 0);
    enter();
    ::KillTimer(nullptr, timer);
}

// A message box's title and text, "title|text", the text in the static Windows numbers 0xFFFF;
// it shows an icon beside them.
std::string boxText(HWND box) {
    bool icon = false;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        icon = icon || ::SendMessageW(child, STM_GETICON, 0, 0) != 0;
    }
    CHECK(icon);
    return textOf(box) + "|" + textOf(::GetDlgItem(box, 0xFFFF));
}

std::map<HWND, int> nameChanges;  // said to screen readers, by control
void CALLBACK countNameChange(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG, DWORD, DWORD) {
    nameChanges[hwnd] += object == OBJID_CLIENT;
}

struct Win32Window final : WindowDriver {
    explicit Win32Window(drill::Sources sources) : form(std::move(sources)) {
        form.show(SW_SHOWNOACTIVATE);
    }
    HWND get(Control id) const { return form.control(id); }
    void scroll(Control bar, WORD code, WORD position = 0) const {
        ::SendMessageW(form.hwnd(), WM_HSCROLL, MAKEWPARAM(code, position),
                       reinterpret_cast<LPARAM>(get(bar)));
    }
    // A control's font: "face height weight charset".
    std::string font(Control id) const {
        LOGFONTW font{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(get(id), WM_GETFONT, 0, 0)),
                     sizeof font, &font);
        return dictionary::utf8(font.lfFaceName) + " " + std::to_string(font.lfHeight) + " " +
               std::to_string(font.lfWeight) + " " + std::to_string(font.lfCharSet);
    }

    std::string title() override { return textOf(form.hwnd()); }
    std::string place(std::optional<Control> id) override {
        RECT at{};
        if (id) {
            ::GetWindowRect(get(*id), &at);
            ::MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&at), 2);
        } else {
            ::GetClientRect(form.hwnd(), &at);
        }
        return std::to_string(at.left) + "," + std::to_string(at.top) + "," +
               std::to_string(at.right - at.left) + "x" + std::to_string(at.bottom - at.top);
    }
    std::string text(Control id) override {
        if (form::control(id).kind == form::Kind::Bar) {
            SCROLLINFO bar{sizeof bar, SIF_ALL, 0, 0, 0, 0, 0};
            ::GetScrollInfo(get(id), SB_CTL, &bar);
            return std::to_string(bar.nMin) + ".." + std::to_string(bar.nMax) + "@" +
                   std::to_string(bar.nPos);
        }
        return form::control(id).kind == form::Kind::Band ? form.drawn(id).text : textOf(get(id));
    }
    double points(Control band) override { return form.drawn(band).points; }
    bool enabled(Control id) override { return ::IsWindowEnabled(get(id)); }
    std::string tabOrder() override {
        std::string order;
        HWND at = get(Control::Command2);
        for (int i = 0; i < 10; ++i, at = ::GetNextDlgTabItem(form.hwnd(), at, FALSE)) {
            order += std::string(form::kControls[::GetDlgCtrlID(at) - 100].name) + " ";
        }
        return order;
    }
    void click(Control button) override { ::SendMessageW(get(button), BM_CLICK, 0, 0); }
    void stepRight(Control bar) override { scroll(bar, SB_LINERIGHT); }
    void drag(Control bar, int value) override {
        scroll(bar, SB_THUMBTRACK, static_cast<WORD>(value));
        scroll(bar, SB_THUMBPOSITION, static_cast<WORD>(value));
    }
    void paste(Control field, std::string_view text) override {
        ::SendMessageW(get(field), EM_SETSEL, 0, -1);
        ::SendMessageW(get(field), EM_REPLACESEL, TRUE,
                       reinterpret_cast<LPARAM>(dictionary::utf16(text).c_str()));
    }
    std::optional<int> timerWait() override {
        return form.timerWait() ? std::optional(static_cast<int>(*form.timerWait())) : std::nullopt;
    }
    void fireTimer() override {
        ::SendMessageW(form.hwnd(), WM_TIMER, win32::Form1::kCardTimer, 0);
    }
    std::string about(const std::function<void()>& whileOpen) override {
        std::string shown;
        whileInLoop([&] { click(Control::Command3); },
                    [&] {
                        const HWND box = ::GetLastActivePopup(form.hwnd());
                        if (box != form.hwnd() && shown.empty()) {
                            whileOpen();
                            shown = boxText(box);
                            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                        }
                    });
        return shown;
    }
    bool close() override {
        ::SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
        MSG quit{};
        return !::IsWindow(form.hwnd()) && !form.timerWait() &&
               ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && quit.wParam == 0;
    }

    win32::Form1 form;
};

}  // namespace

TEST_CASE("the window's behaviour") {
    checkWindowBehaviour(
        [](drill::Sources sources) { return std::make_unique<Win32Window>(std::move(sources)); });
}

// What Windows alone decides: the design's fonts at 96 dpi and after a move to a monitor of
// 144 dpi, the highlight colour, the fields named by their captions and each card said to
// screen readers, the focus given back, and the cards going on in Windows' own loops.
TEST_CASE("as Windows draws it") {
    ManualClock clock;
    Win32Window window({memoryOpener("en1$ru1\r\n"), &clock, nullptr});
    CHECK(window.font(Control::Command1) == "MS Sans Serif -11 700 204");
    CHECK(window.font(Control::Label2) == "Arial -21 700 204");
    // Label2's text in the highlight colour, as the window leaves the device context it drew on.
    const HDC dc = ::CreateCompatibleDC(nullptr);
    ::SendMessageW(window.get(Control::Label2), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                   PRF_CLIENT);
    CHECK(::GetTextColor(dc) == ::GetSysColor(COLOR_HIGHLIGHT));
    ::DeleteDC(dc);
    // A field is called by its caption, which stands just before it in z-order, where Windows'
    // own search for a label stops.
    for (const Control id : {Control::Text5, Control::Text3, Control::Text4, Control::Text7}) {
        CHECK(::GetWindow(window.get(id), GW_HWNDPREV) == window.get(*form::control(id).caption));
    }
    // The focus comes back where it was when the window is left and found again.
    ::SetFocus(window.get(Control::Text7));
    ::SendMessageW(window.form.hwnd(), WM_ACTIVATE, WA_INACTIVE, 0);
    ::SetFocus(window.form.hwnd());
    CHECK(::GetFocus() == window.get(Control::Text7));

    // Each band's font is made for its word, and the one before it goes back to Windows.
    const auto before =
        reinterpret_cast<HGDIOBJ>(::SendMessageW(window.get(Control::Label2), WM_GETFONT, 0, 0));
    window.click(Control::Command1);
    CHECK(::GetObjectType(before) == 0);

    // While a bar's arrow is held, Windows runs a message loop of its own (as it does while the
    // window is moved); the card timer's messages come through it, so the card goes on. The
    // interval is at its least: holding the arrow that lowers it changes nothing else.
    clock.advance(999ms);
    window.fireTimer();  // the timer armed anew, for the next moment a millisecond on
    clock.advance(1ms);
    const HWND bar = window.get(Control::HScroll1);
    const std::string question = window.text(Control::Label3);
    int ticks = 0;
    whileInLoop([&] { ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2)); },
                [&] {
                    if (window.text(Control::Label3) != question || ++ticks >= 250) {
                        ::PostMessageW(bar, WM_LBUTTONUP, 0, 0);
                    }
                });
    CHECK(window.text(Control::Label3) != question);

    RECT suggested{10, 10, 600, 400};
    ::SendMessageW(window.form.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                   reinterpret_cast<LPARAM>(&suggested));
    CHECK(window.place(std::nullopt) == "0,0,528x359");
    CHECK(window.place(Control::Label3) == "0,72,530x60");
    CHECK(window.font(Control::Command1) == "MS Sans Serif -17 700 204");

    // Each card is said to screen readers, also the same word again, which changes no text.
    const HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE,
                                                 nullptr, countNameChange, ::GetCurrentProcessId(),
                                                 ::GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
    clock.advance(2s);
    window.fireTimer();
    for (MSG message; ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
        ::DispatchMessageW(&message);  // hands the events to the hook
    }
    ::UnhookWinEvent(hook);
    CHECK(nameChanges[window.get(Control::Label2)] == 1);
}
