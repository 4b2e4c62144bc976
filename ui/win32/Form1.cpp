#include "Form1.h"

#include <oleacc.h>

#include <algorithm>
#include <utility>

#include "BandFont.h"
#include "Caption.h"
#include "Resources.h"
#include "Utf16.h"

namespace win32 {
namespace {

using form::Control;
using form::Kind;

constexpr wchar_t kClassName[] = L"Vocabunta.Form1";
// Fixed controls: the window can be moved and minimised, not resized.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

std::size_t indexOf(Control id) {
    return static_cast<std::size_t>(id);
}

int pixels(int twips, UINT dpi) {
    return ::MulDiv(twips, static_cast<int>(dpi), 1440);
}

// Windows 10's per-monitor calls, looked up so that the program still starts on Windows 7.
template <class Function>
Function user32(const char* name) {
    const FARPROC found = ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

UINT dpiOf(HWND hwnd) {
    static const auto forWindow = user32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (forWindow != nullptr) {
        return forWindow(hwnd);
    }
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

std::wstring windowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::size_t bandSlot(Control band) {
    return band == Control::Label2 ? 0 : 1;
}

void registerClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (::GetClassInfoExW(instance, kClassName, &windowClass)) {
        return;
    }
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_VOCABUNTA));
    windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    windowClass.hIconSm = static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_VOCABUNTA), IMAGE_ICON,
                     ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
    ::RegisterClassExW(&windowClass);
}

}  // namespace

Form1::Form1(dictionary::SourceOpener dictionary, drill::Clock* clock, drill::RandomSource* random)
    : ownClock_(clock == nullptr ? std::make_unique<drill::SteadyClock>() : nullptr),
      ownRandom_(random == nullptr ? std::make_unique<drill::ClockSeededRandom>() : nullptr),
      engine_(std::move(dictionary), clock == nullptr ? *ownClock_ : *clock,
              random == nullptr ? *ownRandom_ : *random, *this) {}

Form1::~Form1() {
    if (hwnd_ != nullptr) {
        // Torn down by its owner, not closed by the user: the program goes on.
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
    for (const HFONT font : {bandFonts_[0], bandFonts_[1], windowFont_}) {
        ::DeleteObject(font);
    }
}

HWND Form1::show(int how) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    registerClass(instance, &Form1::windowProc);
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
            createControls();
            layOut(dpiOf(hwnd_));
            centre();
            return 0;
        case WM_SHOWWINDOW:
            if (wParam && !activated_) {
                activated_ = true;
                Form_Activate();
            }
            break;
        case WM_DPICHANGED: {
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            layOut(HIWORD(wParam));
            return 0;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                focus_ = ::GetFocus();
            }
            break;
        case WM_SETFOCUS:
            ::SetFocus(focus_ != nullptr && ::IsChild(hwnd_, focus_)
                           ? focus_
                           : control(form::tabOrder().front()));
            return 0;
        case WM_DRAWITEM:
            drawBand(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_COMMAND:
            if (lParam != 0 && LOWORD(wParam) >= kFirstControlId &&
                LOWORD(wParam) < kFirstControlId + form::kControls.size()) {
                command(static_cast<Control>(LOWORD(wParam) - kFirstControlId), HIWORD(wParam));
            }
            return 0;
        case WM_HSCROLL:
            scrolled(reinterpret_cast<HWND>(lParam), LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_TIMER:
            if (wParam == kCardTimer) {
                ::KillTimer(hwnd_, kCardTimer);
                timerWait_.reset();
                engine_.advance();
            }
            return 0;
        case WM_CLOSE:
            Form_Unload();
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

void Form1::createControls() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (const form::ControlDesign& design : form::kControls) {
        const wchar_t* kind = L"STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD extended = 0;
        switch (design.kind) {
            case Kind::Band:
                style |= SS_OWNERDRAW;  // fitted to its text and drawn in its colour
                break;
            case Kind::Caption:
                style |= SS_CENTER | SS_NOPREFIX;
                break;
            case Kind::Button:
                kind = L"BUTTON";
                style |= BS_PUSHBUTTON | WS_TABSTOP;
                break;
            case Kind::Field:
                kind = L"EDIT";
                style |= ES_AUTOHSCROLL | WS_TABSTOP | (design.editable ? ES_NUMBER : ES_READONLY);
                extended = WS_EX_CLIENTEDGE;
                break;
            case Kind::Bar:
                kind = L"SCROLLBAR";
                style |= SBS_HORZ | WS_TABSTOP;
                break;
        }
        const int id = kFirstControlId + static_cast<int>(indexOf(design.id));
        const HWND hwnd =
            ::CreateWindowExW(extended, kind, utf16(design.text).c_str(), style, 0, 0, 0, 0, hwnd_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        controls_[indexOf(design.id)] = hwnd;
        if (design.kind == Kind::Bar) {
            const SCROLLINFO info{sizeof(SCROLLINFO),
                                  SIF_RANGE | SIF_POS,
                                  design.bar.minimum,
                                  design.bar.maximum,
                                  0,
                                  design.bar.value,
                                  0};
            ::SetScrollInfo(hwnd, SB_CTL, &info, FALSE);
        }
    }
    // The tab order is the z-order of the controls that take the focus. A caption takes none, so
    // it can stand just before the field it names, where a screen reader looks for the name of a
    // field: the label before it in z-order. A bar is named by the annotation below only.
    std::array<bool, form::kControls.size()> placed{};
    for (const Control id : form::tabOrder()) {
        const bool field = form::control(id).kind == Kind::Field;
        for (const std::optional<Control> next : {field ? captionOf(id) : std::nullopt, {id}}) {
            if (next && !std::exchange(placed[indexOf(*next)], true)) {
                ::SetWindowPos(control(*next), HWND_BOTTOM, 0, 0, 0, 0,
                               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
        }
    }
    nameForScreenReaders();
}

void Form1::nameForScreenReaders() {
    IAccPropServices* annotations = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IAccPropServices, reinterpret_cast<void**>(&annotations)))) {
        return;  // no COM on this thread: the controls keep the names Windows gives them
    }
    for (const form::ControlDesign& design : form::kControls) {
        const HWND hwnd = control(design.id);
        annotations->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                    PROPID_ACC_DESCRIPTION, utf16(design.description).c_str());
        // Said outright as well, so that the name does not hang on how a reader looks for it.
        if (const std::optional<Control> caption = captionOf(design.id)) {
            annotations->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                        PROPID_ACC_NAME,
                                        utf16(form::control(*caption).text).c_str());
        }
    }
    annotations->Release();
}

