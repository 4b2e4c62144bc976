#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <doctest/doctest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "Count.h"
#include "Load.h"
#include "SourceFakes.h"

using namespace std::string_literals;
using dictionary::Encoding;
using dictionary::OpenStatus;

namespace {

constexpr std::size_t kChunk = 1 << 16;  // the reader's chunk
const std::string kBom = "\xEF\xBB\xBF";
const std::string kFiller(kChunk - 1, 'a');

// The text as a UTF-16 file saves it, with its byte-order mark: Notepad's and Excel's "Unicode".
std::string utf16(std::u16string_view text, bool bigEndian = false) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

std::string repeated(const std::string& text, int times) {
    std::string all;
    while (times-- > 0) {
        all += text;
    }
    return all;
}

}  // namespace

// Counting, then loading more than every line: the lists' element 0 and past N are empty.
TEST_CASE("reading") {
    // A file and the words it gives, decoded: "English|Russian" a line, joined by line feeds.
    const auto reads = [](std::string_view name, const std::string& file,
                          const std::string& entries) {
        INFO(name);
        const std::size_t size =
            entries.empty() ? 0 : std::count(entries.begin(), entries.end(), '\n') + 1;
        const dictionary::SourceOpener open = memoryOpener(file);
        const dictionary::CountResult counted = dictionary::countEntries(open);
        CHECK(counted.entries == std::int64_t(size));
        CHECK(counted.hasSeparator == (file.find_first_of("$\t") != std::string::npos));

        const auto lines = std::make_shared<const dictionary::Lines>(
            dictionary::loadEntries(open, counted.entries + 5, counted.encoding).lines);
        const dictionary::WordList english(lines, dictionary::WordList::Part::English);
        const dictionary::WordList russian(lines, dictionary::WordList::Part::Russian);
        // Elements 0 to N + 1, a line each: as many line feeds as expected means none inside one.
        std::string shown;
        for (std::size_t i = 0; i <= size + 1; ++i) {
            shown += english.text(i) + "|" + russian.text(i) + (i <= size ? "\n" : "");
        }
        CHECK(shown == "|\n" + entries + (size > 0 ? "\n|" : "|"));
    };
    reads("empty file", "", "");
    reads("CR, LF and CR LF each end a line, the last needs none", "a$1\rb$2\nc$3\r\nd$4",
          "a|1\nb|2\nc|3\nd|4");
    reads("CR CR LF is two line ends", "a\r\r\n", "a|\n|");
    reads("LF CR is two line ends", "a\n\rb", "a|\n|\nb|");
    reads("empty lines are entries", "\r\n\r\n$\r\n", "|\n|\n|");
    reads("split at the first $", "a$b$c", "a|b$c");
    reads("$ first", "$rest", "|rest");
    reads("$ last", "word$", "word|");
    reads("blanks kept", " a $ b ", " a | b ");
    reads("line without a separator is all English", "plain\r\nx$y", "plain|\nx|y");
    reads("a tab where there is no $, shown as a space", "house\tдом\r\n\tx\ty", "house|дом\n|x y");
    reads("$ before a tab", "a\tb$c\td", "a b|c d");
    // A spreadsheet's quoted cell is unquoted on a row split at a tab, never on a "$" line.
    reads("quoted cells",
          "\"to say \"\"hi\"\"\"\t\"\"\"\"\r\nhouse\t\"to say \"\"hi\"\"\"\tnoun\r\n"
          "a\t\"b\tc\"\t\"d\"e\t\"f\"\r\n\"a\"$\"b\"",
          "to say \"hi\"|\"\nhouse|to say \"hi\" noun\na|b c \"d\"e f\n\"a\"|\"b\"");
    reads("NUL bytes are text, shown as U+FFFD", "\0$\0\r\n\0"s, "\uFFFD|\uFFFD\n\uFFFD|");
    reads("final Ctrl-Z after a line end", "a$b\r\n\x1A", "a|b");
    reads("Ctrl-Z before the last is text", "a$\x1A\x1A", "a|\uFFFD");
    // One encoding for the whole file: UTF-8 after a byte-order mark, or when it holds valid
    // non-ASCII UTF-8 with fewer than one stray byte per hundred letters; else Windows-1251.
    const std::string letters = repeated("д", 200);
    reads("Windows-1251", "house$\xE4\xEE\xEC\r\n\xA8\xB8$x", "house|дом\nЁё|x");
    reads("byte-order mark, not text, before bad bytes", kBom + "д$\xFF\xD0", "д|\uFFFD\uFFFD");
    reads("UTF-8 with one 1251 byte", "a$д\r\nb$\xE1", "a|Рґ\nb|б");
    reads("UTF-8 with under 1 % stray bytes", "a$" + letters + "д\nb$\xE1\xE1",
          "a|" + letters + "д\nb|\uFFFD\uFFFD");
    // Just enough letters after the first read to outweigh its stray byte: reading goes on.
    reads("UTF-8 letters after the first read", "\xE1$" + kFiller + repeated("д", 101),
          "\uFFFD|" + kFiller + repeated("д", 101));
    reads("1 % stray bytes is not UTF-8", "a$" + letters + "\n$\xE1\xE1",
          "a|" + repeated("Рґ", 200) + "\n|бб");
    reads("past U+10FFFF is not UTF-8", "$\xF4\x90\x80\x80", "|фђЂЂ");
    reads("overlong and surrogate forms are no letters", kBom + "\xE0\x80\xAF$\xED\xA0\x80",
          "\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD");
    reads("a letter cut short is one U+FFFD", kBom + "\xF0\x9F\x98$\xF0\x9F\x98\x41\xED\xA0\x80",
          "\uFFFD|\uFFFDA\uFFFD\uFFFD\uFFFD");
    // UTF-16 after its byte-order mark, either way round, CR LF, LF or CR a 16-bit unit each.
    reads("UTF-16 LE", utf16(u"house$дом\r\nок\t\U0001F600\nz"), "house|дом\nок|\U0001F600\nz|");
    reads("UTF-16 BE", utf16(u"house\tдом\rtab\t$", true), "house|дом\ntab |");
    reads("UTF-16, a lone surrogate each way", utf16(u"\xD83D$a\xDE00"), "\uFFFD|a\uFFFD");
    reads("UTF-16, an odd last byte", utf16(u"a$b") + "c", "a|b\uFFFD");
    reads("UTF-16, a pair across a chunk end",
          utf16(u"a$" + std::u16string(kChunk / 2 - 4, u'b') + u"\U0001F600\r\n"),
          "a|" + std::string(kChunk / 2 - 4, 'b') + "\U0001F600");
}

