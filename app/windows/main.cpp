// The Windows program: process-wide set-up, the window, and its message loop.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>

#include "Encoding.h"
#include "Form1.h"
#include "SourceOpener.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    // The controls of common controls 6, as the manifest asks for them.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    // COM, for the names screen readers read.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    // Explorer's "Open with" hands over the path of the file to open, split out by the C runtime.
    dictionary::SourceOpener dictionary = __argc > 1
                                              ? dictionary::openerFor(dictionary::utf8(__wargv[1]))
                                              : dictionary::fileOpener(dictionary::kFileName);

    win32::Form1 form({std::move(dictionary)});
    const HWND window = form.show(show);
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab and the arrow keys move the focus between the controls.
        if (!::IsDialogMessageW(window, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);  // 0: the window was closed
}