void Form1::layOut(UINT dpi) {
    dpi_ = dpi;
    const int width = pixels(form::kClientArea.width, dpi);
    const int height = pixels(form::kClientArea.height, dpi);
    // Measured rather than computed: the frame's own size changes with the dpi, on Windows 7 too.
    for (int pass = 0; pass < 2; ++pass) {
        RECT frame{};
        RECT client{};
        ::GetWindowRect(hwnd_, &frame);
        ::GetClientRect(hwnd_, &client);
        if (client.right == width && client.bottom == height) {
            break;
        }
        ::SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left + width - client.right,
                       frame.bottom - frame.top + height - client.bottom,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    const HFONT oldFont = windowFont_;
    windowFont_ = createFont(form::kWindowFont, fontHeight(form::kWindowFont.points, dpi));
    for (const form::ControlDesign& design : form::kControls) {
        const HWND hwnd = control(design.id);
        ::MoveWindow(hwnd, pixels(design.at.left, dpi), pixels(design.at.top, dpi),
                     pixels(design.at.width, dpi), pixels(design.at.height, dpi), FALSE);
        if (design.kind == Kind::Band) {
            bandHeights_[bandSlot(design.id)] = 0;  // fitted afresh at the new size
            fitBand(design.id);
        } else {
            ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont_), FALSE);
        }
    }
    ::DeleteObject(oldFont);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form1::centre() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT frame{};
    ::GetWindowRect(hwnd_, &frame);
    const RECT& work = monitor.rcWork;
    ::SetWindowPos(hwnd_, nullptr, (work.left + work.right - (frame.right - frame.left)) / 2,
                   (work.top + work.bottom - (frame.bottom - frame.top)) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::fitBand(Control band) {
    const HWND hwnd = control(band);
    const std::wstring text = windowText(hwnd);
    RECT area{};
    ::GetClientRect(hwnd, &area);
    const HDC dc = ::GetDC(hwnd);
    const int height = text.empty() ? fontHeight(form::kBandFont.points, dpi_)
                                    : fittedBandHeight(dc, text, {area.right, area.bottom}, dpi_);
    ::ReleaseDC(hwnd, dc);
    const std::size_t slot = bandSlot(band);
    if (height != bandHeights_[slot]) {
        const HFONT old = bandFonts_[slot];
        bandFonts_[slot] = createFont(form::kBandFont, height);
        bandHeights_[slot] = height;
        ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(bandFonts_[slot]), FALSE);
        ::DeleteObject(old);
    }
    ::InvalidateRect(hwnd, nullptr, TRUE);
}

