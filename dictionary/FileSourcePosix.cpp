#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "SourceOpener.h"
#include "Whereabouts.h"

namespace dictionary {
namespace {

class FileSource final : public ByteSource {
public:
    FileSource(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    ~FileSource() override { ::close(fd_); }

    Read read(std::span<char> buffer) override {
        for (;;) {
            const ssize_t got = ::read(fd_, buffer.data(), buffer.size());
            if (got >= 0) {
                return {static_cast<std::size_t>(got)};
            }
            if (errno != EINTR) {
                return {0, OpenStatus::ReadError};
            }
        }
    }

    std::uint64_t sizeHint() const override { return size_; }

private:
    int fd_;
    std::uint64_t size_;
};

OpenStatus statusFor(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return OpenStatus::Missing;
        case EACCES:
        case EPERM:
            return OpenStatus::NoPermission;
        case EISDIR:
        case ENXIO:
            return OpenStatus::NotRegularFile;
        default:
            return OpenStatus::ReadError;
    }
}

OpenedSource openFile(const std::string& path) {
    // O_NONBLOCK keeps a named pipe without a writer from stalling the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return {statusFor(errno), nullptr, {}};
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return {OpenStatus::ReadError, nullptr, {}};
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return {OpenStatus::NotRegularFile, nullptr, {}};
    }
    return {OpenStatus::Ok,
            std::make_unique<FileSource>(fd, static_cast<std::uint64_t>(info.st_size)),
            {}};
}

}  // namespace

bool enterFolder(const std::string& folder) {
    return ::chdir(folder.c_str()) == 0;
}

Whereabouts lookAround(const std::string& path) {
    const std::string_view name = nameIn(path);
    std::string folder = path.substr(0, path.size() - name.size());
    if (!folder.starts_with('/')) {
        const std::unique_ptr<char, void (*)(void*)> here(::getcwd(nullptr, 0), std::free);
        if (!here) {
            return {};
        }
        folder = std::string(here.get()) + "/" + folder;
    }
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    Whereabouts where{folder, {}};
    if (DIR* const entries = ::opendir(folder.c_str())) {
        while (const dirent* const entry = ::readdir(entries)) {
            const std::string_view candidate = entry->d_name;
            if (isNearMiss(candidate, name) &&
                (where.nearMiss.empty() || candidate < where.nearMiss)) {
                where.nearMiss = candidate;
            }
        }
        ::closedir(entries);
    }
    return where;
}

SourceOpener fileOpener(std::string_view path) {
    return [path = std::string(path)] {
        OpenedSource opened = openFile(path);
        if (opened.status == OpenStatus::Missing) {
            opened.where = lookAround(path);
        }
        return opened;
    };
}

}  // namespace dictionary
