#include <windows.h>

#include <algorithm>
#include <string>

#include "SourceOpener.h"
#include "Whereabouts.h"

namespace dictionary {
namespace {

class FileSource final : public ByteSource {
public:
    FileSource(HANDLE file, std::uint64_t size) : file_(file), size_(size) {}
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    ~FileSource() override { ::CloseHandle(file_); }

    Read read(std::span<char> buffer) override {
        // ReadFile counts in 32 bits; a pass reads on until it gets 0.
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), 1u << 30));
        DWORD got = 0;
        if (!::ReadFile(file_, buffer.data(), want, &got, nullptr)) {
            // Another program's lock on a range of the file refuses the read: it is busy, as a
            // file held open without sharing is.
            return {0, ::GetLastError() == ERROR_LOCK_VIOLATION ? OpenStatus::Busy
                                                                : OpenStatus::ReadError};
        }
        return {got};
    }

    std::uint64_t sizeHint() const override { return size_; }

private:
    HANDLE file_;
    std::uint64_t size_;
};

std::wstring widen(const std::string& utf8) {
    const int length = static_cast<int>(utf8.size());
    const int count =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(), count);
    return wide;
}

std::string narrow(std::wstring_view wide) {
    const int length = static_cast<int>(wide.size());
    const int count =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(count), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), count, nullptr, nullptr);
    return utf8;
}

OpenStatus statusFor(DWORD error, const std::wstring& path) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return OpenStatus::Missing;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return OpenStatus::Busy;
        case ERROR_ACCESS_DENIED: {
            // A folder opened as a file is refused as access denied.
            const DWORD attributes = ::GetFileAttributesW(path.c_str());
            return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
                       ? OpenStatus::NotRegularFile
                       : OpenStatus::NoPermission;
        }
        default:
            return OpenStatus::ReadError;
    }
}

OpenedSource openFile(const std::wstring& path) {
    // Sharing everything keeps an editor that holds the file open, even for writing, unblocked.
    const HANDLE file = ::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {statusFor(::GetLastError(), path), nullptr, {}};
    }
    LARGE_INTEGER size{};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileSizeEx(file, &size)) {
        ::CloseHandle(file);
        return {OpenStatus::NotRegularFile, nullptr, {}};
    }
    return {OpenStatus::Ok,
            std::make_unique<FileSource>(file, static_cast<std::uint64_t>(size.QuadPart)),
            {}};
}

}  // namespace

bool enterFolder(const std::string& folder) {
    return ::SetCurrentDirectoryW(widen(folder).c_str()) != 0;
}

Whereabouts lookAround(const std::string& path) {
    const std::wstring wide = widen(path);
    std::wstring full(::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
    wchar_t* name = nullptr;
    if (full.empty() ||
        ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), &name) ==
            0 ||
        name == nullptr) {
        return {};
    }
    const std::wstring folder(full.data(), name);  // with its last separator
    const std::string own = narrow(name);
    // "C:\" keeps its separator; any other folder is shown without it.
    Whereabouts where{narrow(folder.size() > 3 ? folder.substr(0, folder.size() - 1) : folder), {}};
    WIN32_FIND_DATAW found;
    const HANDLE entries = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (entries != INVALID_HANDLE_VALUE) {
        do {
            const std::string candidate = narrow(found.cFileName);
            if (isNearMiss(candidate, own) &&
                (where.nearMiss.empty() || candidate < where.nearMiss)) {
                where.nearMiss = candidate;
            }
        } while (::FindNextFileW(entries, &found));
        ::FindClose(entries);
    }
    return where;
}

SourceOpener fileOpener(std::string_view path) {
    return [wide = widen(std::string(path)), path = std::string(path)] {
        OpenedSource opened = openFile(wide);
        if (opened.status == OpenStatus::Missing) {
            opened.where = lookAround(path);
        }
        return opened;
    };
}

}  // namespace dictionary
