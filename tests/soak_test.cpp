// A long drill on the injected clock, with restarts and About boxes mixed in: after every step
// the card stays inside the range and the bands show the lists' words. Under the sanitizers it
// also shows that nothing leaks.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "DrillFakes.h"
#include "TestSources.h"
#include "ui/Form1.h"

using namespace std::chrono_literals;

namespace {

class CyclingRandom final : public drill::RandomSource {
public:
    double next() override {
        value_ = std::fmod(value_ + 0.6180339887, 1.0);
        return value_;
    }

private:
    double value_ = 0.0;
};

QString word(const dictionary::WordList& list, std::int64_t index) {
    const std::string text = list.text(static_cast<std::size_t>(index));
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void hundredThousandCards() {
        std::string file;
        for (int i = 1; i <= 500; ++i) {
            file += "word " + std::to_string(i) + "$слово " + std::to_string(i) + "\r\n";
        }
        ManualClock clock;
        CyclingRandom random;
        ui::Form1 form(memoryOpener(file), &clock, &random);
        form.show();
        auto* question = form.findChild<QLabel*>("Label2");
        auto* answer = form.findChild<QLabel*>("Label3");
        auto* interval = form.findChild<QScrollBar*>("HScroll1");
        auto* timer = form.findChild<QTimer*>("cardTimer");
        form.findChild<QLineEdit*>("Text7")->setText("321");
        QTest::mouseClick(form.findChild<QPushButton*>("Command1"), Qt::LeftButton);

        const drill::DrillState& state = form.drillState();
        const auto check = [&](bool answered) {
            QVERIFY(*state.WordIndex >= 1 && *state.WordIndex <= *state.RangeSize);
            const bool englishFirst = state.Direction == drill::Direction::EnglishFirst;
            const auto& first = englishFirst ? state.EnglishWords : state.RussianWords;
            const auto& second = englishFirst ? state.RussianWords : state.EnglishWords;
            QCOMPARE(question->text(), word(first, *state.WordIndex));
            QCOMPARE(answer->text(), answered ? word(second, *state.WordIndex) : QString());
        };
        for (int card = 1; card <= 100'000; ++card) {
            const int seconds = 2 + card % 9;
            interval->setValue(seconds);
            if (card % 997 == 0) {
                const char* button = card % 2 == 0 ? "Command1" : "Command2";
                QTest::mouseClick(form.findChild<QPushButton*>(button), Qt::LeftButton);
            }
            check(false);
            clock.advance(std::chrono::milliseconds(seconds * 500));
            if (card % 10'007 == 0) {
                // The box holds the card past its answer; closing it catches up.
                clock.advance(std::chrono::milliseconds(seconds * 400));
                QTimer::singleShot(0, [] {
                    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                    QVERIFY(box != nullptr);
                    box->button(QMessageBox::Ok)->click();
                });
                QTest::mouseClick(form.findChild<QPushButton*>("Command3"), Qt::LeftButton);
            } else {
                QMetaObject::invokeMethod(timer, "timeout");
            }
            check(true);
            clock.advance(std::chrono::milliseconds(seconds * 500));
            QMetaObject::invokeMethod(timer, "timeout");
        }
        check(false);
        QVERIFY(*state.SeqNo > 99'000);
    }
};

QTEST_MAIN(SoakTest)
#include "soak_test.moc"
