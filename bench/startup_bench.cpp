// Starts the real window on a given dictionary and quits as soon as it has been shown and has
// counted the dictionary, so timing the whole process gives the start-up a person waits for.
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>

#include "ui/Form1.h"

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: startup_bench FILE\n");
        return 2;
    }
    ui::Form1 form(dictionary::fileOpener(argv[1]));
    // Notes whether the window was drawn before the quit, so "shown" means painted too.
    struct PaintSeen : QObject {
        bool painted = false;
        bool eventFilter(QObject*, QEvent* event) override {
            painted = painted || event->type() == QEvent::Paint;
            return false;
        }
    } paintSeen;
    form.installEventFilter(&paintSeen);
    form.show();  // the window counts the dictionary while it is first shown
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    const int code = app.exec();
    const auto* range = form.findChild<QLineEdit*>(QStringLiteral("Text7"));
    std::printf("%s entries, %s\n", range != nullptr ? qPrintable(range->text()) : "?",
                paintSeen.painted ? "painted" : "not painted");
    return code;
}
