#include <windows.h>

#include <doctest/doctest.h>

#include "ByteSource.h"
#include "Utf16.h"

using dictionary::OpenStatus;

namespace {

const std::string kBytes = "apple$\xFF\xE1\xEB\xEE\xEA\xEE\r\n";
constexpr DWORD kAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// engl.voc in a folder with a Cyrillic name, so that the path goes from UTF-8 to UTF-16.
struct Scratch {
    Scratch() { ::CreateDirectoryW(L"словарь", nullptr); }
    ~Scratch() {
        ::SetFileAttributesW(kFile, FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(kFile);
        ::RemoveDirectoryW(kFile);
        ::RemoveDirectoryW(L"словарь");
    }
    // A handle of another program's, with the access and sharing it chose.
    static HANDLE hold(DWORD access, DWORD sharing, DWORD how = OPEN_EXISTING) {
        return ::CreateFileW(kFile, access, sharing, nullptr, how, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    static void write() {
        const HANDLE file = hold(GENERIC_WRITE, 0, CREATE_ALWAYS);
        DWORD written = 0;
        ::WriteFile(file, kBytes.data(), static_cast<DWORD>(kBytes.size()), &written, nullptr);
        ::CloseHandle(file);
    }
    static OpenStatus open() { return dictionary::fileOpener(win32::utf8(kFile))().status; }
    static constexpr const wchar_t* kFile = L"словарь\\engl.voc";
};

}  // namespace

TEST_CASE("a file that other programs hold open") {
    struct Row {
        std::string_view name;
        DWORD access;  // 0: nobody holds it
        DWORD sharing;
        OpenStatus expected;
    };
    for (const Row& row : {
             Row{"a plain file", 0, 0, OpenStatus::Ok},
             Row{"held by a program that shares nothing", GENERIC_READ, 0, OpenStatus::Busy},
             Row{"held for writing by an editor", GENERIC_READ | GENERIC_WRITE, kAll,
                 OpenStatus::Ok},
             Row{"held for deleting", DELETE, kAll, OpenStatus::Ok},
             Row{"held sharing reading only: never opened for writing", GENERIC_READ,
                 FILE_SHARE_READ, OpenStatus::Ok},
         }) {
        INFO(row.name);
        const Scratch scratch;
        scratch.write();
        const HANDLE held = row.access != 0 ? scratch.hold(row.access, row.sharing) : nullptr;
        dictionary::OpenedSource opened = dictionary::fileOpener(win32::utf8(Scratch::kFile))();
        CHECK(opened.status == row.expected);
        if (opened.source) {
            CHECK(opened.source->sizeHint() == kBytes.size());
            std::string bytes(64, '\0');
            char* at = bytes.data();
            while (const std::size_t got = opened.source->read({at, 3}).count) {
                at += got;  // short reads: the reader is called until it gives 0
            }
            CHECK(bytes.substr(0, static_cast<std::size_t>(at - bytes.data())) == kBytes);
        }
        ::CloseHandle(held);
    }
}

TEST_CASE("what else stands at the dictionary's name") {
    const Scratch scratch;
    CHECK(scratch.open() == OpenStatus::Missing);
    // It says where it looked, the full path as Explorer shows it, and what Notepad saved there.
    const wchar_t* const saved = L"словарь\\engl.voc.txt";
    ::CloseHandle(::CreateFileW(saved, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    wchar_t folder[MAX_PATH];
    ::GetFullPathNameW(L"словарь", MAX_PATH, folder, nullptr);
    const dictionary::Whereabouts where =
        dictionary::fileOpener(win32::utf8(Scratch::kFile))().where;
    CHECK(where.folder == win32::utf8(folder));
    CHECK(where.nearMiss == "engl.voc.txt");
    ::DeleteFileW(saved);
    ::CreateDirectoryW(Scratch::kFile, nullptr);
    CHECK(scratch.open() == OpenStatus::NotRegularFile);
    ::RemoveDirectoryW(Scratch::kFile);
    CHECK(dictionary::fileOpener("NUL")().status == OpenStatus::NotRegularFile);

    scratch.write();
    ::SetFileAttributesW(Scratch::kFile, FILE_ATTRIBUTE_READONLY);  // never opened for writing
    CHECK(scratch.open() == OpenStatus::Ok);
    // Busy while another program holds it; the next try, after it lets go, opens it.
    const HANDLE held = scratch.hold(GENERIC_READ, 0);
    CHECK(scratch.open() == OpenStatus::Busy);
    ::CloseHandle(held);
    CHECK(scratch.open() == OpenStatus::Ok);
}
