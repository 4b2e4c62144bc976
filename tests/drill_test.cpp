#include <QTest>
#include <set>

#include "Fakes.h"
#include "drill/DrillEngine.h"
#include "drill/RangeSize.h"

using namespace std::chrono_literals;
using design::Problem;
using dictionary::OpenStatus;
using drill::Direction;
using Shown = std::vector<std::string>;

Q_DECLARE_METATYPE(dictionary::SourceOpener)
Q_DECLARE_METATYPE(Shown)

namespace {

// An engine over a dictionary, by default "en1$ru1" to "en10$ru10", started up as the window
// does when it is first shown.
struct Rig {
    explicit Rig(std::vector<double> draws = {},
                 dictionary::SourceOpener open = memoryOpener(numberedEntries(10)))
        : engine(std::move(open), clock, random, frontend) {
        random.values = std::move(draws);
        engine.activate();
    }
    // Moves the clock on and lets the engine catch up; returns what it showed meanwhile.
    Shown after(std::chrono::milliseconds step) {
        clock.advance(step);
        engine.advance();
        return frontend.take();
    }
    Shown start(Direction direction) {
        engine.start(direction);
        return frontend.take();
    }
    ManualClock clock;
    ScriptedRandom random;
    RecordingFrontend frontend;
    drill::DrillEngine engine;
};

// The two bands saying what is wrong and what to do.
Shown said(Problem problem) {
    const design::Message message = design::message(problem);
    return {"Label2=" + std::string(message.problem), "Label3=" + std::string(message.remedy)};
}

Shown operator+(Shown a, const Shown& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Shown kCannotStart = {"HScroll3=0..0@0", "Text7=0", "HScroll3 off", "Command1 off",
                            "Command2 off"};

}  // namespace

class DrillTest : public QObject {
    Q_OBJECT

private slots:
    // Start-up: the interval field, the range bar and field set to the count, or why no run
    // can start, with the range bar and both direction buttons off.
    void startUp_data() {
        QTest::addColumn<dictionary::SourceOpener>("open");
        QTest::addColumn<Shown>("shown");
        const auto row = [](const char* name, dictionary::SourceOpener open, Shown shown) {
            QTest::newRow(name) << open << (Shown{"Text4=2"} + shown);
        };
        row("1,234 entries", memoryOpener(numberedEntries(1234)),
            {"HScroll3=100..1234@1234", "Text7=1234"});
        row("fewer than the bar's minimum", memoryOpener("a$b"), {"HScroll3=1..1@1", "Text7=1"});
        row("missing", failingOpener(OpenStatus::Missing), kCannotStart + said(Problem::Missing));
        row("not a file", failingOpener(OpenStatus::NotRegularFile),
            kCannotStart + said(Problem::NotRegularFile));
        row("no permission", failingOpener(OpenStatus::NoPermission),
            kCannotStart + said(Problem::NoPermission));
        row("busy", failingOpener(OpenStatus::Busy), kCannotStart + said(Problem::Busy));
        row("read error", failingOpener(OpenStatus::ReadError),
            kCannotStart + said(Problem::ReadError));
        row("empty", memoryOpener(""), kCannotStart + said(Problem::Empty));
        row("empty lines", memoryOpener("\r\n\r\n"), kCannotStart + said(Problem::NoPairs));
        row("no separator", memoryOpener("one\r\ntwo"), kCannotStart + said(Problem::NoPairs));
    }
    void startUp() {
        QFETCH(dictionary::SourceOpener, open);
        Rig rig({}, open);
        QTEST(rig.frontend.take(), "shown");
        QCOMPARE(rig.engine.state().SeqNo, 1);
    }

    // What goes wrong only at the first click is said, and the next click tries again.
    void startFails_data() {
        QTest::addColumn<dictionary::SourceOpener>("atClick");
        QTest::addColumn<Shown>("shown");
        QTest::newRow("out of memory") << exhaustingOpener() << said(Problem::OutOfMemory);
        QTest::newRow("emptied") << memoryOpener("") << said(Problem::Emptied);
        QTest::newRow("busy") << failingOpener(OpenStatus::Busy) << said(Problem::Busy);
    }
    void startFails() {
        QFETCH(dictionary::SourceOpener, atClick);
        QFETCH(Shown, shown);
        int pass = 0;
        const dictionary::SourceOpener works = memoryOpener(numberedEntries(10));
        Rig rig({}, [&] { return ++pass == 2 ? atClick() : works(); });
        rig.frontend.take();
        QCOMPARE(rig.start(Direction::EnglishFirst),
                 Shown{"HScroll3 off"} + shown + Shown{"wake none"});
        rig.engine.typeRange("5");
        QCOMPARE(rig.start(Direction::EnglishFirst),
                 (Shown{"HScroll3 off", "Text7=5", "Text3=1", "Text5=1", "Label2=en1",
                        "Label3=", "wake@1000"}));
    }

