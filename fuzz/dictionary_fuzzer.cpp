// Feeds any bytes to the dictionary reader as the file "engl.voc" and checks what it makes of
// them: counting, loading, splitting and decoding, and the range field's text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "dictionary/Count.h"
#include "dictionary/Encoding.h"
#include "dictionary/LineSplitter.h"
#include "dictionary/Lines.h"
#include "drill/RangeSize.h"

namespace {

class Bytes final : public dictionary::ByteSource {
public:
    explicit Bytes(std::string_view data) : data_(data) {}
    std::optional<std::size_t> read(std::span<char> buffer) override {
        // Short reads, which the reader must join into its chunks.
        const std::size_t count = std::min({buffer.size(), data_.size(), std::size_t{977}});
        std::memcpy(buffer.data(), data_.data(), count);
        data_.remove_prefix(count);
        return count;
    }

private:
    std::string_view data_;
};

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The same bytes in pieces whose sizes the bytes themselves pick: where reads happen to end must
// change neither the line ends found, by either way of finding them, nor the verdict on UTF-8.
void checkSplitting(std::string_view input) {
    dictionary::LineSplitter whole;
    const std::uint64_t lines = whole.count(input);
    std::uint64_t wholeEnd = 0;
    const bool wholeLast = whole.lastLineEnd(wholeEnd);
    dictionary::Utf8Detector wholeUtf8;
    wholeUtf8.feed(input);

    dictionary::LineSplitter counted;
    dictionary::LineSplitter fed;
    dictionary::Utf8Detector pieceUtf8;
    std::uint64_t byCount = 0;
    std::uint64_t byFeed = 0;
    for (std::size_t at = 0; at < input.size();) {
        const std::size_t size = 1 + static_cast<unsigned char>(input[at]) % 7;
        const std::string_view piece = input.substr(at, size);
        byCount += counted.count(piece);
        fed.feed(piece, [&](std::uint64_t end) {
            check(end <= at + piece.size());
            ++byFeed;
            return true;
        });
        pieceUtf8.feed(piece);
        at += piece.size();
    }
    check(byCount == lines && byFeed == lines);
    std::uint64_t countedEnd = 0;
    std::uint64_t fedEnd = 0;
    check(counted.lastLineEnd(countedEnd) == wholeLast && fed.lastLineEnd(fedEnd) == wholeLast);
    check(!wholeLast || (countedEnd == wholeEnd && fedEnd == wholeEnd));
    check(pieceUtf8.finish() == wholeUtf8.finish());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const dictionary::SourceOpener open = [input] {
        return dictionary::OpenedSource{dictionary::OpenStatus::Ok, std::make_unique<Bytes>(input)};
    };
    const dictionary::CountResult counted = dictionary::countEntries(open);
    check(counted.status == dictionary::OpenStatus::Ok);
    check(counted.entries >= 0 && static_cast<std::uint64_t>(counted.entries) <= size);
    check(!counted.hasSeparator || input.find('$') != std::string_view::npos);

    // The whole file, and a range that its first byte picks.
    const std::int64_t ranges[] = {counted.entries + 1, size > 0 ? data[0] % 8 : 0};
    for (const std::int64_t n : ranges) {
        const dictionary::LoadResult loaded = dictionary::loadEntries(open, n, counted.encoding);
        check(loaded.status == dictionary::OpenStatus::Ok);
        const dictionary::Lines& lines = loaded.lines;
        check(static_cast<std::int64_t>(lines.count()) ==
              std::min<std::int64_t>(std::max<std::int64_t>(n, 0), counted.entries));
        for (std::size_t i = 0; i <= lines.count() + 1; ++i) {
            const std::string_view raw = lines.raw(i);
            const std::string_view english = lines.english(i);
            const std::string_view russian = lines.russian(i);
            check(raw.find_first_of("\r\n") == std::string_view::npos);
            check(english.find('$') == std::string_view::npos);
            if (english.size() < raw.size()) {
                check(std::string(english) + "$" + std::string(russian) == raw);
            } else {
                check(english == raw && russian.empty());
            }
            const std::string text = dictionary::toUtf8(raw, counted.encoding);
            check(text.size() >= raw.size());
        }
    }
    checkSplitting(input);
    const std::int64_t range = drill::rangeSizeFromText(input.substr(0, 64), counted.entries);
    check(range >= 1 && range <= std::max<std::int64_t>(counted.entries, 1));
    return 0;
}
