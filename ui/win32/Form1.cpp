#include "Form1.h"

#include <algorithm>
#include <utility>

#include "Band.h"
#include "Controls.h"
#include "Encoding.h"

namespace win32 {
namespace {

using dictionary::utf16;
using dictionary::utf8;
using drill::Event;
using form::Control;
using form::Kind;

constexpr wchar_t kClassName[] = L"Vocabunta.Form1";
// Fixed controls: the window can be moved and minimised, not resized.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

}  // namespace

Form1::Form1(drill::Sources sources) : engine_(*this, std::move(sources)) {}

Form1::~Form1() {
    if (hwnd_ != nullptr) {
        // Torn down by its owner, not closed by the user: the program goes on.
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
    ::DeleteObject(windowFont_);
}

HWND Form1::show(int how) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    registerClass(instance, kClassName, &Form1::windowProc);
    ::CreateWindowExW(0, kClassName, utf16(form::kTitle).c_str(), kStyle, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                      this);
    ::ShowWindow(hwnd_, how);
    ::UpdateWindow(hwnd_);
    return hwnd_;
}

LRESULT CALLBACK Form1::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Form1*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self != nullptr ? self->handle(message, wParam, lParam)
                           : ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Form1::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            created();
            return 0;
        case WM_SHOWWINDOW:
            if (wParam) {
                engine_.input({Event::Activate});
            }
            break;
        case WM_DPICHANGED:
            dpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                focus_ = ::GetFocus();
            }
            break;
        case WM_SETFOCUS:
            focusGiven();
            return 0;
        case WM_DRAWITEM:
            drawBand(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_COMMAND:
            command(reinterpret_cast<HWND>(lParam), LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_HSCROLL:
            scrolled(reinterpret_cast<HWND>(lParam), LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_TIMER:
            if (wParam == kCardTimer) {
                timerFired();
            }
            return 0;
        case WM_CLOSE:
            engine_.input({Event::Unload});
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            break;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Form1::created() {
    controls_ = createControls(hwnd_, kFirstControlId);
    layOut(dpiOf(hwnd_));
    centre(hwnd_);
}

// Moved to a monitor of another dpi: where Windows suggests, and laid out anew for it.
void Form1::dpiChanged(UINT dpi, const RECT& suggested) {
    ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    layOut(dpi);
}

// The focus goes back where it was when the window was left, or to the first control.
void Form1::focusGiven() {
    ::SetFocus(focus_ != nullptr && ::IsChild(hwnd_, focus_) ? focus_
                                                             : control(form::tabOrder().front()));
}

void Form1::timerFired() {
    ::KillTimer(hwnd_, kCardTimer);
    timerWait_.reset();
    engine_.input({Event::Timer});
}

void Form1::layOut(UINT dpi) {
    dpi_ = dpi;
    placeControls(hwnd_, controls_, dpi);
    const HFONT oldFont = std::exchange(
        windowFont_, createFont(form::kWindowFont, fontHeight(form::kWindowFont.points, dpi)));
    for (const form::ControlDesign& design : form::kControls) {
        if (design.kind == Kind::Band) {
            bands_[slot(design.id)].fit(control(design.id), dpi);
        } else {
            ::SendMessageW(control(design.id), WM_SETFONT, reinterpret_cast<WPARAM>(windowFont_),
                           FALSE);
        }
    }
    ::DeleteObject(oldFont);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form1::drawBand(const DRAWITEMSTRUCT& item) {
    const auto id = static_cast<Control>(item.CtlID - kFirstControlId);
    bands_[slot(id)].draw(item, systemColour(form::control(id).colour));
}

void Form1::command(HWND from, WORD number, WORD code) {
    if (from == nullptr || number < kFirstControlId ||
        number >= kFirstControlId + form::kControls.size()) {
        return;  // not from a control of the design
    }
    const auto id = static_cast<Control>(number - kFirstControlId);
    if (code == BN_CLICKED) {
        engine_.input({Event::Click, id});
    } else if (code == EN_CHANGE && !writing_) {
        // Whoever wrote into a field, the user or a screen reader, the engine takes it.
        const std::string text = utf8(windowText(control(id)));
        engine_.input({Event::Change, id, 0, text});
    }
}

void Form1::scrolled(HWND bar, int code, WORD position) {
    const auto id = static_cast<Control>(::GetDlgCtrlID(bar) - kFirstControlId);
    if (const std::optional<int> value =
            scrolledTo(bar, code, position, form::control(id).bar.step)) {
        engine_.input({Event::Change, id, *value});
    }
}

void Form1::showText(Control id, std::string_view text) {
    const HWND hwnd = control(id);
    const std::wstring wide = utf16(text);
    writing_ = true;
    ::SetWindowTextW(hwnd, wide.c_str());
    writing_ = false;
    if (form::control(id).kind == Kind::Field) {
        // The caret after the text, where typing goes on.
        ::SendMessageW(hwnd, EM_SETSEL, wide.size(), static_cast<LPARAM>(wide.size()));
    } else if (form::control(id).kind == Kind::Band) {
        bands_[slot(id)].fit(hwnd, dpi_);
        // Said for every card, also when the same word comes again and no text changed.
        ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
    }
}

void Form1::setBar(Control id, int minimum, int maximum, int value) {
    // Not a move of the user's, so it does not come back as one: no WM_HSCROLL is sent.
    const SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_POS, minimum, maximum, 0, value, 0};
    ::SetScrollInfo(control(id), SB_CTL, &info, TRUE);
}

void Form1::enable(Control id, bool enabled) {
    ::EnableWindow(control(id), enabled);
}

void Form1::wakeAt(std::optional<drill::TimePoint> due) {
    if (!due) {
        ::KillTimer(hwnd_, kCardTimer);
        timerWait_.reset();
        return;
    }
    // A timer never fires early, and fires no sooner than USER_TIMER_MINIMUM.
    timerWait_ =
        std::max<UINT>(static_cast<UINT>(engine_.waitUntil(*due).count()), USER_TIMER_MINIMUM);
    ::SetTimer(hwnd_, kCardTimer, *timerWait_, nullptr);
}

void Form1::showAbout() {
    ::MessageBoxW(hwnd_, utf16(form::aboutText()).c_str(), utf16(form::kAbout.title).c_str(),
                  MB_OK | iconOf(form::kAbout.icon));
    engine_.input({Event::AboutClosed});
}

void Form1::end() {
    ::DestroyWindow(hwnd_);
}

}  // namespace win32
