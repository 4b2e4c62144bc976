#pragma once

#include <QApplication>

#include "Application.h"

// The program's application, set up as the program sets it up, on the offscreen platform unless
// another one is asked for.
class BenchApplication : public QApplication {
public:
    BenchApplication(int& argc, char** argv) : QApplication(offscreenUnlessTold(argc), argv) {
        qt::setUpApplication(*this);
    }

private:
    static int& offscreenUnlessTold(int& argc) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        return argc;
    }
};
