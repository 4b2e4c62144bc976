#include <QApplication>

#include "Application.h"
#include "Form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(VOCABUNTA_APP_ID));
    qt::setUpApplication(app);
    qt::Form1 window;
    window.show();
    return app.exec();
}
