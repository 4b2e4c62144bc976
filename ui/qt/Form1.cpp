#include "Form1.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>

#include "AboutBox.h"
#include "BandText.h"
#include "vocabunta.xpm"

namespace ui {
namespace {

using form::Control;
using form::Kind;

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Qt lays out in pixels of 96 dots per inch, 15 twips each, and scales them to the screen.
QRect fromTwips(const form::Twips& at) {
    return {at.left / 15, at.top / 15, at.width / 15, at.height / 15};
}

QFont fontOf(const form::Font& design) {
    QFont font(qt(design.family));
    font.setPointSizeF(design.points);
    font.setWeight(static_cast<QFont::Weight>(design.weight));
    return font;
}

QWidget* makeControl(const form::ControlDesign& design, QWidget* parent) {
    switch (design.kind) {
        case Kind::Band:
        case Kind::Caption: {
            auto* label = new QLabel(parent);
            // A dictionary word is text as written, never markup: "<img src=...>" must not load.
            label->setTextFormat(Qt::PlainText);
            label->setText(qt(design.text));
            label->setWordWrap(true);
            if (design.kind == Kind::Band) {
                label->setFont(fontOf(form::kBandFont));
                label->setAlignment(Qt::AlignCenter);
            } else {
                label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            }
            if (design.highlighted) {
                QPalette palette = label->palette();
                palette.setColor(QPalette::WindowText, palette.color(QPalette::Highlight));
                label->setPalette(palette);
            }
            return label;
        }
        case Kind::Button:
            return new QPushButton(qt(design.text), parent);
        case Kind::Field: {
            auto* edit = new QLineEdit(qt(design.text), parent);
            // What arrives in the range field goes to the engine, which keeps its digits.
            edit->setReadOnly(!design.editable);
            return edit;
        }
        case Kind::Bar: {
            auto* bar = new QScrollBar(Qt::Horizontal, parent);
            bar->setRange(design.bar.minimum, design.bar.maximum);
            bar->setValue(design.bar.value);
            bar->setSingleStep(design.bar.step);
            bar->setPageStep(design.bar.step);
            bar->setFocusPolicy(Qt::StrongFocus);
            return bar;
        }
    }
    return nullptr;
}

}  // namespace

Form1::Form1(dictionary::SourceOpener dictionary, drill::Clock* clock, drill::RandomSource* random)
    : ownClock_(clock == nullptr ? std::make_unique<drill::SteadyClock>() : nullptr),
      ownRandom_(random == nullptr ? std::make_unique<drill::ClockSeededRandom>() : nullptr),
      engine_(std::move(dictionary), clock == nullptr ? *ownClock_ : *clock,
              random == nullptr ? *ownRandom_ : *random, *this),
      cardTimer_(this) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(qt(form::kTitle));
    setWindowIcon(QPixmap(vocabunta_xpm));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(fontOf(form::kWindowFont));
    setFixedSize(fromTwips(form::kClientArea).size());
    createControls();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    cardTimer_.setObjectName(QStringLiteral("cardTimer"));
    cardTimer_.setSingleShot(true);
    cardTimer_.setTimerType(Qt::PreciseTimer);
    connect(&cardTimer_, &QTimer::timeout, this, [this] { engine_.advance(); });
}

Form1::~Form1() = default;

void Form1::createControls() {
    for (const form::ControlDesign& design : form::kControls) {
        QWidget* widget = makeControl(design, this);
        widget->setObjectName(qt(design.name));
        widget->setGeometry(fromTwips(design.at));
        widget->setAccessibleDescription(qt(design.description));
        controls_[static_cast<std::size_t>(design.id)] = widget;
    }
    const std::vector<Control> order = form::tabOrder();
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(control<QWidget>(order[i - 1]), control<QWidget>(order[i]));
    }

    connect(control<QScrollBar>(Control::HScroll1), &QScrollBar::valueChanged, this,
            &Form1::HScroll1_Change);
    connect(control<QScrollBar>(Control::HScroll3), &QScrollBar::valueChanged, this,
            &Form1::HScroll3_Change);
    connect(control<QLineEdit>(Control::Text7), &QLineEdit::textChanged, this,
            &Form1::Text7_Change);
    connect(control<QPushButton>(Control::Command1), &QPushButton::clicked, this,
            &Form1::Command1_Click);
    connect(control<QPushButton>(Control::Command2), &QPushButton::clicked, this,
            &Form1::Command2_Click);
    connect(control<QPushButton>(Control::Command3), &QPushButton::clicked, this,
            &Form1::Command3_Click);
}

template <class Widget>
Widget* Form1::control(Control id) const {
    return static_cast<Widget*>(controls_[static_cast<std::size_t>(id)]);
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!activated_) {
        activated_ = true;
        Form_Activate();
    }
}

void Form1::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QWidget::closeEvent(event);
}

void Form1::Form_Activate() {
    engine_.activate();
}

void Form1::Form_Unload() {
    cardTimer_.stop();
    QCoreApplication::quit();
}

void Form1::HScroll1_Change(int value) {
    engine_.setInterval(value);
}

void Form1::HScroll3_Change(int value) {
    engine_.moveRangeBar(value);
}

void Form1::Text7_Change(const QString& text) {
    engine_.typeRange(text.toStdString());
}

void Form1::Command1_Click() {
    engine_.start(drill::Direction::EnglishFirst);
}

void Form1::Command2_Click() {
    engine_.start(drill::Direction::RussianFirst);
}

void Form1::Command3_Click() {
    // The card stands still while the box is open and catches up when it closes.
    engine_.hold();
    showAbout(this);
    engine_.advance();
}

void Form1::setBand(QLabel* band, const QString& text) {
    const FittedText fitted = fitToBand(text, fontOf(form::kBandFont), band->size());
    // A font change relays the label out; most words keep the band's own font.
    if (band->font() != fitted.font) {
        band->setFont(fitted.font);
    }
    if (band->text() == fitted.text) {
        // The same word again (a repeated card, or a range of one) changes no text, so the label
        // stays silent; a screen reader must still hear the new card.
        QAccessibleEvent event(band, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
        return;
    }
    band->setText(fitted.text);
}

void Form1::showText(Control id, std::string_view text) {
    if (form::control(id).kind == Kind::Band) {
        setBand(control<QLabel>(id), qt(text));
    } else {
        auto* field = control<QLineEdit>(id);
        const QSignalBlocker quiet(field);  // the range field passes on only what others write
        field->setText(qt(text));
    }
}

void Form1::setBar(Control id, int minimum, int maximum, int value) {
    auto* bar = control<QScrollBar>(id);
    const QSignalBlocker quiet(bar);  // not a move of the user's
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

}  // namespace ui
