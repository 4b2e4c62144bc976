// The real program from the zip, as a user and Windows meet it: its resources, then a run on
// the sample dictionary, driven from outside as a screen reader or a test robot does.
#include <windows.h>

#include <doctest/doctest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ui/design/Design.h"
#include "ui/win32/Form1.h"
#include "ui/win32/Utf16.h"

using design::Control;

namespace {

const wchar_t kExe[] = L"vocabunta.exe";

std::wstring textOf(HWND hwnd) {
    wchar_t text[1024];
    const auto length = ::SendMessageW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return {text, static_cast<std::size_t>(length)};
}

HWND controlOf(HWND window, Control id) {
    return ::GetDlgItem(window, win32::Form1::kFirstControlId + static_cast<int>(id));
}

// The Russian part of line `number` of the sample, decoded from Windows-1251.
std::wstring russianOfLine(long number) {
    std::ifstream file("engl.voc", std::ios::binary);
    std::string line;
    for (long i = 0; i < number; ++i) {
        std::getline(file, line);
    }
    line = line.substr(line.find('$') + 1);
    line.erase(line.find_last_not_of('\r') + 1);
    std::wstring wide(line.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        ::MultiByteToWideChar(1251, 0, line.data(), static_cast<int>(line.size()), wide.data(),
                              static_cast<int>(wide.size()))));
    return wide;
}

BOOL CALLBACK findBox(HWND hwnd, LPARAM found) {
    wchar_t kind[16] = L"";
    ::GetClassNameW(hwnd, kind, 16);
    if (std::wstring_view(kind) == L"#32770" && ::IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The message box a program's thread shows, if it shows one.
HWND boxOf(DWORD thread) {
    HWND box = nullptr;
    ::EnumThreadWindows(thread, findBox, reinterpret_cast<LPARAM>(&box));
    return box;
}

// Ends the program if a check failed while it ran, so that nothing waits for it.
struct Running {
    ~Running() {
        if (info.hProcess != nullptr && ::WaitForSingleObject(info.hProcess, 0) != WAIT_OBJECT_0) {
            ::TerminateProcess(info.hProcess, 1);
        }
    }
    PROCESS_INFORMATION info{};
};

}  // namespace

TEST_CASE("the program carries its icon, version and manifest") {
    const HMODULE program = ::LoadLibraryExW(kExe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(program != nullptr);
    const HRSRC group = ::FindResourceW(program, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    REQUIRE(group != nullptr);
    const auto* directory =
        static_cast<const BYTE*>(::LockResource(::LoadResource(program, group)));
    std::string sizes;
    for (int i = 0; i < directory[4]; ++i) {
        sizes += std::to_string(directory[6 + 14 * i]) + " ";  // each entry's width
    }
    CHECK(sizes == "16 32 48 ");
    const HRSRC manifest = ::FindResourceW(program, MAKEINTRESOURCEW(1), RT_MANIFEST);
    REQUIRE(manifest != nullptr);
    const std::string text(
        static_cast<const char*>(::LockResource(::LoadResource(program, manifest))),
        ::SizeofResource(program, manifest));
    CHECK(text.find("PerMonitorV2") != std::string::npos);
    CHECK(text.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"") !=
          std::string::npos);
    ::FreeLibrary(program);

    std::vector<char> version(::GetFileVersionInfoSizeW(kExe, nullptr));
    REQUIRE(::GetFileVersionInfoW(kExe, 0, static_cast<DWORD>(version.size()), version.data()));
    const auto value = [&version](const wchar_t* name) {
        wchar_t* found = nullptr;
        UINT length = 0;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\041904B0\\") + name;
        ::VerQueryValueW(version.data(), path.c_str(), reinterpret_cast<void**>(&found), &length);
        return found != nullptr ? win32::utf8(found) : std::string();
    };
    CHECK(value(L"ProductName") == "Вокабунта");
    CHECK(value(L"FileVersion") == "1.00");
    CHECK(value(L"ProductVersion") == "1.00");
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    REQUIRE(::VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    CHECK(fixed->dwFileVersionMS == 0x00010000);
    CHECK(fixed->dwProductVersionMS == 0x00010000);
}

TEST_CASE("a run: a click, the About box, closing") {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    Running program;
    PROCESS_INFORMATION& started = program.info;
    std::wstring command = kExe;
    REQUIRE(::CreateProcessW(kExe, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &started));
    // The title exists before the controls do: wait until the program waits for input.
    REQUIRE(::WaitForInputIdle(started.hProcess, 20000) == 0);
    const HWND window = ::FindWindowW(nullptr, win32::utf16(design::kTitle).c_str());
    REQUIRE(window != nullptr);
    CHECK(::IsWindowVisible(window));

    const HWND russianFirst = ::FindWindowExW(
        window, nullptr, L"Button", win32::utf16(design::control(Control::Command2).text).c_str());
    REQUIRE(russianFirst != nullptr);
    ::SendMessageW(russianFirst, BM_CLICK, 0, 0);
    const long number = std::stol(textOf(controlOf(window, Control::Text3)));
    const std::wstring question = textOf(controlOf(window, Control::Label2));
    CHECK(number >= 1);
    CHECK(number <= 445);
    CHECK(question == russianOfLine(number));
    CHECK(question.find_first_of(L"абвгдеёжзийклмнопрстуфхцчшщъыьэюя") != std::wstring::npos);

    ::PostMessageW(controlOf(window, Control::Command3), BM_CLICK, 0, 0);
    // Each message sent waits for the program to take it: the first may still come before the
    // click, a later one is taken by the box's own loop, once the box is up.
    HWND box = nullptr;
    for (int sent = 0; box == nullptr && sent < 100; ++sent) {
        ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, nullptr);
        box = boxOf(started.dwThreadId);
    }
    REQUIRE(box != nullptr);
    CHECK(win32::utf8(textOf(box)) == design::kAbout.title);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    REQUIRE(::WaitForSingleObject(started.hProcess, 20000) == WAIT_OBJECT_0);
    DWORD code = 1;
    ::GetExitCodeProcess(started.hProcess, &code);
    CHECK(code == 0);
}
