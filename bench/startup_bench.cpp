// Starts the real window on a given dictionary and quits as soon as it has been shown and has
// counted the dictionary, so timing the whole process gives the start-up a person waits for.
// By default it waits for the first paint; --no-paint quits right after show() returns.
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "BenchApplication.h"
#include "Form1.h"

namespace {

// Quits from a zero-time timer once the watched window has been drawn for the first time.
class QuitAfterPaint : public QObject {
public:
    bool painted = false;

    bool eventFilter(QObject*, QEvent* event) override {
        if (!painted && event->type() == QEvent::Paint) {
            painted = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    BenchApplication app(argc, argv);
    const bool waitForPaint = !(argc == 3 && std::strcmp(argv[1], "--no-paint") == 0);
    if (argc != (waitForPaint ? 2 : 3)) {
        std::fprintf(stderr, "usage: startup_bench [--no-paint] FILE\n");
        return 2;
    }
    qt::Form1 form({dictionary::fileOpener(argv[argc - 1])});
    QuitAfterPaint quitAfterPaint;
    if (waitForPaint) {
        form.installEventFilter(&quitAfterPaint);
        // A window that is never drawn must not hang the run.
        QTimer::singleShot(5000, &app, [] { QCoreApplication::exit(1); });
    }
    form.show();  // the window counts the dictionary while it is first shown
    if (!waitForPaint) {
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    }
    const int code = app.exec();
    const auto* range = form.findChild<QLineEdit*>(QStringLiteral("Text7"));
    std::printf("%s entries, %s\n", range != nullptr ? qPrintable(range->text()) : "?",
                quitAfterPaint.painted ? "painted" : "not waited for paint");
    return code;
}
