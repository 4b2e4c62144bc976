#include "Form1.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPixmapCache>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <chrono>

#include "AboutBox.h"
#include "BandText.h"
#include "DictionaryMessage.h"
#include "icons/vocabunta.xpm"

namespace ui {
namespace {

// The design measures positions in twips, 15 to a pixel at 96 dots per inch.
QRect fromTwips(int left, int top, int width, int height) {
    return {left / 15, top / 15, width / 15, height / 15};
}

QFont designFont(const char* family, qreal points) {
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(points);
    font.setWeight(QFont::Bold);
    return font;
}

QFont bandFont() {
    return designFont("Arial", 15.75);
}

template <class Widget>
Widget* place(QWidget* parent, const char* name, QRect geometry) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel* caption(QWidget* parent, const char* name, QRect geometry, const QString& text) {
    auto* label = place<QLabel>(parent, name, geometry);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

QLineEdit* field(QWidget* parent, const char* name, QRect geometry, const QString& text,
                 const QString& description) {
    auto* edit = place<QLineEdit>(parent, name, geometry);
    edit->setText(text);
    edit->setReadOnly(true);
    edit->setAccessibleDescription(description);
    return edit;
}

QScrollBar* bar(QWidget* parent, const char* name, QRect geometry, int minimum, int maximum,
                int value, int step, const QString& description) {
    auto* scrollBar = place<QScrollBar>(parent, name, geometry);
    scrollBar->setOrientation(Qt::Horizontal);
    scrollBar->setRange(minimum, maximum);
    scrollBar->setValue(value);
    scrollBar->setSingleStep(step);
    scrollBar->setPageStep(step);
    scrollBar->setFocusPolicy(Qt::StrongFocus);
    scrollBar->setAccessibleDescription(description);
    return scrollBar;
}

// A plain top-level widget reaches screen readers as a filler; they announce a window, with its
// title, when it is a frame.
QAccessibleInterface* accessibleWindow(const QString& className, QObject* object) {
    if (className == QLatin1String("ui::Form1")) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

}  // namespace

Form1::Form1(dictionary::SourceOpener dictionary, drill::Clock* clock, drill::RandomSource* random)
    : ownClock_(clock == nullptr ? std::make_unique<drill::SteadyClock>() : nullptr),
      ownRandom_(random == nullptr ? std::make_unique<drill::ClockSeededRandom>() : nullptr),
      clock_(clock == nullptr ? *ownClock_ : *clock),
      engine_(std::move(dictionary), clock_, random == nullptr ? *ownRandom_ : *random, *this),
      cardTimer_(this) {
    // No free font has the metrics of the design's "MS Sans Serif"; Liberation Sans comes
    // closest and has Cyrillic, as does the Arial-compatible face it also stands in for.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleWindow);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    // The style keeps the bevels it draws in the pixmap cache, and the cache wakes the program
    // half a minute later to age them. A drill left to run wakes only for its cards; the style
    // draws a bevel afresh whenever a control changes instead.
    QPixmapCache::setCacheLimit(0);

    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Вокабунта 1.0 (5.9.2003)"));
    setWindowIcon(QPixmap(vocabunta_xpm));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(designFont("MS Sans Serif", 8.25));
    setFixedSize(fromTwips(0, 0, 5280, 3585).size());
    createControls();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    cardTimer_.setObjectName(QStringLiteral("cardTimer"));
    cardTimer_.setSingleShot(true);
    cardTimer_.setTimerType(Qt::PreciseTimer);
    connect(&cardTimer_, &QTimer::timeout, this, &Form1::catchUp);
}

Form1::~Form1() = default;

void Form1::createControls() {
    Label2 = place<QLabel>(this, "Label2", fromTwips(0, 0, 5295, 600));
    Label3 = place<QLabel>(this, "Label3", fromTwips(0, 720, 5295, 600));
    for (QLabel* band : {Label2, Label3}) {
        // A dictionary word is text as written, never markup: "<img src=...>" must not load.
        band->setTextFormat(Qt::PlainText);
        band->setFont(bandFont());
        band->setAlignment(Qt::AlignCenter);
        band->setWordWrap(true);
    }
    QPalette highlighted = Label2->palette();
    highlighted.setColor(QPalette::WindowText, highlighted.color(QPalette::Highlight));
    Label2->setPalette(highlighted);
    Label2->setAccessibleDescription(QStringLiteral("Слово-вопрос"));
    Label3->setAccessibleDescription(QStringLiteral("Перевод"));

    Command2 = place<QPushButton>(this, "Command2", fromTwips(120, 1440, 2415, 495));
    Command2->setText(QStringLiteral("Русско-английский"));
    Command2->setAccessibleDescription(
        QStringLiteral("Начать: сначала русское слово, затем английское"));
    Command1 = place<QPushButton>(this, "Command1", fromTwips(2760, 1440, 2415, 495));
    Command1->setText(QStringLiteral("Англо-русский"));
    Command1->setAccessibleDescription(
        QStringLiteral("Начать: сначала английское слово, затем русское"));

    Label1_2 = caption(this, "Label1_2", fromTwips(0, 2040, 1335, 495),
                       QStringLiteral("Интервал в секундах"));
    Label1_0 = caption(this, "Label1_0", fromTwips(1440, 2040, 1215, 495),
                       QStringLiteral("Словарный диапазон"));
    Label1_4 =
        caption(this, "Label1_4", fromTwips(2880, 2160, 1455, 255), QStringLiteral("№ по порядку"));
    Text5 = field(this, "Text5", fromTwips(4320, 2160, 855, 285), {},
                  QStringLiteral("Порядковый номер карточки"));
    Label1_3 =
        caption(this, "Label1_3", fromTwips(2880, 2640, 1455, 255), QStringLiteral("№ в словаре"));
    Text3 = field(this, "Text3", fromTwips(4320, 2640, 855, 285), {},
                  QStringLiteral("Номер слова в словаре"));
    Label1_2->setAccessibleDescription(QStringLiteral("Подпись полосы интервала"));
    Label1_0->setAccessibleDescription(QStringLiteral("Подпись полосы диапазона"));
    Label1_4->setAccessibleDescription(QStringLiteral("Подпись порядкового номера"));
    Label1_3->setAccessibleDescription(QStringLiteral("Подпись номера в словаре"));

    HScroll1 = bar(this, "HScroll1", fromTwips(0, 2760, 1335, 255), 2, 10, 2, 1,
                   QStringLiteral("Интервал в секундах, от 2 до 10"));
    HScroll3 = bar(this, "HScroll3", fromTwips(1440, 2760, 1215, 255), 100, 4000, 100, 100,
                   QStringLiteral("Сколько слов с начала словаря участвуют"));

    Command3 = place<QPushButton>(this, "Command3", fromTwips(2760, 3120, 2415, 375));
    Command3->setText(QStringLiteral("О программе"));
    Command3->setAccessibleDescription(QStringLiteral("Сведения о программе"));

    Text4 = field(this, "Text4", fromTwips(240, 3240, 855, 285), QStringLiteral("1"),
                  QStringLiteral("Интервал в секундах"));
    Text7 = field(this, "Text7", fromTwips(1680, 3240, 735, 285), QStringLiteral("500"),
                  QStringLiteral("Словарный диапазон: сколько слов с начала словаря участвуют"));
    Text7->setReadOnly(false);
    // Typing takes digits only; the drill still makes any other text in the field sound.
    Text7->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), Text7));

