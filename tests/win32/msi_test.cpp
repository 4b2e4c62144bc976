// The installer as a Windows user meets it, run quietly as an administrator would: what it puts
// where, the Start-menu entry and "Open with" starting the program on the right words, the user's
// words kept through a second install and the uninstall, and everything else gone with the
// uninstall.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <doctest/doctest.h>

#include <filesystem>
#include <fstream>
#include <string_view>

#include "RealProgram.h"

using form::Control;

namespace {

namespace fs = std::filesystem;
const std::wstring kMsi = VOCABUNTA_MSI;
const std::wstring kName = L"Вокабунта";

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

void add(const fs::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary | std::ios::app) << bytes;
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

TEST_CASE("install, start from the menu and from Explorer, install again, uninstall") {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring program =
        knownFolder(FOLDERID_LocalAppData) + L"\\Programs\\" + kName + L"\\vocabunta.exe";
    const std::wstring words = knownFolder(FOLDERID_Documents) + L"\\" + kName;
    const std::wstring shortcut = knownFolder(FOLDERID_Programs) + L"\\" + kName + L".lnk";
    REQUIRE(msiexec(L"/i") == 0);
    CHECK(fs::exists(program));
    CHECK(contents(words + L"\\engl.voc") == contents(L"engl.voc"));  // the sample, beside the test

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
    ::DeleteFileW(L"другие слова\\engl.voc");
    add(L"другие слова\\engl.voc", "one$один\r\ntwo$два\r\nthree$три\r\n");
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
    add(words + L"\\engl.voc", "mine$моё\r\n");
    const std::string mine = contents(words + L"\\engl.voc");
    REQUIRE(msiexec(L"REINSTALL=ALL REINSTALLMODE=vamus /i") == 0);
    CHECK(contents(words + L"\\engl.voc") == mine);
    REQUIRE(msiexec(L"/x") == 0);
    CHECK(contents(words + L"\\engl.voc") == mine);
    CHECK(!fs::exists(program));
    CHECK(!fs::exists(shortcut));
    CHECK(registered(kOpenWith) == L"(none)");
}
