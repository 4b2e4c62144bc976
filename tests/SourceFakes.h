#pragma once

// Dictionaries that tests and the fuzzer put behind the reader's one seam.
#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "SourceOpener.h"

// The dictionary held in memory and read in short pieces. A read past `failAfter` bytes fails,
// or runs out of memory, as a file of many gigabytes does. Plain C++, for the fuzzer too.
struct MemorySource final : dictionary::ByteSource {
    MemorySource(std::string bytes, std::size_t failAfter, bool exhausts)
        : bytes(std::move(bytes)), failAfter(failAfter), exhausts(exhausts) {}
    dictionary::Read read(std::span<char> buffer) override {
        if (position >= failAfter) {
            return exhausts ? throw std::bad_alloc()
                            : dictionary::Read{0, dictionary::OpenStatus::ReadError};
        }
        const std::size_t count = std::min(
            {buffer.size(), bytes.size() - position, failAfter - position, std::size_t{4093}});
        std::memcpy(buffer.data(), bytes.data() + position, count);
        position += count;
        return {count};
    }
    std::uint64_t sizeHint() const override { return bytes.size(); }
    std::string bytes;
    std::size_t failAfter;
    bool exhausts;
    std::size_t position = 0;
};

inline dictionary::SourceOpener memoryOpener(std::string bytes,
                                             std::size_t failAfter = std::string::npos,
                                             bool exhausts = false) {
    return [=] {
        return dictionary::OpenedSource{dictionary::OpenStatus::Ok,
                                        std::make_unique<MemorySource>(bytes, failAfter, exhausts),
                                        {}};
    };
}

inline dictionary::SourceOpener failingOpener(dictionary::OpenStatus status,
                                              dictionary::Whereabouts where = {}) {
    return [=] { return dictionary::OpenedSource{status, nullptr, where}; };
}

// "en1$ru1" to "en<count>$ru<count>", with CR LF line ends.
inline std::string numberedEntries(int count) {
    std::string file;
    for (int i = 1; i <= count; ++i) {
        file += "en" + std::to_string(i) + "$ru" + std::to_string(i) + "\r\n";
    }
    return file;
}
