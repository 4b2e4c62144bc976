// Every kind of bad "engl.voc" and bad range text, met by the whole window: nothing crashes,
// nothing blocks, the user is told what to do, and the file is left as it was.
#include <sys/stat.h>
#include <unistd.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>
#include <random>

#include "DrillFakes.h"
#include "SpecialFiles.h"
#include "TestSources.h"
#include "ui/Form1.h"

using namespace std::chrono_literals;

namespace {

std::string randomBytes(std::size_t size) {
    std::mt19937 generator(20031205);
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(generator() % 256);
    }
    return bytes;
}

bool write(const std::string& path, const std::string& bytes) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

// A file's bytes and modification time, to show that reading changed neither.
struct Snapshot {
    explicit Snapshot(const std::string& path) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            return;
        }
        modified = info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec;
        QFile file(QString::fromStdString(path));
        if (file.open(QIODevice::ReadOnly)) {
            bytes = file.readAll();
        }
    }
    bool operator==(const Snapshot&) const = default;
    qint64 modified = -1;
    QByteArray bytes;
};

}  // namespace

class BadInputTest : public QObject {
    Q_OBJECT

private slots:
    void badInput_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("rangeText");  // typed before the first click
        QTest::addColumn<bool>("usable");        // the window can start a drill
        QTest::addColumn<QString>("usedRange");  // what the range field shows then, if known

        QTest::newRow("no file") << "missing"
                                 << "" << false << "";
        QTest::newRow("a folder") << "folder"
                                  << "" << false << "";
        QTest::newRow("a named pipe") << "fifo"
                                      << "" << false << "";
        QTest::newRow("a link to the zero device") << "zero"
                                                   << "" << false << "";
        QTest::newRow("empty file") << "empty"
                                    << "" << false << "";
        QTest::newRow("only empty lines") << "blank"
                                          << "" << false << "";
        QTest::newRow("lines without $") << "nodollar"
                                         << "" << false << "";
        QTest::newRow("NUL bytes and random binary") << "binary"
                                                     << "" << true << "";
        QTest::newRow("invalid UTF-8 mixed with 1251") << "mixed"
                                                       << "" << true << "3";
        QTest::newRow("one 20 MB line") << "hugeline"
                                        << "" << true << "1";
        QTest::newRow("1,000,000 lines") << "million"
                                         << "" << true << "1000000";
        QTest::newRow("lines lost before the click") << "shrinks"
                                                     << "" << true << "2";
        QTest::newRow("emptied before the click") << "emptied"
                                                  << "" << false << "";
        QTest::newRow("range text is words") << "ten"
                                             << "десять" << true << "10";
        QTest::newRow("range 0") << "ten"
                                 << "0" << true << "1";
        QTest::newRow("range negative") << "ten"
                                        << "-7" << true << "1";
        QTest::newRow("range beyond the file") << "ten"
                                               << "123456789012" << true << "10";
    }

    void badInput() {
        QFETCH(QString, kind);
        QFETCH(QString, rangeText);
        QFETCH(bool, usable);
        QTemporaryDir dir;
        const std::string path = dir.filePath("engl.voc").toStdString();
        if (kind == "folder" || kind == "fifo" || kind == "zero") {
            QVERIFY(makeSpecialFile(kind, path));
        } else if (kind != "missing") {
            const std::map<QString, std::function<std::string()>> contents = {
                {"empty", [] { return std::string(); }},
                {"blank", [] { return std::string("\r\n\r\n\r\n"); }},
                {"nodollar", [] { return std::string("apple\r\nbook\r\n"); }},
                {"binary", [] { return randomBytes(1 << 16) + std::string("\0$\0\r\n", 5); }},
                {"mixed",
                 [] { return std::string("дом$house\r\n\xE4\xEE\xEC$house\r\n\xFF\xFE$x"); }},
                {"hugeline",
                 [] { return std::string(20 << 20, 'w') + "$" + std::string(100, 'v'); }},
                {"million", [] { return numberedEntries(1'000'000); }},
                {"shrinks", [] { return numberedEntries(10); }},
                {"emptied", [] { return numberedEntries(10); }},
                {"ten", [] { return numberedEntries(10); }},
            };
            QVERIFY(write(path, contents.at(kind)()));
        }

        // Nothing blocks: the event loop goes on serving queued calls.
        const auto checkServed = [] {
            bool served = false;
            QTimer::singleShot(0, [&served] { served = true; });
            QTRY_VERIFY(served);
        };
        Snapshot before(path);
        ManualClock clock;
        ScriptedRandom random;
        random.queue({0.999999});
        ui::Form1 form(dictionary::fileOpener(path), &clock, &random);
        form.show();
        checkServed();
        QCOMPARE(Snapshot(path), before);

        if (kind == "shrinks") {
            QVERIFY(write(path, numberedEntries(2)));
        } else if (kind == "emptied") {
            QVERIFY(write(path, ""));
        }
        before = Snapshot(path);
        auto* start = form.findChild<QPushButton*>("Command1");
        auto* question = form.findChild<QLabel*>("Label2");
        auto* answer = form.findChild<QLabel*>("Label3");
        auto* range = form.findChild<QLineEdit*>("Text7");
        if (!rangeText.isEmpty()) {
            range->setText(rangeText);
        }
        if (start->isEnabled()) {
            QTest::mouseClick(start, Qt::LeftButton);
        }
        checkServed();
        QCOMPARE(form.drillState().Loaded, usable);
        if (usable) {
            QFETCH(QString, usedRange);
            if (!usedRange.isEmpty()) {
                QCOMPARE(range->text(), usedRange);
            }
            const std::int64_t index = form.drillState().WordIndex.value();
            QVERIFY(index >= 1 && index <= *form.drillState().RangeSize);
            clock.advance(1s);
            auto* timer = form.findChild<QTimer*>("cardTimer");
            QSignalSpy fired(timer, &QTimer::timeout);
            timer->start(0);
            QVERIFY(fired.wait());
            QCOMPARE(form.findChild<QLineEdit*>("Text5")->text(), QStringLiteral("1"));
            QVERIFY(answer->text().size() <= 1000 && question->text().size() <= 1000);
        } else {
            // The user is told what is wrong and what to do.
            QVERIFY(question->text().contains(QStringLiteral("engl.voc")));
            QVERIFY(!answer->text().isEmpty());
            QVERIFY(!form.drillState().WordIndex);
        }
        QVERIFY(form.close());
        QCOMPARE(Snapshot(path), before);
    }
};

QTEST_MAIN(BadInputTest)
#include "bad_input_test.moc"