TEST_CASE("lines after N are not read") {
    // Reading the rest would fail; loading the first two lines never gets there.
    const dictionary::SourceOpener open =
        memoryOpener(numberedEntries(3) + std::string(4 * kChunk, 'z'), 2 * kChunk);
    const auto loaded = dictionary::loadEntries(open, 2, Encoding::Windows1251);
    CHECK(loaded.status == OpenStatus::Ok);
    CHECK(loaded.lines.count() == 2);
    CHECK(loaded.lines.raw(2) == "en2$ru2");
    // Reading them fails, and both passes say so.
    CHECK(dictionary::countEntries(open).status == OpenStatus::ReadError);
    CHECK(dictionary::loadEntries(open, 4, Encoding::Windows1251).status == OpenStatus::ReadError);
}

// Only the front of a long word is decoded, and never half a letter; in Windows-1251 each byte
// is one, ё (B8) too, though it looks like the middle of a UTF-8 letter.
TEST_CASE("words are cut whole") {
    CHECK(dictionary::toUtf8("\xE5\xF9\xB8", Encoding::Windows1251, 2) == "ещ");
    CHECK(dictionary::toUtf8("дом", Encoding::Utf8, 3) == "д");
    CHECK(dictionary::toUtf8("дом", Encoding::Utf8, 4) == "до");
}

// Text to and from UTF-16, as the system's calls take it; what has no letter in the other is one
// U+FFFD, never lost: a broken UTF-8 sequence however long, a surrogate without its other half.
TEST_CASE("UTF-8 and UTF-16") {
    const auto units = [](std::string_view text) {
        const auto utf16 = dictionary::utf16(text);
        return std::u16string(utf16.begin(), utf16.end());
    };
    const auto text = [](std::u16string_view units) {
        return dictionary::utf8(
            std::basic_string<dictionary::Utf16Unit>(units.begin(), units.end()));
    };
    CHECK(units("a\nдом€\U0001F600") == u"a\nдом€\U0001F600");
    CHECK(text(u"a\nдом€\U0001F600") == "a\nдом€\U0001F600");
    CHECK(units("a\xFF\xF0\x9F\x98"
                "b") == u"a\uFFFD\uFFFDb");
    CHECK(text(u"\xD83Dx\xDE00\xD83D") == "\uFFFDx\uFFFD\uFFFD");
}

#ifndef _WIN32
// Every byte of Windows-1251 as the C library's converter reads it.
TEST_CASE("Windows-1251 as iconv knows it") {
    const iconv_t cp1251 = ::iconv_open("UTF-8", "CP1251");
    REQUIRE(cp1251 != reinterpret_cast<iconv_t>(-1));
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        char in = static_cast<char>(byte), out[8];
        char *from = &in, *to = out;
        std::size_t inLeft = 1, outLeft = sizeof out;
        const bool known = ::iconv(cp1251, &from, &inLeft, &to, &outLeft) != std::size_t(-1);
        CAPTURE(byte);
        CHECK(dictionary::toUtf8({&in, 1}, Encoding::Windows1251) ==
              (known ? std::string(out, to) : "\uFFFD"));
    }
    ::iconv_close(cp1251);
}
#endif

