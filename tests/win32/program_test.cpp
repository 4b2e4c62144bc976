// The real program as a Windows user meets it, driven from outside as a screen reader or a test
// robot drives it: from the zip, and from the installer, run quietly as an administrator would:
// what it puts where, the Start-menu entry and "Open with" starting the program on the right
// words, the user's words kept through a second install and the uninstall, and everything else
// gone with the uninstall. Its resources are read on the host, by the package check.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <doctest/doctest.h>

#include <filesystem>
#include <fstream>

#include "Encoding.h"
#include "Form1.h"

using form::Control;

namespace {

namespace fs = std::filesystem;
const std::wstring kMsi = VOCABUNTA_MSI;
const std::wstring kName = L"Вокабунта";

// `command` as a shortcut or Explorer gives it, started in `folder` (or the test's own).
struct Process {
    explicit Process(std::wstring command, const wchar_t* folder = nullptr) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        REQUIRE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 folder, &startup, &info));
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    // Ends it if a check failed while it ran, so that nothing waits for it.
    ~Process() {
        ::TerminateProcess(info.hProcess, 1);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }
    // Its exit code, once it has ended.
    DWORD wait() const {
        REQUIRE(::WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0);
        DWORD code = 1;
        ::GetExitCodeProcess(info.hProcess, &code);
        return code;
    }

    PROCESS_INFORMATION info{};
};

struct RealProgram : Process {
    explicit RealProgram(std::wstring command, const wchar_t* folder = nullptr)
        : Process(std::move(command), folder) {
        // The title exists before the controls do: wait until the program waits for input.
        REQUIRE(::WaitForInputIdle(info.hProcess, 20000) == 0);
        window = ::FindWindowW(nullptr, dictionary::utf16(form::kTitle).c_str());
        REQUIRE(window != nullptr);
    }
    HWND control(Control id) const {
        return ::GetDlgItem(window, win32::Form1::kFirstControlId + static_cast<int>(id));
    }
    // Asked of the control itself: the system answers GetWindowText for another program's
    // controls without it.
    std::string text(Control id) const {
        wchar_t text[1024];
        const auto length =
            ::SendMessageW(control(id), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
        return dictionary::utf8({text, static_cast<std::size_t>(length)});
    }
    // Closes the window as a user does; the program's exit code.
    DWORD close() const {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        return wait();
    }

    HWND window = nullptr;
};

std::wstring knownFolder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    ::SHGetKnownFolderPath(id, 0, nullptr, &path);
    const std::wstring folder = path != nullptr ? path : L"";
    ::CoTaskMemFree(path);
    return folder;
}

DWORD msiexec(const std::wstring& arguments) {
    return Process(L"msiexec " + arguments + L" \"" + kMsi + L"\" /qn").wait();
}

std::string contents(const fs::path& file) {
    std::ifstream bytes(file, std::ios::binary);
    return bytes ? std::string(std::istreambuf_iterator<char>(bytes), {}) : "(none)";
}

std::wstring registered(const wchar_t* key, const wchar_t* value = nullptr) {
    wchar_t text[1024] = L"";
    DWORD size = sizeof text;
    const LSTATUS status =
        ::RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, text, &size);
    return status == ERROR_SUCCESS ? text : L"(none)";
}

const wchar_t kOpenWith[] = L"Software\\Classes\\Applications\\vocabunta.exe\\shell\\open\\command";

}  // namespace

// Unpacked here: the program counts the sample beside it, Tab goes on to the next control as
// the program's own message loop hands it on, and closing ends it with 0.
TEST_CASE("from the zip: the sample counted, Tab, closing") {
    const RealProgram program(L"vocabunta.exe");
    CHECK(program.text(Control::Text7) == "445");
    // Where the focus is once it has come to `control`, or where it is after 100 messages if it
    // never does: each message sent lets the program take one more of those posted, and the
    // focus may pass elsewhere on its way, as while Windows activates the window.
    const auto focusAt = [&program](Control control) {
        HWND now = nullptr;
        for (int sent = 0; now != program.control(control) && sent < 100; ++sent) {
            ::SendMessageTimeoutW(program.window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, nullptr);
            GUITHREADINFO thread{};
            thread.cbSize = sizeof thread;
            ::GetGUIThreadInfo(program.info.dwThreadId, &thread);
            now = thread.hwndFocus;
        }
        return now;
    };
    const HWND first = program.control(form::tabOrder()[0]);
    REQUIRE(focusAt(form::tabOrder()[0]) == first);
    ::PostMessageW(first, WM_KEYDOWN, VK_TAB, 0);
    ::PostMessageW(first, WM_KEYUP, VK_TAB, 0);
    CHECK(focusAt(form::tabOrder()[1]) == program.control(form::tabOrder()[1]));
    CHECK(program.close() == 0);
}

