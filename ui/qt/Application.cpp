#include "Application.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmapCache>
#include <QTranslator>
#include <QWidget>

namespace qt {
namespace {

// A plain top-level widget reaches screen readers as a filler; they announce a window, with its
// title, when it is a frame.
QAccessibleInterface* accessibleWindow(const QString& className, QObject* object) {
    if (className == QLatin1String("qt::Form1")) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

// Qt's own texts (standard buttons, context menus) in Russian whatever the system's locale: the
// window speaks Russian by design.
void installQtRussian(QApplication& app) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(translator);
    } else {
        delete translator;
    }
}

}  // namespace

void setUpApplication(QApplication& app) {
    // No free font has the metrics of the design's "MS Sans Serif"; Liberation Sans comes
    // closest and has Cyrillic, as does the Arial-compatible face it also stands in for.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QAccessible::installFactory(accessibleWindow);
    // The style keeps the bevels it draws in the pixmap cache, and the cache wakes the program
    // half a minute later to age them. A drill left to run wakes only for its cards; the style
    // draws a bevel afresh whenever a control changes instead.
    QPixmapCache::setCacheLimit(0);
    installQtRussian(app);
}

}  // namespace qt