// A page reads the file its user picked from memory: it has no file reader of its own.
#ifndef __EMSCRIPTEN__
namespace {

namespace fs = std::filesystem;

std::string utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

// A folder of the test's own, named in Cyrillic so that paths go through UTF-8 on every system,
// and current while it lasts, as the program's is.
struct Scratch {
    Scratch() {
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::current_path(dir);
    }
    ~Scratch() {
        fs::current_path(started);
        fs::remove_all(dir);
    }
    const fs::path started = fs::current_path();
    const fs::path dir = fs::temp_directory_path() / fs::path(u8"словарь-dictionary_test");
};

void write(const fs::path& file) {
    std::ofstream(file, std::ios::binary) << "a$1\r\nb$2\r\n";
}

// What a row puts at "engl.voc" keeps hold of, a handle or another user, while the passes read.
using Held = std::shared_ptr<void>;

#ifdef _WIN32
// The file, held by another program with the access and sharing it chose.
std::function<Held()> heldBy(DWORD access, DWORD sharing) {
    return [=] {
        write("engl.voc");
        return Held(::CreateFileW(L"engl.voc", access, sharing, nullptr, OPEN_EXISTING, 0, nullptr),
                    ::CloseHandle);
    };
}
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
#endif

}  // namespace

// Nothing blocks, and both passes read a file or say why they could not.
TEST_CASE("files") {
    struct Row {
        std::string_view name;
        std::function<Held()> make;
        OpenStatus status;
    };
    for (const Row& row : {
             Row{"absent", [] { return Held(); }, OpenStatus::Missing},
             Row{"a folder", [] { return fs::create_directory("engl.voc"), Held(); },
                 OpenStatus::NotRegularFile},
             Row{"a plain file", [] { return write("engl.voc"), Held(); }, OpenStatus::Ok},
#ifdef _WIN32
             Row{"held by a program that shares nothing", heldBy(GENERIC_READ, 0),
                 OpenStatus::Busy},
             Row{"held for writing by an editor", heldBy(GENERIC_READ | GENERIC_WRITE, kShareAll),
                 OpenStatus::Ok},
             Row{"held for deleting", heldBy(DELETE, kShareAll), OpenStatus::Ok},
             Row{"held sharing reading only: never opened for writing",
                 heldBy(GENERIC_READ, FILE_SHARE_READ), OpenStatus::Ok},
#else
             Row{"a named pipe without a writer", [] { return ::mkfifo("engl.voc", 0644), Held(); },
                 OpenStatus::NotRegularFile},
             Row{"a link to the endless zero device",
                 [] { return ::symlink("/dev/zero", "engl.voc"), Held(); },
                 OpenStatus::NotRegularFile},
             // Root may read any file, so the passes run as nobody then.
             Row{"no permission",
                 [] {
                     write("engl.voc");
                     ::chmod("engl.voc", 0);
                     const bool asNobody = ::geteuid() == 0 && ::seteuid(65534) == 0;
                     return Held(nullptr,
                                 [asNobody](void*) { CHECK((!asNobody || ::seteuid(0) == 0)); });
                 },
                 OpenStatus::NoPermission},
#endif
         }) {
        INFO(row.name);
        const Scratch scratch;
        const Held held = row.make();
        const dictionary::SourceOpener open = dictionary::fileOpener("engl.voc");
        const dictionary::CountResult counted = dictionary::countEntries(open);
        const dictionary::LoadResult loaded = dictionary::loadEntries(open, 10, counted.encoding);
        CHECK((counted.status == row.status && loaded.status == row.status));
        // Entries counted, and the Russian of the second as loaded.
        CHECK(std::to_string(counted.entries) + "|" + std::string(loaded.lines.russian(2)) ==
              (row.status == OpenStatus::Ok ? "2|2" : "0|"));
    }
#ifdef _WIN32
    CHECK(dictionary::fileOpener("NUL")().status == OpenStatus::NotRegularFile);
#endif

    // Where there is none, the passes say where they looked, the full path as a file manager
    // shows it, and name a file that Notepad may have saved in its place.
    const Scratch scratch;
    for (const char* name : {"engl.vocab", "engl.voc.txt", "words.voc"}) {
        write(name);
    }
    const dictionary::CountResult counted =
        dictionary::countEntries(dictionary::fileOpener("engl.voc"));
    CHECK(counted.status == OpenStatus::Missing);
    CHECK(counted.where.folder == utf8(fs::current_path()));
    CHECK(counted.where.nearMiss == "engl.voc.txt");

    // Asked to open a file, as "Open with" asks: engl.voc by any case, from its own folder, or
    // nothing at all.
    write(scratch.dir / "Engl.Voc");
    fs::current_path(scratch.started);
    const auto opened = [&](const fs::path& path, OpenStatus status, std::int64_t entries,
                            const fs::path& in) {
        INFO(utf8(path));
        const auto result = dictionary::countEntries(dictionary::openerFor(utf8(path)));
        CHECK((result.status == status && result.entries == entries && fs::current_path() == in));
        fs::current_path(scratch.started);
        return result.where.nearMiss;
    };
    CHECK(opened(scratch.dir / "Engl.Voc", OpenStatus::Ok, 2, scratch.dir).empty());
    CHECK(opened(scratch.dir / "engl.voc.txt", OpenStatus::NotDictionary, 0, scratch.started) ==
          "engl.voc.txt");
    CHECK(
        opened(scratch.dir / "gone" / "engl.voc", OpenStatus::Missing, 0, scratch.started).empty());
}
#endif