    // The dictionary number first, then the running number and the question; the answer at
    // half the interval and the next card at the whole of it, both from the draw, and nothing
    // a millisecond before.
    void cardTiming() {
        Rig rig({0.45, 0.05});
        rig.frontend.take();
        rig.engine.setInterval(10);
        QCOMPARE(rig.frontend.take(), (Shown{"Text4=10", "wake none"}));
        QCOMPARE(rig.start(Direction::EnglishFirst),
                 (Shown{"HScroll3 off", "Text7=10", "Text3=5", "Text5=1", "Label2=en5",
                        "Label3=", "wake@5000"}));
        QCOMPARE(rig.after(4999ms), Shown{"wake@5000"});
        QCOMPARE(rig.after(1ms), (Shown{"Label3=ru5", "wake@10000"}));
        QCOMPARE(rig.after(4999ms), Shown{"wake@10000"});
        QCOMPARE(rig.after(1ms),
                 (Shown{"Text3=1", "Text5=2", "Label2=en1", "Label3=", "wake@15000"}));
        QCOMPARE(*rig.engine.state().StartTime, rig.clock.start() + 10s);
        // The timer's wait is rounded up, so it never fires before the card is due.
        rig.clock.advance(1500us);
        QCOMPARE(rig.engine.waitUntil(rig.clock.start() + 15s), 4999ms);
        QCOMPARE(rig.engine.waitUntil(rig.clock.start()), 0ms);
        // The running number is not held in 16 bits.
        for (int card = 2; card <= 40000; ++card) {
            rig.after(10s);
        }
        QCOMPARE(rig.engine.state().SeqNo, 40001);
    }

    // Moving the interval from 10 to 2 three seconds after the draw shows the answer and the
    // next card at once; a restart abandons the card shown and keeps its running number.
    void intervalAndRestart() {
        Rig rig({0.0, 0.5, 0.9});
        rig.engine.setInterval(10);
        rig.start(Direction::EnglishFirst);
        rig.clock.advance(3s);
        rig.frontend.take();
        rig.engine.setInterval(2);
        QCOMPARE(rig.frontend.take(), (Shown{"Text4=2", "Label3=ru1", "Text3=6", "Text5=2",
                                             "Label2=en6", "Label3=", "wake@4000"}));
        QCOMPARE(rig.start(Direction::RussianFirst),
                 (Shown{"HScroll3 off", "Text7=10", "Text3=10", "Text5=2", "Label2=ru10",
                        "Label3=", "wake@4000"}));
        QCOMPARE(rig.after(1s), (Shown{"Label3=en10", "wake@5000"}));
    }

    // The About box holds the card; when it closes the card catches up against the same draw.
    void holdAndCatchUp() {
        Rig rig({0.0, 0.5});
        rig.start(Direction::EnglishFirst);
        rig.engine.hold();
        QCOMPARE(rig.frontend.take(), Shown{"wake none"});
        QCOMPARE(rig.after(3s),
                 (Shown{"Label3=ru1", "Text3=6", "Text5=2", "Label2=en6", "Label3=", "wake@4000"}));
    }

    // The range asked for by the bar or by typing; the lists hold the first range asked for,
    // and later clicks cannot pass them. A generator that returns 1 still draws inside the
    // range, and the same draw again repeats the card.
    void rangeInUse() {
        Rig rig({1.0});
        rig.engine.moveRangeBar(4);
        QCOMPARE(rig.frontend.take(),
                 (Shown{"Text4=2", "HScroll3=10..10@10", "Text7=10", "Text7=4"}));
        rig.start(Direction::EnglishFirst);
        QCOMPARE(rig.engine.state().WordIndex, 4);
        rig.after(2s);
        QCOMPARE(rig.engine.state().WordIndex, 4);
        QCOMPARE(rig.engine.state().SeqNo, 2);
        QCOMPARE(rig.engine.state().EnglishWords.size(), std::size_t(5));
        QCOMPARE(rig.engine.state().RawLines[4], "en4$ru4");
        rig.engine.typeRange("8");
        QCOMPARE(rig.start(Direction::RussianFirst).at(1), "Text7=4");
        rig.engine.typeRange("2");
        rig.start(Direction::RussianFirst);
        QCOMPARE(rig.engine.state().RangeSize, 2);
    }

    // A word of a megabyte is decoded only as far as a band can show it.
    void hugeWordsAreCut() {
        Rig rig({}, memoryOpener(std::string(1 << 20, 'w') + "$x"));
        rig.frontend.take();
        const Shown shown = rig.start(Direction::EnglishFirst);
        QCOMPARE(shown.at(4).size(), std::string("Label2=").size() + 4096);
    }

    // The range field's text made usable against 1,234 entries.
    void rangeFromText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("range");
        QTest::newRow("a whole number") << "600" << qint64(600);
        QTest::newRow("blanks around") << " 7 " << qint64(7);
        QTest::newRow("nothing: all") << "" << qint64(1234);
        QTest::newRow("no number: all") << "12abc" << qint64(1234);
        QTest::newRow("a fraction: its whole part") << "12.7" << qint64(12);
        QTest::newRow("a decimal comma") << "12,7" << qint64(12);
        QTest::newRow("below one: one") << "0.5" << qint64(1);
        QTest::newRow("negative") << "-5" << qint64(1);
        QTest::newRow("too close to zero") << "1e-400" << qint64(1);
        QTest::newRow("above the entries: all") << "5000" << qint64(1234);
        QTest::newRow("too large") << "1e400" << qint64(1234);
        QTest::newRow("not a number") << "nan" << qint64(1234);
    }
    void rangeFromText() {
        QFETCH(QString, text);
        QTEST(qint64(drill::rangeSizeFromText(text.toStdString(), 1234)), "range");
    }

    // The program's own draws: many different values, none outside [0, 1).
    void drawsStayBelowOne() {
        drill::ClockSeededRandom random;
        std::set<double> drawn;
        for (int i = 0; i < 100; ++i) {
            drawn.insert(random.next());
        }
        QVERIFY(drawn.size() > 50 && *drawn.begin() >= 0.0 && *drawn.rbegin() < 1.0);
    }
};

QTEST_GUILESS_MAIN(DrillTest)
#include "drill_test.moc"
