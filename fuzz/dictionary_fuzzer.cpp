// Feeds any bytes to the dictionary reader as the file "engl.voc" and checks what it makes of
// them: counting, loading, splitting and decoding, and the range field's text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "dictionary/Count.h"
#include "dictionary/Lines.h"
#include "drill/RangeSize.h"

namespace {

class Bytes final : public dictionary::ByteSource {
public:
    explicit Bytes(std::string_view data) : data_(data) {}
    std::optional<std::size_t> read(std::span<char> buffer) override {
        // Uneven reads, so lines and characters fall across them.
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
    const std::int64_t range = drill::rangeSizeFromText(input.substr(0, 64), counted.entries);
    check(range >= 1 && range <= std::max<std::int64_t>(counted.entries, 1));
    return 0;
}
