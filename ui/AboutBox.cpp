#include "AboutBox.h"

#include <QMessageBox>
#include <QStringList>

namespace ui {

void showAbout(QWidget* parent) {
    const QString text =
        QStringList{
            QStringLiteral("Вокабунта"),
            QStringLiteral("I версия"),
            QStringLiteral("Автор: Зельвиран"),
            QStringLiteral("5.09.2003г."),
        }
            .join(QLatin1Char('\n'));
    QMessageBox box(QMessageBox::Information, QStringLiteral("Информация"), text, QMessageBox::Ok,
                    parent);
    box.setObjectName(QStringLiteral("AboutBox"));
    box.exec();
}

}  // namespace ui
