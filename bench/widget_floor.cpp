// What the window's CPU per card is made of: the same window, woken on the real clock as the drill
// wakes it (twice a card, half an interval apart), first changing nothing, then changing its
// widgets directly as a card does, with no drill, no fitting and no timing hooks. Set beside
// card_timing_bench's CPU figure, the difference is the program's own share.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <array>
#include <cstdio>

#include "BenchApplication.h"
#include "Form1.h"
#include "ProcessCpu.h"

namespace {

struct Pair {
    const char* english;
    const char* russian;
};

constexpr std::array<Pair, 8> kPairs{{{"window", "окно"},
                                      {"bread", "хлеб"},
                                      {"to remember", "помнить"},
                                      {"river", "река"},
                                      {"yesterday", "вчера"},
                                      {"a key", "ключ"},
                                      {"to listen", "слушать"},
                                      {"snow", "снег"}}};

}  // namespace

int main(int argc, char* argv[]) {
    BenchApplication app(argc, argv);
    const int cards = argc > 1 ? std::atoi(argv[1]) : 30;
    const int interval = argc > 2 ? std::atoi(argv[2]) : 2;

    qt::Form1 form({dictionary::fileOpener(VOCABUNTA_SAMPLE)});
    form.show();
    auto* question = form.findChild<QLabel*>("Label2");
    auto* answer = form.findChild<QLabel*>("Label3");
    auto* wordIndex = form.findChild<QLineEdit*>("Text3");
    auto* seqNo = form.findChild<QLineEdit*>("Text5");

    // The first cards of each run warm up and are not counted.
    constexpr int kWarmUp = 2;
    const auto changeWidgets = [&](int wake) {
        const Pair& pair = kPairs[std::size_t(wake / 2 * 5) % kPairs.size()];
        if (wake % 2 == 0) {
            wordIndex->setText(QString::number(wake * 37 % 445 + 1));
            seqNo->setText(QString::number(wake / 2 + 1));
            question->setText(QString::fromUtf8(pair.english));
            answer->clear();
        } else {
            answer->setText(QString::fromUtf8(pair.russian));
        }
    };
    struct Run {
        const char* what;
        bool changesWidgets;
        double cpuPerCard = 0;
    };
    std::array<Run, 2> runs{{{"nothing changed", false}, {"widgets changed directly", true}}};

    std::size_t run = 0;
    int wake = 0;
    double cpuStart = 0;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (wake == 2 * kWarmUp) {
            cpuStart = processCpuSeconds();
        }
        if (runs[run].changesWidgets) {
            changeWidgets(wake);
        }
        QCoreApplication::sendPostedEvents(&form, QEvent::UpdateRequest);
        if (++wake == 2 * (kWarmUp + cards)) {
            runs[run].cpuPerCard = (processCpuSeconds() - cpuStart) * 1000 / cards;
            wake = 0;
            if (++run == runs.size()) {
                app.quit();
                return;
            }
        }
        timer.start(interval * 500);
    });
    timer.start(interval * 500);
    app.exec();

    std::printf("%d cards at %d s on the real clock, two wake-ups a card\n", cards, interval);
    for (const Run& r : runs) {
        std::printf("%-26s CPU %.3f ms per card\n", r.what, r.cpuPerCard);
    }
    return 0;
}
