// The real program from the zip, as Windows and a user meet it: its resources, then a run on the
// sample dictionary, driven from outside as a screen reader or a test robot does, Tab and all.
#include <windows.h>

#include <doctest/doctest.h>

#include <vector>

#include "RealProgram.h"

using form::Control;

namespace {

const wchar_t kExe[] = L"vocabunta.exe";

// Collects every language that a resource of a module is tagged with, each once.
BOOL CALLBACK addLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
    auto& languages = *reinterpret_cast<std::string*>(found);
    const std::string number = std::to_string(language) + " ";
    if (languages.find(number) == std::string::npos) {
        languages += number;
    }
    return TRUE;
}
BOOL CALLBACK addName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR found) {
    return ::EnumResourceLanguagesW(module, type, name, addLanguage, found);
}
BOOL CALLBACK addType(HMODULE module, LPWSTR type, LONG_PTR found) {
    return ::EnumResourceNamesW(module, type, addName, found);
}

}  // namespace

TEST_CASE("the program carries its icon, version and manifest, all in Russian") {
    const HMODULE program = ::LoadLibraryExW(kExe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const auto resource = [program](LPCWSTR type) {
        const HRSRC found = ::FindResourceW(program, MAKEINTRESOURCEW(1), type);
        REQUIRE(found != nullptr);
        return std::string(static_cast<const char*>(::LockResource(::LoadResource(program, found))),
                           ::SizeofResource(program, found));
    };
    const std::string icons = resource(RT_GROUP_ICON);  // 6 bytes, then 14 an icon; 0 is 256
    CHECK(std::to_string(icons[6]) + " " + std::to_string(icons[20]) + " " +
              std::to_string(icons[34]) + " " + std::to_string(icons[48]) ==
          "16 32 48 0");
    const std::string manifest = resource(RT_MANIFEST);
    CHECK(manifest.find("PerMonitorV2") != std::string::npos);
    CHECK(manifest.find("Common-Controls\" version=\"6.0.0.0\"") != std::string::npos);
    CHECK(manifest.find("level=\"asInvoker\"") != std::string::npos);
    std::string languages;
    ::EnumResourceTypesW(program, addType, reinterpret_cast<LONG_PTR>(&languages));
    CHECK(languages == std::to_string(MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT)) + " ");
    ::FreeLibrary(program);

    std::vector<char> version(::GetFileVersionInfoSizeW(kExe, nullptr));
    ::GetFileVersionInfoW(kExe, 0, static_cast<DWORD>(version.size()), version.data());
    std::string values;
    for (const wchar_t* name : {L"ProductName", L"FileVersion", L"ProductVersion"}) {
        wchar_t* found = nullptr;
        UINT length = 0;
        ::VerQueryValueW(version.data(),
                         (std::wstring(L"\\StringFileInfo\\041904B0\\") + name).c_str(),
                         reinterpret_cast<void**>(&found), &length);
        values.append(win32::utf8(found != nullptr ? found : L"?")).append(" ");
    }
    CHECK(values == "Вокабунта 1.00 1.00 ");
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    REQUIRE(::VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    CHECK(fixed->dwFileVersionMS == 0x00010000);
}

TEST_CASE("a run: a field set, a click, Tab, closing") {
    const RealProgram program(kExe);
    CHECK(::IsWindowVisible(program.window));

    // A range of one, set as a screen reader sets a field, then Russian first: the sample's
    // first pair, house$дом, read back in Cyrillic.
    ::SendMessageW(program.control(Control::Text7), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1"));
    ::SendMessageW(::FindWindowExW(program.window, nullptr, L"Button",
                                   win32::utf16(form::control(Control::Command2).text).c_str()),
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
