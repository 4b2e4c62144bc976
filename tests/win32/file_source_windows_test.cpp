#include <windows.h>

#include <doctest/doctest.h>

#include <functional>
#include <string>

#include "dictionary/ByteSource.h"

using dictionary::OpenStatus;

namespace {

// A folder of the test's own with a Cyrillic name, so the path goes through UTF-8 to UTF-16.
struct Scratch {
    Scratch() {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"\x0441\x043B\x043E\x0432\x0430\x0440\x044C-" +
                 std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(folder.c_str(), nullptr);
    }
    ~Scratch() {
        ::DeleteFileW(file().c_str());
        ::RemoveDirectoryW(file().c_str());
        ::RemoveDirectoryW(folder.c_str());
    }
    std::wstring file() const { return folder + L"\\engl.voc"; }
    std::string fileUtf8() const {
        const std::wstring wide = file();
        std::string utf8(wide.size() * 3, '\0');
        utf8.resize(static_cast<std::size_t>(
            ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                  utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr)));
        return utf8;
    }
    void write(const std::string& bytes) const {
        const HANDLE h = ::CreateFileW(file().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(h);
    }
    // Another program's handle on the file, with the access and sharing it chose.
    HANDLE hold(DWORD access, DWORD sharing) const {
        return ::CreateFileW(file().c_str(), access, sharing, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    std::wstring folder;
};

std::string readAll(dictionary::ByteSource& source) {
    std::string bytes;
    char buffer[3];  // short reads, so the reader is called until it gives 0
    while (const auto got = source.read(buffer)) {
        if (*got == 0) {
            break;
        }
        bytes.append(buffer, *got);
    }
    return bytes;
}

const std::string kBytes = "apple$\xFF\xE1\xEB\xEE\xEA\xEE\r\n";

}  // namespace

TEST_CASE("the reader tells what stands at the dictionary's name") {
    struct Row {
        const char* name;
        std::function<HANDLE(const Scratch&)> arrange;  // returns a handle held during the open
        OpenStatus expected;
    };
    const Row rows[] = {
        {"missing", [](const Scratch&) { return INVALID_HANDLE_VALUE; }, OpenStatus::Missing},
        {"a folder",
         [](const Scratch& s) {
             ::CreateDirectoryW(s.file().c_str(), nullptr);
             return INVALID_HANDLE_VALUE;
         },
         OpenStatus::NotRegularFile},
        {"a plain file",
         [](const Scratch& s) {
             s.write(kBytes);
             return INVALID_HANDLE_VALUE;
         },
         OpenStatus::Ok},
        {"held open by a program that shares nothing",
         [](const Scratch& s) {
             s.write(kBytes);
             return s.hold(GENERIC_READ, 0);
         },
         OpenStatus::Busy},
        {"held open for writing by an editor that shares it",
         [](const Scratch& s) {
             s.write(kBytes);
             return s.hold(GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
         },
         OpenStatus::Ok},
        {"held open for deleting, sharing everything",
         [](const Scratch& s) {
             s.write(kBytes);
             return s.hold(DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
         },
         OpenStatus::Ok},
        {"held open by a program that shares reading only: never opened for writing",
         [](const Scratch& s) {
             s.write(kBytes);
             return s.hold(GENERIC_READ, FILE_SHARE_READ);
         },
         OpenStatus::Ok},
        {"read-only: never opened for writing",
         [](const Scratch& s) {
             s.write(kBytes);
             ::SetFileAttributesW(s.file().c_str(), FILE_ATTRIBUTE_READONLY);
             return INVALID_HANDLE_VALUE;
         },
         OpenStatus::Ok},
    };
    for (const Row& row : rows) {
        INFO(row.name);
        const Scratch scratch;
        const HANDLE held = row.arrange(scratch);
        dictionary::OpenedSource opened = dictionary::fileOpener(scratch.fileUtf8())();
        CHECK(opened.status == row.expected);
        if (row.expected == OpenStatus::Ok && opened.source) {
            CHECK(opened.source->sizeHint() == kBytes.size());
            CHECK(readAll(*opened.source) == kBytes);
        }
        opened.source.reset();
        if (held != INVALID_HANDLE_VALUE) {
            ::CloseHandle(held);
        }
        ::SetFileAttributesW(scratch.file().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_CASE("a busy dictionary opens at the next try once the other program lets go") {
    const Scratch scratch;
    scratch.write(kBytes);
    const dictionary::SourceOpener open = dictionary::fileOpener(scratch.fileUtf8());
    const HANDLE held = scratch.hold(GENERIC_READ, 0);
    CHECK(open().status == OpenStatus::Busy);
    ::CloseHandle(held);
    CHECK(open().status == OpenStatus::Ok);
}

TEST_CASE("a device is not a dictionary") {
    CHECK(dictionary::fileOpener("NUL")().status == OpenStatus::NotRegularFile);
}
