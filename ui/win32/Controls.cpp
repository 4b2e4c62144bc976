#include "Controls.h"

#include <oleacc.h>

#include <algorithm>
#include <utility>

#include "Encoding.h"
#include "Resources.h"

namespace win32 {
namespace {

using dictionary::utf16;
using form::Control;
using form::Kind;

HWND create(const form::ControlDesign& design, HWND parent, int id) {
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
    const HWND hwnd = ::CreateWindowExW(
        extended, kind, utf16(design.text).c_str(), style, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
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
    return hwnd;
}

// What a screen reader says of each control beside its text, and the names of the fields and
// bars, said outright so that a name does not hang on how a reader looks for it.
void nameForScreenReaders(const Controls& controls) {
    IAccPropServices* annotations = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IAccPropServices, reinterpret_cast<void**>(&annotations)))) {
        return;  // no COM on this thread: the controls keep the names Windows gives them
    }
    for (const form::ControlDesign& design : form::kControls) {
        const HWND hwnd = controls[static_cast<std::size_t>(design.id)];
        annotations->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                    PROPID_ACC_DESCRIPTION, utf16(design.description).c_str());
        if (design.caption) {
            annotations->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                        PROPID_ACC_NAME,
                                        utf16(form::control(*design.caption).text).c_str());
        }
    }
    annotations->Release();
}

}  // namespace

int systemColour(form::Colour colour) {
    switch (colour) {
        case form::Colour::Highlight:
            return COLOR_HIGHLIGHT;
        case form::Colour::Text:
            break;
    }
    return COLOR_BTNTEXT;
}

BYTE charsetOf(form::Script script) {
    switch (script) {
        case form::Script::Cyrillic:
            break;
    }
    return RUSSIAN_CHARSET;
}

UINT iconOf(form::AboutBox::Icon icon) {
    switch (icon) {
        case form::AboutBox::Icon::Information:
            break;
    }
    return MB_ICONINFORMATION;
}

Controls createControls(HWND parent, int firstId) {
    Controls controls{};
    for (const form::ControlDesign& design : form::kControls) {
        const auto index = static_cast<std::size_t>(design.id);
        controls[index] = create(design, parent, firstId + static_cast<int>(index));
    }
    // The tab order is the z-order of the controls that take the focus. A caption takes none, so
    // it can stand just before the field it names, where Windows looks for the name of a field:
    // the label before it in z-order. A bar is named by its annotation alone.
    std::array<bool, form::kControls.size()> placed{};
    for (const Control id : form::tabOrder()) {
        const std::optional<Control> caption = form::control(id).caption;
        const bool field = form::control(id).kind == Kind::Field;
        for (const std::optional<Control> next : {field ? caption : std::nullopt, {id}}) {
            if (next && !std::exchange(placed[static_cast<std::size_t>(*next)], true)) {
                ::SetWindowPos(controls[static_cast<std::size_t>(*next)], HWND_BOTTOM, 0, 0, 0, 0,
                               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
        }
    }
    nameForScreenReaders(controls);
    return controls;
}

// Windows 10's per-monitor dpi, looked up so that the program still starts on Windows 7.
UINT dpiOf(HWND hwnd) {
    const FARPROC forWindow =
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    if (forWindow != nullptr) {
        return reinterpret_cast<UINT(WINAPI*)(HWND)>(reinterpret_cast<void (*)()>(forWindow))(hwnd);
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

void registerClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (::GetClassInfoExW(instance, className, &windowClass)) {
        return;
    }
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_VOCABUNTA));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    windowClass.hIconSm = static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_VOCABUNTA), IMAGE_ICON,
                     ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
    ::RegisterClassExW(&windowClass);
}

void centre(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT frame{}, work = monitor.rcWork;
    ::GetWindowRect(window, &frame);
    const form::Rect at =
        form::centred(frame.right - frame.left, frame.bottom - frame.top,
                      {work.left, work.top, work.right - work.left, work.bottom - work.top});
    ::SetWindowPos(window, nullptr, at.left, at.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void placeControls(HWND window, const Controls& controls, UINT dpi) {
    const form::Rect area = form::pixels(form::kClientArea, static_cast<int>(dpi));
    // Measured rather than computed: the frame's own size changes with the dpi, on Windows 7 too.
    for (int pass = 0; pass < 2; ++pass) {
        RECT frame{}, client{};
        ::GetWindowRect(window, &frame);
        ::GetClientRect(window, &client);
        ::SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + area.width - client.right,
                       frame.bottom - frame.top + area.height - client.bottom,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (const form::ControlDesign& design : form::kControls) {
        const form::Rect at = form::pixels(design.at, static_cast<int>(dpi));
        ::MoveWindow(controls[static_cast<std::size_t>(design.id)], at.left, at.top, at.width,
                     at.height, FALSE);
    }
}

std::optional<int> scrolledTo(HWND bar, int code, WORD position, int step) {
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    ::GetScrollInfo(bar, SB_CTL, &info);
    // The message holds 16 bits of a thumb's place; a longer bar needs the tracked one.
    const int thumb = info.nMax <= 0xFFFF ? static_cast<int>(position) : info.nTrackPos;
    const int value = std::clamp(code == SB_LINELEFT || code == SB_PAGELEFT     ? info.nPos - step
                                 : code == SB_LINERIGHT || code == SB_PAGERIGHT ? info.nPos + step
                                 : code == SB_LEFT                              ? info.nMin
                                 : code == SB_RIGHT                             ? info.nMax
                                 : code == SB_THUMBTRACK || code == SB_THUMBPOSITION ? thumb
                                                                                     : info.nPos,
                                 info.nMin, std::max(info.nMin, info.nMax));
    if (value == info.nPos) {
        return std::nullopt;
    }
    ::SetScrollPos(bar, SB_CTL, value, TRUE);
    return value;
}

}  // namespace win32
