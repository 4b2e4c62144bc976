// Feeds any bytes to the dictionary reader as the file "engl.voc" and checks what it makes of
// them: counting, loading, splitting and decoding (Windows-1251, UTF-8, UTF-16 either way round),
// read in one chunk and in small ones.
#include <cstdlib>
#include <string>
#include <vector>

#include "Count.h"
#include "LineSplitter.h"
#include "Load.h"
#include "Pass.h"
#include "SourceFakes.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// What the counting and loading passes made of the input: the count, the encoding, and every
// line of the two loads.
struct Reading {
    std::int64_t entries = 0;
    dictionary::Encoding encoding = dictionary::Encoding::Windows1251;
    std::vector<std::string> lines;
    bool operator==(const Reading&) const = default;
};

// The text the passes see: after a UTF-16 byte-order mark, the input decoded to UTF-8.
std::string textOf(std::string_view input) {
    if (!input.starts_with("\xFF\xFE") && !input.starts_with("\xFE\xFF")) {
        return std::string(input);
    }
    std::string text;
    dictionary::Utf16Decoder utf16(input[0] == '\xFE');
    utf16.feed(input.substr(2), text);
    utf16.finish(text);
    return text;
}

Reading read(std::string_view input, std::size_t chunkSize) {
    const dictionary::SourceOpener open = memoryOpener(std::string(input));
    const dictionary::CountResult counted = dictionary::countEntries(open, chunkSize);
    const std::string text = textOf(input);
    check(counted.status == dictionary::OpenStatus::Ok);
    check(counted.entries >= 0 && std::uint64_t(counted.entries) <= text.size());
    check(counted.hasSeparator == (text.find_first_of("$\t") != std::string::npos));
    Reading reading{counted.entries, counted.encoding, {}};

    // The whole file, and a range that its first byte picks.
    const std::int64_t picked = input.empty() ? 0 : std::uint8_t(input[0]) % 8;
    for (const std::int64_t n : {counted.entries + 1, picked}) {
        const dictionary::LoadResult loaded =
            dictionary::loadEntries(open, n, counted.encoding, chunkSize);
        check(loaded.status == dictionary::OpenStatus::Ok);
        const dictionary::Lines& lines = loaded.lines;
        check(std::int64_t(lines.count()) == std::clamp<std::int64_t>(n, 0, counted.entries));
        for (std::size_t i = 0; i <= lines.count() + 1; ++i) {
            const std::string raw(lines.raw(i));
            const std::string english(lines.english(i));
            check(raw.find_first_of("\r\n") == std::string::npos);
            const char separator = raw.find('$') != std::string::npos ? '$' : '\t';
            check(english.find(separator) == std::string::npos);
            check(english.size() == raw.size()
                      ? lines.russian(i).empty()
                      : english + separator + std::string(lines.russian(i)) == raw);
            const std::string shown = dictionary::toUtf8(raw, counted.encoding);
            check(shown.find_first_of(std::string("\t\0", 2)) == std::string::npos);
            reading.lines.push_back(raw);
        }
    }
    return reading;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // Inputs are shorter than one chunk, so read them again in chunks of 3 to 18 bytes, a size
    // the last byte picks: where a chunk ends, a CR LF or a letter splits, and nothing may change.
    const Reading whole = read(input, dictionary::kChunkSize);
    const Reading chunked = read(input, 3 + (size > 0 ? data[size - 1] % 16 : 0));
    check(chunked == whole);
    // The two ways of counting line ends agree, whichever one this build reads with.
    using Splitter = dictionary::LineSplitter;
    check(size == 0 ||
          Splitter::endsWordwise(data, 0, size - 1) == Splitter::endsBytewise(data, 0, size - 1));
    return 0;
}
