#include "AboutBox.h"

#include <QMessageBox>

#include "Design.h"

namespace ui {

void showAbout(QWidget* parent) {
    const auto qt = [](std::string_view text) {
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    };
    QMessageBox box(QMessageBox::Information, qt(form::kAbout.title), qt(form::aboutText()),
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("AboutBox"));
    box.exec();
}

}  // namespace ui
