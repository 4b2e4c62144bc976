#include <QApplication>

#include "ui/Form1.h"
#include "ui/QtTranslations.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(VOCABUNTA_APP_ID));
    ui::installQtRussian(app);
    ui::Form1 window;
    window.show();
    return app.exec();
}
