#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <QString>
#include <string>

// Puts at `path` what a user might have named "engl.voc" that is no regular file: "folder", a
// named pipe without a writer ("fifo") or a link to the endless zero device ("zero"). False
// for any other kind or when it cannot be made.
inline bool makeSpecialFile(const QString& kind, const std::string& path) {
    if (kind == "folder") {
        return ::mkdir(path.c_str(), 0755) == 0;
    }
    if (kind == "fifo") {
        return ::mkfifo(path.c_str(), 0644) == 0;
    }
    if (kind == "zero") {
        return ::symlink("/dev/zero", path.c_str()) == 0;
    }
    return false;
}
