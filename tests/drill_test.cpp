#include <QTest>
#include <set>

#include "Fakes.h"
#include "drill/DrillEngine.h"
#include "drill/RangeSize.h"

using namespace std::chrono_literals;
using drill::Direction;
using Shown = std::vector<std::string>;

namespace {

// An engine over "en1$ru1" to "en10$ru10", started up as the window does at activation.
struct Rig {
    explicit Rig(std::vector<double> draws = {})
        : engine(memoryOpener(numberedEntries(10)), clock, random, frontend) {
        random.values = std::move(draws);
        engine.activate();
    }
    // Moves the clock on and lets the engine catch up; returns what it showed meanwhile.
    Shown after(std::chrono::milliseconds step, int interval = 2) {
        clock.advance(step);
        engine.advance(interval);
        return frontend.take();
    }
    ManualClock clock;
    ScriptedRandom random;
    RecordingFrontend frontend;
    drill::DrillEngine engine;
};

}  // namespace

class DrillTest : public QObject {
    Q_OBJECT

private slots:
    // The dictionary number first, then the running number and the question; the answer at
    // half the interval and the next card at the whole of it, both from the draw, and nothing
    // a millisecond before.
    void cardTiming() {
        const int interval = 10;
        const auto half = 5000ms;
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
        // The running number is not held in 16 bits.
        for (int card = 2; card <= 40000; ++card) {
            rig.after(2 * half, interval);
        }
        QCOMPARE(rig.engine.state().SeqNo, 40001);
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
    }

    // The range field's text made usable against 1,234 entries.
    void rangeFromText() {
        const struct {
            const char* text;
            std::int64_t range;
        } rows[] = {
            {"600", 600},                   // a whole number
            {" 7 ", 7},                     // blanks around
            {"", 1234},                     // nothing, or no number: all
            {"12abc", 1234}, {"12.7", 12},  // a fraction, with a point or a comma: its whole part
            {"12,7", 12},    {"0.5", 1},    // below one: one
            {"-5", 1},       {"1e-400", 1}, {"5000", 1234},  // above the entries: all
            {"1e400", 1234}, {"nan", 1234},
        };
        for (const auto& row : rows) {
            QVERIFY2(drill::rangeSizeFromText(row.text, 1234) == row.range, row.text);
        }
    }

    // Reseeded from the clock before every draw, and always below 1.
    void clockSeededDraws() {
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
