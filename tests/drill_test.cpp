#include <QTest>

#include "Fakes.h"
#include "drill/DrillEngine.h"
#include "drill/RangeSize.h"

using namespace std::chrono_literals;
using drill::Direction;
using Shown = std::vector<std::string>;

namespace {

// An engine over "en1$ru1" to "en10$ru10", started up as the window does at activation, that
// counts how often the dictionary is opened.
struct Rig {
    explicit Rig(std::vector<double> draws = {})
        : engine(
              [this] {
                  ++opens;
                  return memoryOpener(numberedEntries(10))();
              },
              clock, random, frontend) {
        random.values = std::move(draws);
        engine.activate();
    }
    // Moves the clock on and lets the engine catch up; returns what it showed meanwhile.
    Shown after(std::chrono::milliseconds step, int interval = 2) {
        clock.advance(step);
        engine.advance(interval);
        return frontend.take();
    }
    int opens = 0;
    ManualClock clock;
    ScriptedRandom random;
    RecordingFrontend frontend;
    drill::DrillEngine engine;
};

}  // namespace

class DrillTest : public QObject {
    Q_OBJECT

private slots:
    void cardTiming_data() {
        QTest::addColumn<int>("interval");
        QTest::newRow("2 s") << 2;
        QTest::newRow("10 s") << 10;
    }

    // The dictionary number first, then the running number and the question; the answer at
    // half the interval and the next card at the whole of it, both from the draw, and nothing
    // a millisecond before.
    void cardTiming() {
        QFETCH(int, interval);
        const auto half = std::chrono::milliseconds(interval * 500);
        Rig rig({0.45, 0.05});
        rig.engine.start(Direction::EnglishFirst, "10");
        QCOMPARE(rig.frontend.take(), (Shown{"Text3=5", "Text5=1", "Label2=en5", "Label3="}));
        QCOMPARE(*rig.engine.nextDue(interval), rig.clock.start() + half);
        QCOMPARE(rig.after(half - 1ms, interval), Shown{});
        QCOMPARE(rig.after(1ms, interval), Shown{"Label3=ru5"});
        QCOMPARE(*rig.engine.nextDue(interval), rig.clock.start() + 2 * half);
        QCOMPARE(rig.after(half - 1ms, interval), Shown{});
        QCOMPARE(rig.after(1ms, interval), (Shown{"Text3=1", "Text5=2", "Label2=en1", "Label3="}));
        QCOMPARE(*rig.engine.state().StartTime, rig.clock.start() + 2 * half);
    }

    // A direction click in the middle of a card drops it for good, keeps its running number,
    // and times the new card from its own draw.
    void restart() {
        Rig rig({0.0, 0.1, 0.2, 0.3});
        rig.engine.start(Direction::EnglishFirst, "10");
        rig.after(2s);
        rig.after(2s);
        rig.after(500ms);  // card 3 asks entry 3
        rig.engine.start(Direction::RussianFirst, "10");
        QCOMPARE(rig.frontend.take(), (Shown{"Text3=4", "Text5=3", "Label2=ru4", "Label3="}));
        QCOMPARE(rig.after(500ms), Shown{});
        QCOMPARE(rig.after(500ms), Shown{"Label3=en4"});
    }

    // The lists hold the first range asked for; later clicks keep them. A generator that
    // returns 1 still draws inside the range, and the same draw again repeats the card.
    void listsAreBuiltOnceForTheFirstRange() {
        Rig rig({1.0});
        rig.engine.start(Direction::EnglishFirst, "3");
        QCOMPARE(rig.engine.state().WordIndex, 3);
        rig.after(2s);
        QCOMPARE(rig.engine.state().WordIndex, 3);
        QCOMPARE(rig.engine.state().SeqNo, 2);
        QCOMPARE(rig.engine.state().EnglishWords.size(), std::size_t(4));
        QCOMPARE(rig.engine.state().RawLines[3], "en3$ru3");
        // The range is read at every click but cannot pass the lists built.
        rig.engine.start(Direction::RussianFirst, "8");
        QCOMPARE(rig.engine.state().RangeSize, 3);
        rig.engine.start(Direction::RussianFirst, "2");
        QCOMPARE(rig.engine.state().RangeSize, 2);
        QCOMPARE(rig.opens, 2);
    }

    void seqNoPassesSixteenBits() {
        Rig rig;
        rig.engine.start(Direction::EnglishFirst, "10");
        for (int card = 1; card <= 40000; ++card) {
            rig.after(2s);
        }
        QCOMPARE(rig.engine.state().SeqNo, 40001);
    }

    // The range field's text made usable against 1,234 entries.
    void rangeFromText() {
        const struct {
            const char* text;
            std::int64_t range;
        } rows[] = {
            {"600", 600},  // a whole number
            {" 7 ", 7},    // blanks around
            {"", 1234},    // nothing, words, trailing junk: all
            {"много", 1234},
            {"12abc", 1234},
            {"12.7", 12},  // a fraction, with a point or a comma: its whole part
            {"12,7", 12},
            {"0", 1},  // below one: one
            {"0.5", 1},
            {"-5", 1},
            {"1e-400", 1},
            {"-inf", 1},
            {"5000", 1234},  // above the entries: all
            {"99999999999999999999999", 1234},
            {"1e400", 1234},
            {"inf", 1234},
            {"nan", 1234},
        };
        for (const auto& row : rows) {
            QVERIFY2(drill::rangeSizeFromText(row.text, 1234) == row.range, row.text);
        }
    }

    void clockSeededDrawsStayBelowOne() {
        drill::ClockSeededRandom random;
        for (int i = 0; i < 1000; ++i) {
            const double r = random.next();
            QVERIFY(r >= 0.0 && r < 1.0);
        }
    }
};

QTEST_GUILESS_MAIN(DrillTest)
#include "drill_test.moc"