void Form1::drawBand(const DRAWITEMSTRUCT& item) {
    const Control band = static_cast<Control>(item.CtlID - kFirstControlId);
    const HDC dc = item.hDC;
    RECT area = item.rcItem;
    ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(form::control(band).highlighted ? form::kHighlightColour
                                                                     : COLOR_BTNTEXT));
    const HGDIOBJ old = ::SelectObject(dc, bandFonts_[bandSlot(band)]);
    const std::wstring text = windowText(item.hwndItem);
    RECT needed{0, 0, area.right - area.left, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
                kBandDrawing | DT_CALCRECT);
    // Centred as a block, the way a label centres its lines.
    area.top += std::max(0L, (area.bottom - area.top - needed.bottom) / 2);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
                kBandDrawing | DT_END_ELLIPSIS | DT_WORD_ELLIPSIS);
    ::SelectObject(dc, old);
}

void Form1::command(Control id, WORD code) {
    // Whoever wrote into the range field, the user or a screen reader, the engine takes it.
    if (id == Control::Text7 && code == EN_CHANGE) {
        Text7_Change();
    } else if (code == BN_CLICKED) {
        switch (id) {
            case Control::Command1:
                Command1_Click();
                break;
            case Control::Command2:
                Command2_Click();
                break;
            case Control::Command3:
                Command3_Click();
                break;
            default:
                break;
        }
    }
}

void Form1::scrolled(HWND bar, int code, WORD position) {
    const auto id = static_cast<Control>(::GetDlgCtrlID(bar) - kFirstControlId);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ::GetScrollInfo(bar, SB_CTL, &info);
    const int step = form::control(id).bar.step;
    int value = info.nPos;
    switch (code) {
        case SB_LINELEFT:
        case SB_PAGELEFT:
            value -= step;
            break;
        case SB_LINERIGHT:
        case SB_PAGERIGHT:
            value += step;
            break;
        case SB_LEFT:
            value = info.nMin;
            break;
        case SB_RIGHT:
            value = info.nMax;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            // The message holds 16 bits of the place; a longer bar needs the tracked one.
            value = info.nMax <= 0xFFFF ? static_cast<int>(position) : info.nTrackPos;
            break;
        default:
            return;
    }
    value = std::clamp(value, info.nMin, std::max(info.nMin, info.nMax));
    if (value == info.nPos) {
        return;
    }
    ::SetScrollPos(bar, SB_CTL, value, TRUE);
    if (id == Control::HScroll1) {
        HScroll1_Change(value);
    } else {
        HScroll3_Change(value);
    }
}

void Form1::Form_Activate() {
    engine_.activate();
}

void Form1::Form_Unload() {
    wakeAt(std::nullopt);
    ::DestroyWindow(hwnd_);
}

void Form1::HScroll1_Change(int value) {
    engine_.setInterval(value);
}

void Form1::HScroll3_Change(int value) {
    engine_.moveRangeBar(value);
}

void Form1::Text7_Change() {
    engine_.typeRange(utf8(windowText(control(Control::Text7))));
}

void Form1::Command1_Click() {
    engine_.start(drill::Direction::EnglishFirst);
}

void Form1::Command2_Click() {
    engine_.start(drill::Direction::RussianFirst);
}

void Form1::Command3_Click() {
    // The card stands still while the box is open and catches up when it closes.
    engine_.hold();
    ::MessageBoxW(hwnd_, utf16(form::aboutText()).c_str(), utf16(form::kAbout.title).c_str(),
                  static_cast<UINT>(form::kAbout.style));
    engine_.advance();
}

void Form1::showText(Control id, std::string_view text) {
    const HWND hwnd = control(id);
    const std::wstring wide = utf16(text);
    ::SetWindowTextW(hwnd, wide.c_str());
    if (form::control(id).kind == Kind::Field) {
        // The caret after the text, where typing goes on, as the engine may rewrite the field.
        ::SendMessageW(hwnd, EM_SETSEL, wide.size(), static_cast<LPARAM>(wide.size()));
    }
    if (form::control(id).kind == Kind::Band) {
        fitBand(id);
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

}  // namespace win32
