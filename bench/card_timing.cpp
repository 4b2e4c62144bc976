// Runs the real window on the real clock and prints how late each answer and each next card
// came against its due moment, the CPU time used per card, and how often the process woke.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "BenchApplication.h"
#include "Form1.h"
#include "ProcessCpu.h"

using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

void report(const char* what, std::vector<double> lateMs) {
    if (lateMs.empty()) {
        std::printf("%-10s none\n", what);
        return;
    }
    std::sort(lateMs.begin(), lateMs.end());
    const auto at = [&](double q) { return lateMs[std::size_t(q * double(lateMs.size() - 1))]; };
    std::printf("%-10s n=%zu  median %.3f ms  p99 %.3f ms  max %.3f ms\n", what, lateMs.size(),
                at(0.5), at(0.99), lateMs.back());
}

}  // namespace

int main(int argc, char* argv[]) {
    BenchApplication app(argc, argv);
    const int cards = argc > 1 ? std::atoi(argv[1]) : 60;
    const int interval = argc > 2 ? std::atoi(argv[2]) : 2;
    const char* dictionary = argc > 3 ? argv[3] : VOCABUNTA_SAMPLE;
    if (argc > 4 || cards < 1 || interval < 2 || interval > 10) {
        std::fprintf(stderr, "usage: card_timing_bench [CARDS [SECONDS 2..10 [DICTIONARY]]]\n");
        return 2;
    }

    qt::Form1 form({dictionary::fileOpener(dictionary)});
    form.show();
    form.findChild<QScrollBar*>("HScroll1")->setValue(interval);
    auto* answer = form.findChild<QLabel*>("Label3");
    auto* cardTimer = form.findChild<QTimer*>("cardTimer");

    std::vector<double> answerLate;
    std::vector<double> cardLate;
    long wakeUps = 0;
    long strayWakeUps = 0;  // more than 50 ms away from any due moment
    long timerFires = 0;

    const auto toMs = [](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    };
    // The moment each timer event arrives, before the window handles it.
    struct FireStamp : QObject {
        Clock::time_point at;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Timer) {
                at = Clock::now();
            }
            return false;
        }
    } fired;
    cardTimer->installEventFilter(&fired);
    std::vector<double> handling;
    const drill::DrillState& state = form.drillState();
    drill::TimePoint drawn;
    std::int64_t seqNo = 0;
    bool answered = false;
    double cpuStart = 0;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, [&] {
        ++wakeUps;
        const auto now = Clock::now();
        const auto half = std::chrono::milliseconds(interval * 500);
        const auto lastDue = answered ? drawn + half : drawn;
        const auto nextDue = answered ? drawn + 2 * half : drawn + half;
        if (now - lastDue > 50ms && nextDue - now > 50ms) {
            ++strayWakeUps;
        }
    });
    // Connected after the window's own handler, so it sees what the timer just did.
    QObject::connect(cardTimer, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        handling.push_back(toMs(now - fired.at));
        const auto half = std::chrono::milliseconds(interval * 500);
        ++timerFires;
        if (!answered && !answer->text().isEmpty()) {
            answerLate.push_back(toMs(fired.at - (drawn + half)));
            answered = true;
        }
        if (*state.SeqNo != seqNo) {
            cardLate.push_back(toMs(fired.at - (drawn + 2 * half)));
            drawn = *state.StartTime;
            seqNo = *state.SeqNo;
            answered = false;
            if (cardLate.size() == std::size_t(cards)) {
                app.quit();
            }
        }
    });
    QTimer::singleShot(0, [&] {
        form.findChild<QPushButton*>("Command1")->click();
        if (!state.StartTime) {
            // No card was drawn, so no timer will ever fire: the window says why in its bands.
            std::fprintf(stderr, "card_timing_bench: no drill on %s: %s %s\n", dictionary,
                         qPrintable(form.findChild<QLabel*>("Label2")->text()),
                         qPrintable(form.findChild<QLabel*>("Label3")->text()));
            QCoreApplication::exit(1);
            return;
        }
        drawn = *state.StartTime;
        seqNo = *state.SeqNo;
        cpuStart = processCpuSeconds();
        wakeUps = 0;
        strayWakeUps = 0;
    });
    if (app.exec() != 0) {
        return 1;
    }
    const double cpu = processCpuSeconds() - cpuStart;

    std::printf("%d cards at %d s on the real clock\n", cards, interval);
    report("answer", answerLate);
    report("next card", cardLate);
    report("handling", handling);
    std::printf("CPU %.3f ms per card\n", cpu * 1000 / cards);
    std::printf("per card %.2f timer fires, %.2f wake-ups, %.2f of them between due moments\n",
                double(timerFires) / cards, double(wakeUps) / cards, double(strayWakeUps) / cards);
    return 0;
}
