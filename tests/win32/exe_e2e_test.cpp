// The real program from the zip, as a user meets it: a run on the sample dictionary, driven from
// outside as a screen reader or a test robot does, Tab and all. Its resources are read on the
// host, by the package check.
#include <windows.h>

#include <doctest/doctest.h>

#include "RealProgram.h"

using form::Control;

TEST_CASE("a run: a field set, a click, Tab, closing") {
    const RealProgram program(L"vocabunta.exe");
    CHECK(::IsWindowVisible(program.window));

    // A range of one, set as a screen reader sets a field, then Russian first: the sample's
    // first pair, house$дом, read back in Cyrillic.
    ::SendMessageW(program.control(Control::Text7), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1"));
    ::SendMessageW(
        ::FindWindowExW(program.window, nullptr, L"Button",
                        dictionary::utf16(form::control(Control::Command2).text).c_str()),
        BM_CLICK, 0, 0);
    CHECK(program.text(Control::Text3) == "1");
    CHECK(program.text(Control::Label2) == "дом");

    // Tab goes on to the next control, as the program's own message loop hands it on.
    const auto focused = [&program] {
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        ::SendMessageTimeoutW(program.window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, nullptr);
        ::GetGUIThreadInfo(program.info.dwThreadId, &thread);
        return thread.hwndFocus;
    };
    const HWND before = focused();
    REQUIRE(before == program.control(form::tabOrder()[0]));
    ::PostMessageW(before, WM_KEYDOWN, VK_TAB, 0);
    ::PostMessageW(before, WM_KEYUP, VK_TAB, 0);
    // A message sent is taken before those posted: each one sent lets the program take one more.
    HWND now = before;
    for (int sent = 0; now == before && sent < 100; ++sent) {
        now = focused();
    }
    CHECK(now == program.control(form::tabOrder()[1]));
    CHECK(program.close() == 0);
}
