#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <QTest>

#include "Fakes.h"
#include "dictionary/Count.h"
#include "dictionary/Lines.h"

using dictionary::Encoding;
using dictionary::OpenStatus;

namespace {

constexpr std::size_t kChunk = 1 << 16;  // the reader's chunk
const QByteArray kBom = "\xEF\xBB\xBF";
const QByteArray kFiller(kChunk - 1, 'a');

// A file and the words it gives, decoded: "English|Russian" for each line, joined by line feeds.
void row(const char* name, const QByteArray& file, const QString& entries) {
    QTest::newRow(name) << file << entries;
}

// Puts at `path` a "folder", a named pipe without a writer ("fifo") or a link to the zero device.
bool makeSpecialFile(const QString& kind, const std::string& path) {
    return kind == "folder" ? ::mkdir(path.c_str(), 0755) == 0
           : kind == "fifo" ? ::mkfifo(path.c_str(), 0644) == 0
           : kind == "zero" ? ::symlink("/dev/zero", path.c_str()) == 0
                            : false;
}

}  // namespace

class DictionaryTest : public QObject {
    Q_OBJECT

private slots:
    void reading_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("entries");

        row("empty file", "", "");
        row("last line without a line end", "a$b\r\nc$d", "a|b\nc|d");
        row("CR, LF and CR LF each end a line", "a$1\rb$2\nc$3\r\nd$4", "a|1\nb|2\nc|3\nd|4");
        row("CR CR LF is two line ends", "a\r\r\n", "a|\n|");
        row("LF CR is two line ends", "a\n\rb", "a|\n|\nb|");
        row("empty lines are entries", "\r\n\r\n$\r\n", "|\n|\n|");
        row("CR LF split across reads", kFiller + "\r\nb$c", kFiller + "|\nb|c");
        row("split at the first $", "a$b$c", "a|b$c");
        row("$ first", "$rest", "|rest");
        row("$ last", "word$", "word|");
        row("blanks kept", " a $ b ", " a | b ");
        row("line without a separator is all English", "plain\r\nx$y", "plain|\nx|y");
        row("a tab where there is no $", "house\tдом\r\n\tx\ty", "house|дом\n|x\ty");
        row("$ before a tab", "a\tb$c\td", "a\tb|c\td");
        row("$ beyond 16-bit positions", QByteArray(40000, 'x') + "$y", QString(40000, 'x') + "|y");
        row("more lines than 16 bits count", QByteArray("w$s\r\n").repeated(40000),
            QString("w|s\n").repeated(40000).chopped(1));
        row("NUL bytes are text", QByteArray("\0$\0\r\n\0", 6), QString::fromUtf8("\0|\0\n\0|", 6));
        row("final Ctrl-Z dropped", "a$b\x1A", "a|b");
        row("final Ctrl-Z after a line end", "a$b\r\n\x1A", "a|b");
        row("Ctrl-Z before the last is text", "a$\x1A\x1A", "a|\x1A");
        // One encoding for the whole file: UTF-8 after a byte-order mark, or when it holds valid
        // non-ASCII UTF-8 with fewer than one stray byte per hundred letters; else Windows-1251.
        row("Windows-1251", "house$\xE4\xEE\xEC\r\n\xA8\xB8$x", "house|дом\nЁё|x");
        row("byte 1251 leaves undefined", "a$\x98", "a|\uFFFD");
        row("UTF-8", "house$дом", "house|дом");
        row("UTF-8 letter split across reads", kFiller + "д$x", kFiller + "д|x");
        row("byte-order mark is not text", kBom + "a$b", "a|b");
        row("byte-order mark before bad bytes", kBom + "д$\xFF\xD0", "д|\uFFFD\uFFFD");
        row("UTF-8 with one 1251 byte", "a$д\r\nb$\xE1", "a|Рґ\nb|б");
        const QByteArray letters = QByteArray("д").repeated(200);
        row("UTF-8 with under 1 % stray bytes", "a$" + letters + "д\nb$\xE1\xE1",
            "a|" + QString("д").repeated(201) + "\nb|\uFFFD\uFFFD");
        row("UTF-8 letters after the first read", "\xE1$" + kFiller + letters,
            "\uFFFD|" + kFiller + QString("д").repeated(200));
        row("1 % stray bytes is not UTF-8", "a$" + letters + "\n$\xE1\xE1",
            "a|" + QString("Рґ").repeated(200) + "\n|бб");
        row("UTF-8 cut short", "a$\xD0", "a|Р");
        row("past U+10FFFF is not UTF-8", "$\xF4\x90\x80\x80", "|фђЂЂ");
    }

    // Counting, then loading more than every line: the lists' element 0 and past N are empty.
    void reading() {
        QFETCH(QByteArray, file);
        QFETCH(QString, entries);
        const QStringList expected = entries.isEmpty() ? QStringList() : entries.split('\n');
        const auto size = static_cast<std::size_t>(expected.size());
        const dictionary::SourceOpener open = memoryOpener(file.toStdString());
        const dictionary::CountResult counted = dictionary::countEntries(open);
        QCOMPARE(counted.entries, expected.size());
        QCOMPARE(counted.hasSeparator, file.contains('$') || file.contains('\t'));

        const auto lines = std::make_shared<const dictionary::Lines>(
            dictionary::loadEntries(open, counted.entries + 5, counted.encoding).lines);
        const dictionary::WordList english(lines, dictionary::WordList::Part::English);
        const dictionary::WordList russian(lines, dictionary::WordList::Part::Russian);
        QCOMPARE(english.size(), size + 1);
        for (std::size_t i = 0; i <= size + 1; ++i) {
            // As bytes: a QString would hide a byte-order mark left in the text.
            QCOMPARE(QByteArray::fromStdString(english.text(i) + "|" + russian.text(i)),
                     i == 0 || i > size ? "|" : expected[qsizetype(i) - 1].toUtf8());
        }
    }

    void linesAfterNAreNotRead() {
        // Reading the rest would fail; loading the first two lines never gets there.
        const std::string file = numberedEntries(3) + std::string(4 * kChunk, 'z');
        const auto loaded =
            dictionary::loadEntries(memoryOpener(file, 2 * kChunk), 2, Encoding::Windows1251);
        QCOMPARE(loaded.status, OpenStatus::Ok);
        QCOMPARE(loaded.lines.count(), std::size_t(2));
        QCOMPARE(loaded.lines.raw(2), "en2$ru2");
    }

    // Only the front of a long word is decoded, and never half a letter.
    void wordsAreCutWhole() {
        QCOMPARE(dictionary::toUtf8("\xE4\xEE\xEC", Encoding::Windows1251, 2), "до");
        QCOMPARE(dictionary::toUtf8("дом", Encoding::Utf8, 3), "д");
        QCOMPARE(dictionary::toUtf8("дом", Encoding::Utf8, 4), "до");
    }

    // What a user might have named "engl.voc": no file, a folder, a named pipe without a
    // writer, a link to the endless zero device, a file whose reading fails, a plain file.
    void files_data() {
        QTest::addColumn<OpenStatus>("status");
        QTest::newRow("absent") << OpenStatus::Missing;
        QTest::newRow("folder") << OpenStatus::NotRegularFile;
        QTest::newRow("fifo") << OpenStatus::NotRegularFile;
        QTest::newRow("zero") << OpenStatus::NotRegularFile;
        QTest::newRow("read error") << OpenStatus::ReadError;
        QTest::newRow("no permission") << OpenStatus::NoPermission;
        QTest::newRow("file") << OpenStatus::Ok;
    }

    // Nothing blocks, and both passes read a file or say why they could not.
    void files() {
        const QString kind = QTest::currentDataTag();
        QTemporaryDir dir;
        const std::string path = dir.filePath("engl.voc").toStdString();
        QFile file(QString::fromStdString(path));
        QVERIFY(kind == "absent" || kind == "read error" || makeSpecialFile(kind, path) ||
                (file.open(QIODevice::WriteOnly) && file.write("a$1\r\nb$2\r\n") == 10));
        file.close();
        // Root may read any file, so the passes run as nobody then.
        const bool asNobody =
            kind == "no permission" && ::chmod(path.c_str(), 0) == 0 && ::geteuid() == 0;
        QVERIFY(!asNobody || ::seteuid(65534) == 0);
        const dictionary::SourceOpener open =
            kind == "read error" ? memoryOpener(std::string(3 * kChunk, 'x'), kChunk + 5)
                                 : dictionary::fileOpener(path);
        const dictionary::CountResult counted = dictionary::countEntries(open);
        const dictionary::LoadResult loaded = dictionary::loadEntries(open, 10, counted.encoding);
        QVERIFY(!asNobody || ::seteuid(0) == 0);
        QTEST(counted.status, "status");
        QCOMPARE(counted.entries, kind == "file" ? 2 : 0);
        QTEST(loaded.status, "status");
        QCOMPARE(loaded.lines.russian(2), kind == "file" ? "2" : "");
    }
};

QTEST_GUILESS_MAIN(DictionaryTest)
#include "dictionary_test.moc"
