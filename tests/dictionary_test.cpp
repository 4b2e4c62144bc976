#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <QTest>
#include <string>

#include "SpecialFiles.h"
#include "TestSources.h"
#include "dictionary/Count.h"
#include "dictionary/Encoding.h"
#include "dictionary/Lines.h"

using dictionary::Encoding;
using dictionary::OpenStatus;

namespace {

constexpr std::size_t kChunk = 1 << 16;

std::string bytes(const QByteArray& data) {
    return std::string(data.constData(), data.size());
}

QByteArray view(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

class DictionaryTest : public QObject {
    Q_OBJECT

private slots:
    void counting_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<qint64>("entries");
        QTest::addColumn<bool>("hasSeparator");
        QTest::addColumn<bool>("utf8");

        QTest::newRow("empty file") << QByteArray() << 0LL << false << false;
        QTest::newRow("last line without a line end")
            << QByteArray("a$b\r\nc$d") << 2LL << true << false;
        QTest::newRow("line end at the end adds no entry")
            << QByteArray("a$b\r\nc$d\r\n") << 2LL << true << false;
        QTest::newRow("lone LF") << QByteArray("a$b\nc$d\n") << 2LL << true << false;
        QTest::newRow("lone CR") << QByteArray("a$b\rc$d\r") << 2LL << true << false;
        QTest::newRow("mixed line ends") << QByteArray("a\r\nb\nc\rd") << 4LL << false << false;
        QTest::newRow("CR CR LF is two line ends")
            << QByteArray("a\r\r\n") << 2LL << false << false;
        QTest::newRow("LF CR is two line ends") << QByteArray("a\n\rb") << 3LL << false << false;
        QTest::newRow("empty lines are entries")
            << QByteArray("\r\n\r\n$\r\n") << 3LL << true << false;
        QTest::newRow("byte-order mark alone")
            << QByteArray("\xEF\xBB\xBF") << 0LL << false << true;
        QTest::newRow("byte-order mark then ASCII") << QByteArray(
                                                           "\xEF\xBB\xBF"
                                                           "a$b")
                                                    << 1LL << true << true;
        QTest::newRow("final Ctrl-Z after a line end")
            << QByteArray("a$b\r\n\x1A") << 1LL << true << false;
        QTest::newRow("final Ctrl-Z ends the last line")
            << QByteArray("a$b\x1A") << 1LL << true << false;
        QTest::newRow("Ctrl-Z alone") << QByteArray("\x1A") << 0LL << false << false;
        QTest::newRow("Ctrl-Z before the last is text")
            << QByteArray("a\r\n\x1A\x1A") << 2LL << false << false;
        QTest::newRow("NUL bytes are text") << QByteArray("\0$\0\r\n\0", 6) << 2LL << true << false;
        QTest::newRow("Windows-1251 Cyrillic")
            << QByteArray("house$\xE4\xEE\xEC\r\n") << 1LL << true << false;
        QTest::newRow("UTF-8 Cyrillic") << QByteArray("house$дом\r\n") << 1LL << true << true;
        QTest::newRow("ASCII only stays 1251") << QByteArray("a$b") << 1LL << true << false;
        QTest::newRow("UTF-8 with one stray 1251 byte")
            << QByteArray("house$дом\r\nbig$\xE1") << 2LL << true << false;
        QTest::newRow("UTF-8 cut short at the end")
            << QByteArray("house$\xD0") << 1LL << true << false;
        QTest::newRow("UTF-8 past U+10FFFF is not UTF-8")
            << QByteArray("a$\xF4\x90\x80\x80") << 1LL << true << false;
        QTest::newRow("old 5-byte form is not UTF-8")
            << QByteArray("a$\xF8\x88\x80\x80\x80") << 1LL << true << false;
        QTest::newRow("byte-order mark decides even before bad bytes") << QByteArray(
                                                                              "\xEF\xBB\xBF"
                                                                              "a$\xFF")
                                                                       << 1LL << true << true;
        QTest::newRow("UTF-8 surrogate is not UTF-8")
            << QByteArray("a$\xED\xA0\x80") << 1LL << true << false;
        QTest::newRow("no line holds $") << QByteArray("one\r\ntwo") << 2LL << false << false;

        const QByteArray filler(kChunk - 1, 'a');
        QTest::newRow("CR LF split across reads") << filler + "\r\nb$c" << 2LL << true << false;
        QTest::newRow("UTF-8 letter split across reads") << filler + "д$x" << 1LL << true << true;
        QByteArray many;
        for (int i = 0; i < 40000; ++i) {
            many += "w$s\r\n";
        }
        QTest::newRow("more lines than 16 bits count") << many << 40000LL << true << false;
    }

    void counting() {
        QFETCH(QByteArray, file);
        const dictionary::CountResult counted = dictionary::countEntries(memoryOpener(bytes(file)));
        QCOMPARE(counted.status, OpenStatus::Ok);
        QTEST(qint64(counted.entries), "entries");
        QTEST(counted.hasSeparator, "hasSeparator");
        QTEST(counted.encoding == Encoding::Utf8, "utf8");
    }

    void loading_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<qint64>("n");
        // Each entry as raw line, English part and Russian part, joined by '|'.
        QTest::addColumn<QList<QByteArray>>("entries");

        using L = QList<QByteArray>;
        QTest::newRow("split at the first $") << QByteArray("a$b$c") << 1LL << L{"a$b$c|a|b$c"};
        QTest::newRow("$ first") << QByteArray("$rest") << 1LL << L{"$rest||rest"};
        QTest::newRow("$ last") << QByteArray("word$") << 1LL << L{"word$|word|"};
        QTest::newRow("blanks kept on both sides")
            << QByteArray(" a $ b ") << 1LL << L{" a $ b | a | b "};
        QTest::newRow("line without $ is all English")
            << QByteArray("plain\r\nx$y") << 2LL << L{"plain|plain|", "x$y|x|y"};
        QTest::newRow("n below the line count")
            << QByteArray("a$1\r\nb$2\r\nc$3") << 2LL << L{"a$1|a|1", "b$2|b|2"};
        QTest::newRow("n above the line count")
            << QByteArray("a$1\r\nb$2") << 5LL << L{"a$1|a|1", "b$2|b|2"};
        QTest::newRow("line end at the end adds no entry")
            << QByteArray("a$1\r\n") << 5LL << L{"a$1|a|1"};
        QTest::newRow("empty lines kept")
            << QByteArray("\r\n\na$1\r") << 3LL << L{"||", "||", "a$1|a|1"};
        QTest::newRow("all line ends") << QByteArray("a$1\rb$2\nc$3\r\nd$4") << 4LL
                                       << L{"a$1|a|1", "b$2|b|2", "c$3|c|3", "d$4|d|4"};
        QTest::newRow("byte-order mark is not text") << QByteArray(
                                                            "\xEF\xBB\xBF"
                                                            "a$b")
                                                     << 1LL << L{"a$b|a|b"};
        QTest::newRow("final Ctrl-Z dropped") << QByteArray("a$b\x1A") << 1LL << L{"a$b|a|b"};
        QTest::newRow("Ctrl-Z inside kept") << QByteArray(
                                                   "a$\x1A"
                                                   "b\r\n")
                                            << 1LL
                                            << L{"a$\x1A"
                                                 "b|a|\x1A"
                                                 "b"};
        const QByteArray filler(kChunk - 1, 'a');
        QTest::newRow("CR LF split across reads")
            << filler + "\r\nb$c" << 2LL << L{filler + "|" + filler + "|", "b$c|b|c"};
        const QByteArray farOut(40000, 'x');
        QTest::newRow("$ beyond 16-bit positions")
            << farOut + "$y" << 1LL << L{farOut + "$y|" + farOut + "|y"};
    }

