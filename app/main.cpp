#include <QApplication>

#include "ui/qt/Application.h"
#include "ui/qt/Form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ui::setUpApplication(app);
    ui::Form1 window;
    window.show();
    return app.exec();
}
