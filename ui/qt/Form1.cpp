#include "Form1.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>

#include "BandFit.h"
#include "Controls.h"
#include "vocabunta.xpm"

namespace qt {
namespace {

using drill::Event;
using form::Control;
using form::Kind;

}  // namespace

Form1::Form1(drill::Sources sources) : engine_(*this, std::move(sources)), cardTimer_(this) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(qstring(form::kTitle));
    setWindowIcon(QPixmap(vocabunta_xpm));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(fontOf(form::kWindowFont, form::kWindowFont.points));
    setFixedSize(fromTwips(form::kClientArea).size());
    createControls();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const form::Rect at =
            form::centred(width(), height(), {area.x(), area.y(), area.width(), area.height()});
        move(at.left, at.top);
    }

    cardTimer_.setObjectName(QStringLiteral("cardTimer"));
    cardTimer_.setSingleShot(true);
    cardTimer_.setTimerType(Qt::PreciseTimer);
    connect(&cardTimer_, &QTimer::timeout, this, [this] { engine_.input({Event::Timer}); });
}

Form1::~Form1() = default;

void Form1::createControls() {
    for (const form::ControlDesign& design : form::kControls) {
        QWidget* widget = makeControl(design, this);
        widget->setObjectName(qstring(design.name));
        widget->setGeometry(fromTwips(design.at));
        widget->setAccessibleDescription(qstring(design.description));
        if (design.caption) {
            widget->setAccessibleName(qstring(form::control(*design.caption).text));
        }
        controls_[static_cast<std::size_t>(design.id)] = widget;
    }
    const std::vector<Control> order = form::tabOrder();
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(control<QWidget>(order[i - 1]), control<QWidget>(order[i]));
    }

    // Every control's input goes to the engine, which knows what it means.
    for (const form::ControlDesign& design : form::kControls) {
        const Control id = design.id;
        QWidget* widget = control<QWidget>(id);
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            connect(button, &QPushButton::clicked, this, [this, id] {
                engine_.input({Event::Click, id});
            });
        } else if (auto* bar = qobject_cast<QScrollBar*>(widget)) {
            connect(bar, &QScrollBar::valueChanged, this, [this, id](int value) {
                engine_.input({Event::Change, id, value});
            });
        } else if (auto* field = qobject_cast<QLineEdit*>(widget)) {
            connect(field, &QLineEdit::textChanged, this, [this, id](const QString& text) {
                const QByteArray utf8 = text.toUtf8();
                engine_.input({Event::Change, id, 0, {utf8.constData(), std::size_t(utf8.size())}});
            });
        }
    }
}

template <class Widget>
Widget* Form1::control(Control id) const {
    return static_cast<Widget*>(controls_[static_cast<std::size_t>(id)]);
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    engine_.input({Event::Activate});
}

void Form1::closeEvent(QCloseEvent* event) {
    engine_.input({Event::Unload});
    QWidget::closeEvent(event);
}

void Form1::showText(Control id, std::string_view text) {
    if (form::control(id).kind != Kind::Band) {
        auto* field = control<QLineEdit>(id);
        const QSignalBlocker quiet(field);  // the engine's own write is not input
        field->setText(qstring(text));
        return;
    }
    auto* band = control<QLabel>(id);
    const form::FittedText fitted =
        form::fitToBand(text, band->width(), band->height(), kBandMeasure);
    const QFont font = fontOf(form::kBandFont, fitted.points);
    // A font change lays the label out again; most words keep the band's own font.
    if (band->font() != font) {
        band->setFont(font);
    }
    if (band->text() == qstring(fitted.text)) {
        // The same word again (a repeated card, or a range of one) changes no text, so the label
        // stays silent; a screen reader must still hear the new card.
        QAccessibleEvent event(band, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
        return;
    }
    band->setText(qstring(fitted.text));
}

void Form1::setBar(Control id, int minimum, int maximum, int value) {
    auto* bar = control<QScrollBar>(id);
    const QSignalBlocker quiet(bar);  // the engine's own move is not input
    bar->setRange(minimum, maximum);
    bar->setValue(value);
}

void Form1::enable(Control id, bool enabled) {
    control<QWidget>(id)->setEnabled(enabled);
}

void Form1::wakeAt(std::optional<drill::TimePoint> due) {
    if (!due) {
        cardTimer_.stop();
        return;
    }
    // Paint what just changed first: Qt rounds the wait left at its next poll up to a whole
    // millisecond, so a paint after the start would make the card that much later.
    QCoreApplication::sendPostedEvents(this, QEvent::UpdateRequest);
    cardTimer_.start(engine_.waitUntil(*due));
}

void Form1::showAbout() {
    QMessageBox box(iconOf(form::kAbout.icon), qstring(form::kAbout.title),
                    qstring(form::aboutText()), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("AboutBox"));
    box.exec();
    engine_.input({Event::AboutClosed});
}

void Form1::end() {
    QCoreApplication::quit();
}

}  // namespace qt
