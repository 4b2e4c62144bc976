#include <windows.h>

#include <algorithm>
#include <string>

#include "Encoding.h"
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
    return ::SetCurrentDirectoryW(utf16(folder).c_str()) != 0;
}

Whereabouts lookAround(const std::string& path) {
    const std::wstring wide = utf16(path);
    std::wstring full(::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
    wchar_t* name = nullptr;
    if (full.empty() ||
        ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), &name) ==
            0 ||
        name == nullptr) {
        return {};
    }
    const std::wstring folder(full.data(), name);  // with its last separator
    const std::string own = utf8(name);
    // "C:\" keeps its separator; any other folder is shown without it.
    Whereabouts where{utf8(folder.size() > 3 ? folder.substr(0, folder.size() - 1) : folder), {}};
    WIN32_FIND_DATAW found;
    const HANDLE entries = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (entries != INVALID_HANDLE_VALUE) {
        do {
            const std::string candidate = utf8(found.cFileName);
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
    return [wide = utf16(path), path = std::string(path)] {
        OpenedSource opened = openFile(wide);
        if (opened.status == OpenStatus::Missing) {
            opened.where = lookAround(path);
        }
        return opened;
    };
}

}  // namespace dictionary
