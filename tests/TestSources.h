#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "dictionary/ByteSource.h"

// Dictionary inputs held in memory, to feed the reader any bytes and any failure.
class MemorySource final : public dictionary::ByteSource {
public:
    MemorySource(std::string bytes, std::size_t failAfter)
        : bytes_(std::move(bytes)), failAfter_(failAfter) {}

    std::optional<std::size_t> read(std::span<char> buffer) override {
        if (position_ >= failAfter_) {
            return std::nullopt;
        }
        // Short reads, so callers must not count on one read filling their buffer.
        const std::size_t count = std::min(
            {buffer.size(), bytes_.size() - position_, failAfter_ - position_, std::size_t{4093}});
        std::memcpy(buffer.data(), bytes_.data() + position_, count);
        position_ += count;
        return count;
    }

    std::uint64_t sizeHint() const override { return bytes_.size(); }

private:
    std::string bytes_;
    std::size_t failAfter_;
    std::size_t position_ = 0;
};

// Opens `bytes` afresh for each pass; a read fails once `failAfter` bytes have been read.
inline dictionary::SourceOpener memoryOpener(std::string bytes,
                                             std::size_t failAfter = std::string::npos) {
    return [bytes = std::move(bytes), failAfter] {
        return dictionary::OpenedSource{dictionary::OpenStatus::Ok,
                                        std::make_unique<MemorySource>(bytes, failAfter)};
    };
}

// A dictionary of `count` entries, "en1$ru1" to "en<count>$ru<count>", with CR LF line ends.
inline std::string numberedEntries(int count) {
    std::string file;
    for (int i = 1; i <= count; ++i) {
        file += "en" + std::to_string(i) + "$ru" + std::to_string(i) + "\r\n";
    }
    return file;
}

// A source whose reading runs out of memory, as a file of many gigabytes would.
class ExhaustingSource final : public dictionary::ByteSource {
public:
    std::optional<std::size_t> read(std::span<char>) override { throw std::bad_alloc(); }
};

inline dictionary::SourceOpener exhaustingOpener() {
    return [] {
        return dictionary::OpenedSource{dictionary::OpenStatus::Ok,
                                        std::make_unique<ExhaustingSource>()};
    };
}

// Fails every open with `status`.
inline dictionary::SourceOpener failingOpener(dictionary::OpenStatus status) {
    return [status] { return dictionary::OpenedSource{status, nullptr}; };
}

// A different content at each pass, as a file that is edited between them.
inline dictionary::SourceOpener changingOpener(std::string first, std::string later) {
    auto passes = std::make_shared<int>(0);
    return [=] { return memoryOpener((*passes)++ == 0 ? first : later)(); };
}
