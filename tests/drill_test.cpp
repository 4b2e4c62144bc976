#include <QTest>

#include "DrillFakes.h"
#include "TestSources.h"
#include "drill/DrillEngine.h"
#include "drill/RangeSize.h"

using namespace std::chrono_literals;
using drill::Direction;
using Shown = std::vector<std::string>;

namespace {

// Counts how often the dictionary is opened.
dictionary::SourceOpener counted(dictionary::SourceOpener open, int& opens) {
    return [open = std::move(open), &opens] {
        ++opens;
        return open();
    };
}

// An engine over a dictionary, started up as the window does at activation.
struct Rig {
    explicit Rig(dictionary::SourceOpener open = memoryOpener(numberedEntries(10)))
        : engine(std::move(open), clock, random, frontend) {
        engine.activate();
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
    void stateIsEmptyBeforeTheFirstClick() {
        Rig rig;
        const drill::DrillState& state = rig.engine.state();
        QCOMPARE(state.SeqNo, 1);
        QCOMPARE(state.EntryCount, 10);
        QVERIFY(!state.Loaded && !state.Direction && !state.WordIndex && !state.RangeSize &&
                !state.StartTime);
        QCOMPARE(state.EnglishWords.size(), std::size_t(0));
        QVERIFY(!rig.engine.nextDue(2));
    }

    void cardTiming_data() {
        QTest::addColumn<int>("interval");
        QTest::newRow("2 s") << 2;
        QTest::newRow("10 s") << 10;
    }

    // The question at once, the answer at half the interval, the next card at the whole of
    // it, all measured from the draw; nothing a millisecond before.
    void cardTiming() {
        QFETCH(int, interval);
        const auto half = std::chrono::milliseconds(interval * 500);
        Rig rig;
        rig.random.queue({0.45, 0.05});
        rig.engine.start(Direction::EnglishFirst, "10");
        QCOMPARE(rig.frontend.take(), (Shown{"Text3=5", "Text5=1", "Label2=en5", "Label3="}));
        QCOMPARE(*rig.engine.nextDue(interval), rig.clock.start() + half);

        rig.clock.advance(half - 1ms);
        rig.engine.advance(interval);
        QCOMPARE(rig.frontend.take(), Shown{});
        rig.clock.advance(1ms);
        rig.engine.advance(interval);
        QCOMPARE(rig.frontend.take(), Shown{"Label3=ru5"});
        QCOMPARE(*rig.engine.nextDue(interval), rig.clock.start() + 2 * half);

        rig.clock.advance(half - 1ms);
        rig.engine.advance(interval);
        QCOMPARE(rig.frontend.take(), Shown{});
        rig.clock.advance(1ms);
        rig.engine.advance(interval);
        QCOMPARE(rig.frontend.take(), (Shown{"Text3=1", "Text5=2", "Label2=en1", "Label3="}));
        QCOMPARE(*rig.engine.state().StartTime, rig.clock.start() + 2 * half);
    }

    void shorterIntervalActsOnTheCardShown() {
        Rig rig;
        rig.random.queue({0.0, 0.95});
        rig.engine.start(Direction::EnglishFirst, "10");
        rig.frontend.take();
        rig.clock.advance(3s);
        rig.engine.advance(10);
        QCOMPARE(rig.frontend.take(), Shown{});
        rig.engine.advance(2);  // the bar moved from 10 to 2
        QCOMPARE(rig.frontend.take(),
                 (Shown{"Label3=ru1", "Text3=10", "Text5=2", "Label2=en10", "Label3="}));
    }

    void russianFirst() {
        Rig rig;
        rig.random.queue({0.25});
        rig.engine.start(Direction::RussianFirst, "4");
        rig.clock.advance(1s);
        rig.engine.advance(2);
        QCOMPARE(rig.frontend.take(),
                 (Shown{"Text3=2", "Text5=1", "Label2=ru2", "Label3=", "Label3=en2"}));
    }

    void drawsCoverTheRangeAndRepeat_data() {
        QTest::addColumn<QString>("range");
        QTest::addColumn<double>("r");
        QTest::addColumn<qint64>("wordIndex");
        QTest::newRow("lowest draw") << "10" << 0.0 << 1LL;
        QTest::newRow("highest draw") << "10" << 0.99999 << 10LL;
        QTest::newRow("a generator that returns 1 stays in range") << "10" << 1.0 << 10LL;
        QTest::newRow("range of one") << "1" << 0.99999 << 1LL;
    }

    void drawsCoverTheRangeAndRepeat() {
        QFETCH(QString, range);
        QFETCH(double, r);
        Rig rig;
        rig.random.queue({r});
        rig.engine.start(Direction::EnglishFirst, range.toStdString());
        QTEST(qint64(*rig.engine.state().WordIndex), "wordIndex");
        // The same value again draws the same entry again: repeats are allowed.
        rig.clock.advance(2s);
        rig.engine.advance(2);
        QTEST(qint64(*rig.engine.state().WordIndex), "wordIndex");
        QCOMPARE(rig.engine.state().SeqNo, 2);
    }

    void restartDropsTheCardButKeepsItsNumber() {
        Rig rig;
        rig.random.queue({0.0, 0.1, 0.2, 0.3});
        rig.engine.start(Direction::EnglishFirst, "10");
        rig.clock.advance(4s);
        rig.engine.advance(2);  // card 2
        rig.engine.advance(2);
        rig.clock.advance(2s);
        rig.engine.advance(2);  // card 3, entry 3
        QCOMPARE(rig.engine.state().SeqNo, 3);
        rig.clock.advance(500ms);
        rig.frontend.take();

        rig.engine.start(Direction::RussianFirst, "10");
        QCOMPARE(rig.frontend.take(), (Shown{"Text3=4", "Text5=3", "Label2=ru4", "Label3="}));
        // The dropped card's answer would have been due now; the new card's is not.
        rig.clock.advance(500ms);
        rig.engine.advance(2);
        QCOMPARE(rig.frontend.take(), Shown{});
        rig.clock.advance(500ms);
        rig.engine.advance(2);
        QCOMPARE(rig.frontend.take(), Shown{"Label3=en4"});
    }

    void listsAreBuiltOnceForTheFirstRange() {
        int opens = 0;
        Rig rig(counted(memoryOpener(numberedEntries(10)), opens));
        QCOMPARE(opens, 1);
        rig.engine.start(Direction::EnglishFirst, "3");
        QCOMPARE(opens, 2);
        QCOMPARE(rig.engine.state().EnglishWords.size(), std::size_t(4));
        QCOMPARE(rig.engine.state().RawLines[3], std::string_view("en3$ru3"));
        rig.engine.start(Direction::RussianFirst, "8");
        QCOMPARE(opens, 2);
        // The range is read at every click but cannot pass the lists built.
        QCOMPARE(rig.engine.state().RangeSize, 3);
        rig.engine.start(Direction::RussianFirst, "2");
        QCOMPARE(rig.engine.state().RangeSize, 2);
    }

    void seqNoPassesSixteenBits() {
        Rig rig;
        rig.engine.start(Direction::EnglishFirst, "10");
        for (int card = 1; card <= 40000; ++card) {
            rig.clock.advance(2s);
            rig.engine.advance(2);
        }
        QCOMPARE(rig.engine.state().SeqNo, 40001);
        rig.frontend.take();
    }

    void aboutBoxHeldTheCard() {
        // Nothing called the engine for longer than the interval: the answer, then the next
        // card, at once.
        Rig rig;
        rig.random.queue({0.0, 0.5});
        rig.engine.start(Direction::EnglishFirst, "10");
        rig.frontend.take();
        rig.clock.advance(500ms);
        rig.engine.advance(4);
        rig.clock.advance(7s);
        rig.engine.advance(4);
        QCOMPARE(rig.frontend.take(),
                 (Shown{"Label3=ru1", "Text3=6", "Text5=2", "Label2=en6", "Label3="}));
        QCOMPARE(*rig.engine.state().StartTime, rig.clock.now());
    }

    void fileChangedAfterCounting_data() {
        QTest::addColumn<QByteArray>("later");
        QTest::addColumn<int>("status");
        QTest::addColumn<qint64>("rangeSize");
        QTest::newRow("shortened") << QByteArray("a$1\r\nb$2") << int(drill::LoadStatus::Ok) << 2LL;
        QTest::newRow("emptied") << QByteArray() << int(drill::LoadStatus::Empty) << 0LL;
    }

    void fileChangedAfterCounting() {
        QFETCH(QByteArray, later);
        Rig rig(changingOpener(numberedEntries(10), later.toStdString()));
        const drill::LoadOutcome outcome = rig.engine.start(Direction::EnglishFirst, "10");
        QTEST(int(outcome.status), "status");
        QTEST(qint64(rig.engine.state().RangeSize.value_or(0)), "rangeSize");
        QCOMPARE(rig.engine.state().Loaded, outcome.status == drill::LoadStatus::Ok);
        QCOMPARE(rig.engine.nextDue(2).has_value(), outcome.status == drill::LoadStatus::Ok);
    }

    void unreadableAtTheFirstClickTriesAgainLater() {
        int opens = 0;
        auto fails = std::make_shared<bool>(false);
        Rig rig(counted(
            [fails] {
                return *fails ? failingOpener(dictionary::OpenStatus::ReadError)()
                              : memoryOpener(numberedEntries(10))();
            },
            opens));
        *fails = true;
        const drill::LoadOutcome outcome = rig.engine.start(Direction::EnglishFirst, "10");
        QCOMPARE(outcome.status, drill::LoadStatus::Unreadable);
        QCOMPARE(outcome.file, dictionary::OpenStatus::ReadError);
        QVERIFY(!rig.engine.state().Loaded);
        *fails = false;
        QCOMPARE(rig.engine.start(Direction::EnglishFirst, "10").status, drill::LoadStatus::Ok);
        QCOMPARE(opens, 3);
    }

    void rangeFromText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("range");
        QTest::newRow("whole number") << "600" << 600LL;
        QTest::newRow("blanks around") << " 7 " << 7LL;
        QTest::newRow("empty means all") << "" << 1234LL;
        QTest::newRow("words mean all") << "много" << 1234LL;
        QTest::newRow("trailing junk means all") << "12abc" << 1234LL;
        QTest::newRow("fraction") << "12.7" << 12LL;
        QTest::newRow("decimal comma") << "12,7" << 12LL;
        QTest::newRow("zero") << "0" << 1LL;
        QTest::newRow("below one") << "0.5" << 1LL;
        QTest::newRow("negative") << "-5" << 1LL;
        QTest::newRow("above the maximum") << "5000" << 1234LL;
        QTest::newRow("beyond 64 bits") << "99999999999999999999999" << 1234LL;
        QTest::newRow("too close to zero") << "1e-400" << 1LL;
        QTest::newRow("too large for a double") << "1e400" << 1234LL;
        QTest::newRow("not a number") << "nan" << 1234LL;
        QTest::newRow("infinity") << "inf" << 1234LL;
        QTest::newRow("minus infinity") << "-inf" << 1LL;
    }

    void rangeFromText() {
        QFETCH(QString, text);
        QTEST(qint64(drill::rangeSizeFromText(text.toStdString(), 1234)), "range");
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