    // The design's tab order; labels take no focus.
    QWidget* const order[] = {Command2, Command1, Text3, HScroll1, Text4,
                              Text5,    HScroll3, Text7, Command3};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }

    connect(HScroll1, &QScrollBar::valueChanged, this, &Form1::HScroll1_Change);
    connect(HScroll3, &QScrollBar::valueChanged, this, &Form1::HScroll3_Change);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
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
    Text4->setText(QString::number(HScroll1->minimum()));
    const dictionary::CountResult counted = engine_.activate();
    const bool usable =
        counted.status == dictionary::OpenStatus::Ok && counted.entries > 0 && counted.hasSeparator;
    // The bar holds an int; the field shows the whole count.
    const std::int64_t entries = usable ? counted.entries : 0;
    const int barEnd = static_cast<int>(std::min<std::int64_t>(entries, INT_MAX));
    HScroll3->setMinimum(std::min(HScroll3->minimum(), barEnd));
    HScroll3->setMaximum(barEnd);
    HScroll3->setValue(barEnd);
    Text7->setText(QString::number(entries));
    if (usable) {
        return;
    }
    HScroll3->setEnabled(false);
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    if (counted.status != dictionary::OpenStatus::Ok) {
        showMessage(unreadableMessage(counted.status));
    } else if (counted.entries == 0) {
        showMessage(emptyMessage());
    } else {
        showMessage(noPairsMessage());
    }
}

void Form1::Form_Unload() {
    cardTimer_.stop();
    QCoreApplication::quit();
}

void Form1::HScroll1_Change(int value) {
    Text4->setText(QString::number(value));
    catchUp();
}

void Form1::HScroll3_Change(int value) {
    Text7->setText(QString::number(value));
}

void Form1::Command1_Click() {
    HScroll3->setEnabled(false);
    startRun(drill::Direction::EnglishFirst);
}

void Form1::Command2_Click() {
    HScroll3->setEnabled(false);
    startRun(drill::Direction::RussianFirst);
}

void Form1::Command3_Click() {
    // The card stands still while the box is open and catches up when it closes.
    cardTimer_.stop();
    showAbout(this);
    catchUp();
}

void Form1::startRun(drill::Direction direction) {
    const drill::LoadOutcome outcome = engine_.start(direction, Text7->text().toStdString());
    switch (outcome.status) {
        case drill::LoadStatus::Ok:
            Text7->setText(QString::number(*engine_.state().RangeSize));
            break;
        case drill::LoadStatus::Unreadable:
            showMessage(unreadableMessage(outcome.file));
            break;
        case drill::LoadStatus::Empty:
            showMessage(emptiedMessage());
            break;
    }
    armCardTimer();
}

void Form1::catchUp() {
    engine_.advance(HScroll1->value());
    armCardTimer();
}

void Form1::armCardTimer() {
    const std::optional<drill::TimePoint> due = engine_.nextDue(HScroll1->value());
    if (!due) {
        cardTimer_.stop();
        return;
    }
    // Paint what just changed first: Qt rounds the wait left at its next poll up to a whole
    // millisecond, so a paint after the start would make the card that much later.
    QCoreApplication::sendPostedEvents(this, QEvent::UpdateRequest);
    // Rounded up, so the timer never fires before the card is due.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - clock_.now());
    cardTimer_.start(std::max(wait, std::chrono::milliseconds(0)));
}

void Form1::showMessage(const DictionaryMessage& message) {
    setBand(Label2, message.problem);
    setBand(Label3, message.remedy);
}

void Form1::setBand(QLabel* band, const QString& text) {
    const FittedText fitted = fitToBand(text, bandFont(), band->size());
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

void Form1::showWordIndex(std::int64_t wordIndex) {
    Text3->setText(QString::number(wordIndex));
}

void Form1::showSeqNo(std::int64_t seqNo) {
    Text5->setText(QString::number(seqNo));
}

void Form1::showQuestion(std::string_view text) {
    setBand(Label2, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void Form1::showAnswer(std::string_view text) {
    setBand(Label3, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace ui
