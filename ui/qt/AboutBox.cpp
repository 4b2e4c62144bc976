#include "AboutBox.h"

#include <QMessageBox>

#include "ui/design/Design.h"

namespace ui {

void showAbout(QWidget* parent) {
    const auto qt = [](std::string_view text) {
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    };
    QMessageBox box(QMessageBox::Information, qt(design::kAbout.title), qt(design::aboutText()),
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("AboutBox"));
    box.exec();
}

}  // namespace ui