    void loading() {
        QFETCH(QByteArray, file);
        QFETCH(qint64, n);
        QFETCH(QList<QByteArray>, entries);
        const dictionary::LoadResult loaded =
            dictionary::loadEntries(memoryOpener(bytes(file)), n, Encoding::Windows1251);
        QCOMPARE(loaded.status, OpenStatus::Ok);
        QCOMPARE(loaded.lines.count(), std::size_t(entries.size()));
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const auto k = static_cast<std::size_t>(i + 1);
            const QByteArray got = view(loaded.lines.raw(k)) + "|" + view(loaded.lines.english(k)) +
                                   "|" + view(loaded.lines.russian(k));
            QCOMPARE(got, entries[i]);
        }
        const std::size_t past = loaded.lines.count() + 1;
        for (std::size_t outside : {std::size_t{0}, past}) {
            QVERIFY(loaded.lines.raw(outside).empty());
            QVERIFY(loaded.lines.english(outside).empty());
            QVERIFY(loaded.lines.russian(outside).empty());
        }
    }

    void listsHaveElementZero() {
        const auto lines = std::make_shared<const dictionary::Lines>(
            dictionary::loadEntries(memoryOpener("a$1\r\nb$2"), 2, Encoding::Windows1251).lines);
        const dictionary::WordList russian(lines, dictionary::WordList::Part::Russian);
        QCOMPARE(russian.size(), std::size_t(3));
        QCOMPARE(russian[0], std::string_view());
        QCOMPARE(russian[2], std::string_view("2"));
        QCOMPARE(dictionary::WordList().size(), std::size_t(0));
    }

    void runningOutOfMemoryIsReported() {
        const dictionary::LoadResult loaded =
            dictionary::loadEntries(exhaustingOpener(), 10, Encoding::Windows1251);
        QCOMPARE(loaded.status, OpenStatus::OutOfMemory);
        QCOMPARE(loaded.lines.count(), std::size_t(0));
    }

    void linesAfterNAreNotRead() {
        // A read of the second half would fail; loading the first line never gets there.
        std::string file = "a$1\r\n" + std::string(4 * kChunk, 'z');
        const dictionary::LoadResult loaded =
            dictionary::loadEntries(memoryOpener(file, 2 * kChunk), 1, Encoding::Windows1251);
        QCOMPARE(loaded.status, OpenStatus::Ok);
        QCOMPARE(loaded.lines.count(), std::size_t(1));
    }

    void decoding_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf8");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxBytes");

        QTest::newRow("1251 Cyrillic") << QByteArray("\xE4\xEE\xEC") << false << "дом" << -1;
        QTest::newRow("1251 yo") << QByteArray("\xA8\xB8") << false << "Ёё" << -1;
        QTest::newRow("1251 undefined byte") << QByteArray(
                                                    "a\x98"
                                                    "b")
                                             << false << "a\uFFFDb" << -1;
        QTest::newRow("ASCII unchanged") << QByteArray("apple") << false << "apple" << -1;
        QTest::newRow("NUL kept") << QByteArray("a\0b", 3) << false << QString::fromUtf8("a\0b", 3)
                                  << -1;
        QTest::newRow("UTF-8 Cyrillic") << QByteArray("дом") << true << "дом" << -1;
        QTest::newRow("UTF-8 invalid byte") << QByteArray(
                                                   "д\xFF"
                                                   "x")
                                            << true << "д\uFFFDx" << -1;
        QTest::newRow("UTF-8 cut short") << QByteArray("x\xD0") << true << "x\uFFFD" << -1;
        QTest::newRow("1251 cut at a byte") << QByteArray("\xE4\xEE\xEC") << false << "до" << 2;
        QTest::newRow("UTF-8 never cut inside a letter") << QByteArray("дом") << true << "д" << 3;
        QTest::newRow("UTF-8 cut at a letter") << QByteArray("дом") << true << "до" << 4;
    }

    void decoding() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, utf8);
        QFETCH(int, maxBytes);
        const std::string text =
            dictionary::toUtf8(std::string_view(bytes.constData(), bytes.size()),
                               utf8 ? Encoding::Utf8 : Encoding::Windows1251,
                               maxBytes < 0 ? std::string_view::npos : std::size_t(maxBytes));
        QTEST(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), "text");
    }

    void failures_data() {
        QTest::addColumn<int>("opened");  // how opening fails, or Ok
        QTest::addColumn<qint64>("failAfter");
        QTest::addColumn<int>("status");

        QTest::newRow("missing") << int(OpenStatus::Missing) << -1LL << int(OpenStatus::Missing);
        QTest::newRow("no permission")
            << int(OpenStatus::NoPermission) << -1LL << int(OpenStatus::NoPermission);
        QTest::newRow("read error at the start")
            << int(OpenStatus::Ok) << 0LL << int(OpenStatus::ReadError);
        QTest::newRow("read error in the middle")
            << int(OpenStatus::Ok) << qint64(kChunk + 5) << int(OpenStatus::ReadError);
    }

    void failures() {
        QFETCH(int, opened);
        QFETCH(qint64, failAfter);
        QFETCH(int, status);
        const std::string file(3 * kChunk, 'x');
        const dictionary::SourceOpener open =
            opened == int(OpenStatus::Ok) ? memoryOpener(file, static_cast<std::size_t>(failAfter))
                                          : failingOpener(OpenStatus(opened));
        const dictionary::CountResult counted = dictionary::countEntries(open);
        QCOMPARE(int(counted.status), status);
        QCOMPARE(counted.entries, 0);
        const dictionary::LoadResult loaded =
            dictionary::loadEntries(open, 10, Encoding::Windows1251);
        QCOMPARE(int(loaded.status), status);
        QCOMPARE(loaded.lines.count(), std::size_t(0));
    }

    void files_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("status");

        QTest::newRow("absent") << "absent" << int(OpenStatus::Missing);
        QTest::newRow("folder") << "folder" << int(OpenStatus::NotRegularFile);
        QTest::newRow("named pipe without a writer") << "fifo" << int(OpenStatus::NotRegularFile);
        QTest::newRow("link to the zero device") << "zero" << int(OpenStatus::NotRegularFile);
        QTest::newRow("regular file") << "file" << int(OpenStatus::Ok);
    }

    void files() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const std::string path = dir.filePath("engl.voc").toStdString();
        if (kind == "folder" || kind == "fifo" || kind == "zero") {
            QVERIFY(makeSpecialFile(kind, path));
        } else if (kind == "file") {
            QFile file(QString::fromStdString(path));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("a$1\r\nb$2\r\n");
        }
        struct stat before {};
        ::stat(path.c_str(), &before);
        const dictionary::CountResult counted =
            dictionary::countEntries(dictionary::fileOpener(path));
        QTEST(int(counted.status), "status");
        if (kind == "file") {
            QCOMPARE(counted.entries, 2);
            const dictionary::LoadResult loaded =
                dictionary::loadEntries(dictionary::fileOpener(path), 2, Encoding::Windows1251);
            QCOMPARE(loaded.lines.russian(2), std::string_view("2"));
            struct stat after {};
            ::stat(path.c_str(), &after);
            QCOMPARE(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
            QCOMPARE(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
            QCOMPARE(after.st_size, before.st_size);
        }
    }
};

QTEST_GUILESS_MAIN(DictionaryTest)
#include "dictionary_test.moc"