TEST_CASE("install, start from the menu and from Explorer, install again, uninstall") {
    const std::wstring program =
        knownFolder(FOLDERID_LocalAppData) + L"\\Programs\\" + kName + L"\\vocabunta.exe";
    const std::wstring words = knownFolder(FOLDERID_Documents) + L"\\" + kName;
    const std::wstring shortcut = knownFolder(FOLDERID_Programs) + L"\\" + kName + L".lnk";
    REQUIRE(msiexec(L"/i") == 0);
    CHECK(contents(words + L"\\engl.voc") == contents(L"engl.voc"));  // the sample, from the zip

    // The Start-menu entry: the program, started in the words folder.
    IShellLinkW* link = nullptr;
    REQUIRE(SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IShellLinkW, reinterpret_cast<void**>(&link))));
    IPersistFile* file = nullptr;
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    REQUIRE(SUCCEEDED(file->Load(shortcut.c_str(), STGM_READ)));
    // The target as the shell finds it, by its item list: the path beside it may be kept in the
    // ANSI code page only.
    wchar_t target[MAX_PATH] = L"", folder[MAX_PATH] = L"";
    PIDLIST_ABSOLUTE item = nullptr;
    link->GetIDList(&item);
    ::SHGetPathFromIDListW(item, target);
    ::CoTaskMemFree(item);
    link->GetWorkingDirectory(folder, MAX_PATH);
    file->Release();
    link->Release();
    CHECK(dictionary::utf8(target) == dictionary::utf8(program));
    CHECK(dictionary::utf8(folder) == dictionary::utf8(words + L"\\"));
    {
        const RealProgram started(L"\"" + std::wstring(target) + L"\"", folder);
        CHECK(started.text(Control::Text7) == "445");
        CHECK(started.close() == 0);
    }

    // "Open with": offered for .voc, never made its default; given another folder's engl.voc,
    // the program drills that one.
    CHECK(registered(L"Software\\Classes\\.voc\\OpenWithList\\vocabunta.exe") == L"");
    CHECK(registered(L"Software\\Classes\\.voc") == L"(none)");
    std::wstring command = registered(kOpenWith);
    ::CreateDirectoryW(L"другие слова", nullptr);
    std::ofstream(fs::path(L"другие слова\\engl.voc"), std::ios::binary)
        << "one$один\r\ntwo$два\r\nthree$три\r\n";
    wchar_t other[MAX_PATH];
    ::GetFullPathNameW(L"другие слова\\engl.voc", MAX_PATH, other, nullptr);
    command.replace(command.find(L"%1"), 2, other);
    {
        const RealProgram opened(command);
        CHECK(opened.text(Control::Text7) == "3");
        CHECK(opened.close() == 0);
    }

    // The user's words survive a second install that puts every file back, and the uninstall,
    // which takes the rest.
    std::ofstream(fs::path(words + L"\\engl.voc"), std::ios::binary | std::ios::app)
        << "mine$моё\r\n";
    const std::string mine = contents(words + L"\\engl.voc");
    REQUIRE(msiexec(L"REINSTALL=ALL REINSTALLMODE=vamus /i") == 0);
    CHECK(contents(words + L"\\engl.voc") == mine);
    REQUIRE(msiexec(L"/x") == 0);
    CHECK(contents(words + L"\\engl.voc") == mine);
    CHECK(!fs::exists(program));
    CHECK(!fs::exists(shortcut));
    CHECK(registered(kOpenWith) == L"(none)");
}
