// The window on Qt: the table of window behaviours through a Qt driver, and what only Qt decides.
#define DOCTEST_CONFIG_IMPLEMENT
#include <QTest>
#include <QtWidgets>

#include <doctest/doctest.h>

#include "Application.h"
#include "Form1.h"
#include "WindowBehaviour.h"

using form::Control;

namespace {

struct QtWindow final : WindowDriver {
    explicit QtWindow(drill::Sources sources) : form(std::move(sources)) { form.show(); }
    template <class Widget = QWidget>
    Widget* get(Control id) {
        Widget* widget = form.findChild<Widget*>(QString::fromLatin1(form::control(id).name));
        REQUIRE(widget != nullptr);
        return widget;
    }
    QTimer* timer() { return form.findChild<QTimer*>(QStringLiteral("cardTimer")); }

    std::string title() override { return form.windowTitle().toStdString(); }
    std::string place(std::optional<Control> id) override {
        const QRect at = id ? get(*id)->geometry() : form.rect();
        return QString::asprintf("%d,%d,%dx%d", at.x(), at.y(), at.width(), at.height())
            .toStdString();
    }
    std::string text(Control id) override {
        const auto* bar = qobject_cast<const QScrollBar*>(get(id));
        return (bar ? QString("%1..%2@%3").arg(bar->minimum()).arg(bar->maximum()).arg(bar->value())
                    : get(id)->property("text").toString())
            .toStdString();
    }
    double points(Control band) override { return get(band)->font().pointSizeF(); }
    bool enabled(Control id) override { return get(id)->isEnabled(); }
    std::string tabOrder() override {
        std::string order;
        int stops = 0;
        for (QWidget* at = get(Control::Command2); stops < 10; at = at->nextInFocusChain()) {
            if (at->focusPolicy() != Qt::NoFocus && at != &form) {
                order += at->objectName().toStdString() + " ";
                ++stops;
            }
        }
        return order;
    }
    void click(Control button) override { QTest::mouseClick(get(button), Qt::LeftButton); }
    void stepRight(Control id) override {
        QWidget* bar = get(id);  // on its right arrow, as a user clicks it
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 4, bar->height() / 2));
    }
    void drag(Control bar, int value) override { get<QScrollBar>(bar)->setValue(value); }
    void paste(Control id, std::string_view text) override {
        auto* field = get<QLineEdit>(id);
        field->selectAll();
        field->insert(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    std::optional<int> timerWait() override {
        return timer()->isActive() ? std::optional(timer()->interval()) : std::nullopt;
    }
    void fireTimer() override { QMetaObject::invokeMethod(timer(), "timeout"); }
    std::string about(const std::function<void()>& whileOpen) override {
        std::string shown;
        // The box is modal: it is looked at and closed from the event loop it runs.
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            REQUIRE(box != nullptr);
            whileOpen();
            shown = (box->windowTitle() + "|" + box->text()).toStdString();
            CHECK(box->icon() == QMessageBox::Information);
            box->button(QMessageBox::Ok)->click();
        });
        click(Control::Command3);
        return shown;
    }
    bool close() override {
        QTimer::singleShot(0, &form, &QWidget::close);
        QTimer::singleShot(10'000, &form, [] { QCoreApplication::exit(1); });
        return QCoreApplication::exec() == 0 && !form.isVisible() && !timer()->isActive();
    }

    qt::Form1 form;
};

}  // namespace

TEST_CASE("the window's behaviour") {
    checkWindowBehaviour(
        [](drill::Sources sources) { return std::make_unique<QtWindow>(std::move(sources)); });
}

// What Qt alone decides: the font that stands in for the design's, a frame and named bars for
// screen readers, Qt's own texts in Russian. (Screen readers hearing each card and calling the
// range field by its caption: over AT-SPI, in the end-to-end test; Qt offscreen has no
// accessibility bus.)
TEST_CASE("as Qt draws it") {
    QtWindow window({memoryOpener(numberedEntries(3))});
    CHECK(QFontInfo(window.form.font()).family() == "Liberation Sans");
    CHECK(window.form.font().bold());
    CHECK(QAccessible::queryAccessibleInterface(&window.form)->role() == QAccessible::Window);
    CHECK(window.get(Control::HScroll1)->accessibleName() == "Интервал в секундах");
    QMessageBox box(QMessageBox::Information, "", "", QMessageBox::Ok | QMessageBox::Cancel);
    CHECK(box.button(QMessageBox::Cancel)->text().remove('&') == "Отмена");
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    qt::setUpApplication(app);
    return doctest::Context(argc, argv).run();
}
