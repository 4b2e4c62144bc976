#include <QTest>
#include <QtWidgets>
#include <functional>

#include "Application.h"
#include "BandText.h"
#include "DrillFakes.h"
#include "Form1.h"

using namespace std::chrono_literals;

namespace {

// A shown window over a dictionary, on a clock and draws that the test sets.
struct Window {
    explicit Window(dictionary::SourceOpener open, std::vector<double> draws = {})
        : form(std::move(open), &clock, &random) {
        random.values = std::move(draws);
        form.show();
    }
    template <class T = QWidget>
    T* get(const char* name) {
        T* widget = form.findChild<T*>(QString::fromLatin1(name));
        QTEST_ASSERT(widget != nullptr);
        return widget;
    }
    QString text(const char* name) {
        auto* label = form.findChild<QLabel*>(QString::fromLatin1(name));
        return label != nullptr ? label->text() : get<QLineEdit>(name)->text();
    }
    void click(const char* name) { QTest::mouseClick(get<QPushButton>(name), Qt::LeftButton); }
    // Types into the range field as a user does.
    void typeRange(const char* digits) {
        auto* field = get<QLineEdit>("Text7");
        field->selectAll();
        QTest::keyClicks(field, digits);
    }
    // Moves the clock on and lets the card timer fire at once.
    void after(std::chrono::milliseconds step) {
        clock.advance(step);
        auto* timer = get<QTimer>("cardTimer");
        QVERIFY(timer->isActive());
        QMetaObject::invokeMethod(timer, "timeout");
    }

    ManualClock clock;
    ScriptedRandom random;
    ui::Form1 form;
};

// Runs `whileOpen` when the next modal box is up, notes what it shows, and clicks its OK.
void closeBoxSoon(QString& shown, std::function<void()> whileOpen) {
    QTimer::singleShot(0, [&shown, whileOpen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QTEST_ASSERT(box != nullptr);
        whileOpen();
        shown = QString("%1|%2|icon %3, %4 button")
                    .arg(box->windowTitle(), box->text())
                    .arg(box->icon())
                    .arg(box->buttons().size());
        box->button(QMessageBox::Ok)->click();
    });
}

const QString kAboutBox =
    "Информация|Вокабунта\nI версия\nАвтор: Зельвиран\n5.09.2003г.|icon 1, 1 button";

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ui::setUpApplication(*qApp); }

    // Every control of the design with 1,234 entries counted, in creation order: places in twips
    // over 15, texts (^: centred) and bar ranges.
    void layout() {
        Window window(memoryOpener(numberedEntries(1234)));
        QString places, texts;
        for (auto* widget : window.form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            auto* label = qobject_cast<QLabel*>(widget);
            auto* bar = qobject_cast<QScrollBar*>(widget);
            auto* button = qobject_cast<QPushButton*>(widget);
            const QRect at = widget->geometry();
            places += QString::asprintf("%d,%d,%dx%d ", at.x(), at.y(), at.width(), at.height());
            texts += bar      ? QString("%1..%2").arg(bar->minimum()).arg(bar->maximum())
                     : button ? button->text()
                              : window.text(qPrintable(widget->objectName()));
            texts += label && label->alignment() & Qt::AlignHCenter ? "^|" : "|";
            QVERIFY(!widget->accessibleDescription().isEmpty());
        }
        QCOMPARE(places,
                 "0,0,353x40 0,48,353x40 8,96,161x33 184,96,161x33 0,136,89x33 96,136,81x33 "
                 "192,144,97x17 288,144,57x19 192,176,97x17 288,176,57x19 0,184,89x17 96,184,81x17 "
                 "184,208,161x25 16,216,57x19 112,216,49x19 ");
        QCOMPARE(texts,
                 "^|^|Русско-английский|Англо-русский|Интервал в секундах^|Словарный диапазон^|"
                 "№ по порядку^||№ в словаре^||2..10|100..1234|О программе|2|1234|");
        QCOMPARE(window.get<QScrollBar>("HScroll3")->value(), 1234);
    }

    // Title, a fixed size with no maximise button, the icon, the fonts and colours of the design,
    // and a frame that screen readers announce with its title.
    void looks() {
        Window window(memoryOpener(numberedEntries(3)));
        QCOMPARE(window.form.windowTitle(), "Вокабунта 1.0 (5.9.2003)");
        QCOMPARE(window.form.size(), QSize(352, 239));
        QCOMPARE(window.form.minimumSize(), window.form.maximumSize());
        QVERIFY(!(window.form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window.form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(window.form.windowIcon().pixmap(32, 32).size(), QSize(32, 32));
        QCOMPARE(QFontInfo(window.form.font()).family(), "Liberation Sans");
        QVERIFY(window.form.font().bold());
        QLabel* question = window.get<QLabel>("Label2");
        QCOMPARE(QFontInfo(question->font()).family(), "Liberation Sans");
        QCOMPARE(question->font().pointSizeF(), 15.75);
        QCOMPARE(question->palette().color(QPalette::WindowText),
                 question->palette().color(QPalette::Highlight));
        QCOMPARE(QAccessible::queryAccessibleInterface(&window.form)->role(), QAccessible::Window);
    }

    void tabOrder() {
        Window window(memoryOpener(numberedEntries(3)));
        QStringList order;
        for (QWidget* widget = window.get("Command2"); order.size() < 9;
             widget = widget->nextInFocusChain()) {
            if (widget->focusPolicy() != Qt::NoFocus) {
                order << widget->objectName();
            }
        }
        QCOMPARE(order.join(' '),
                 "Command2 Command1 Text3 HScroll1 Text4 Text5 HScroll3 Text7 Command3");
    }

    // Both bars mirror into their fields; a later show starts nothing up again; only the range
    // field takes typing, and keeps what the engine makes of it.
    void barsAndFields() {
        Window window(memoryOpener(numberedEntries(1234)));
        auto* interval = window.get<QScrollBar>("HScroll1");
        QTest::mouseClick(interval, Qt::LeftButton, {},  // on the right arrow, as a user does
                          QPoint(interval->width() - 4, interval->height() / 2));
        QCOMPARE(window.text("Text4"), "3");
        window.get<QScrollBar>("HScroll3")->setValue(0);
        QCOMPARE(window.text("Text7"), "100");
        window.form.hide();
        window.form.show();
        QCOMPARE(window.text("Text4"), "3");
        QVERIFY(window.get<QLineEdit>("Text3")->isReadOnly());
        auto* range = window.get<QLineEdit>("Text7");
        range->selectAll();
        range->insert("1 234");  // as a paste puts it
        QCOMPARE(window.text("Text7"), "1234");
    }

    // The window's part of the drill: the range used written back, the bars, one timer armed
    // for the next due moment, the interval bar re-arming it, and closing.
    void theDrill() {
        Window window(memoryOpener(numberedEntries(1234)), {0.5, 0.0});
        window.typeRange("700");
        window.click("Command1");
        QCOMPARE(window.form.drillState().RangeSize, 700);
        QCOMPARE(window.text("Label2"), "en351");
        QVERIFY(!window.get("HScroll3")->isEnabled() && window.get("HScroll1")->isEnabled());
        QCOMPARE(window.get<QTimer>("cardTimer")->interval(), 1000);
        window.after(1s);
        QCOMPARE(window.text("Label3"), "ru351");
        window.get<QScrollBar>("HScroll1")->setValue(10);
        QCOMPARE(window.get<QTimer>("cardTimer")->interval(), 9000);

        QTimer::singleShot(0, &window.form, &QWidget::close);
        QTimer::singleShot(10'000, &window.form, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!window.form.isVisible() && !window.get<QTimer>("cardTimer")->isActive());
    }

    void aboutBoxHoldsTheDrill() {
        Window window(memoryOpener(numberedEntries(10)), {0.0, 0.5});
        QString shown;
        closeBoxSoon(shown, [] {});
        window.click("Command3");
        QCOMPARE(shown, kAboutBox);
        QVERIFY(window.text("Label2").isEmpty() && !window.get<QTimer>("cardTimer")->isActive());

        window.click("Command1");
        closeBoxSoon(shown, [&window] {
            // Longer than the interval passes while the box is open; the card stands still.
            window.clock.advance(3s);
            QVERIFY(!window.get<QTimer>("cardTimer")->isActive());
        });
        window.click("Command3");
        QCOMPARE(shown, kAboutBox);
        // Closed: the answer and the next card at once, against the same draw.
        QCOMPARE(window.text("Text3"), "6");
        QCOMPARE(window.text("Text5"), "2");
    }

    // Words as the file spells them: Windows-1251 decoded, markup shown as text and never run,
    // and words of 20 MB wrapped, shrunk and cut to fit their band.
    void wordsAreShownAsWritten() {
        const std::string endless(20 << 20, 'w');
        Window window(
            memoryOpener("<b>bold</b>$\xE4\xEE\xEC\r\n" + endless + " " + endless + "$short"),
            {0.0, 0.5});
        auto* question = window.get<QLabel>("Label2");
        window.click("Command1");
        QCOMPARE(question->text(), "<b>bold</b>");
        QCOMPARE(question->textFormat(), Qt::PlainText);
        window.after(1s);
        QCOMPARE(window.text("Label3"), "дом");
        window.after(1s);
        QVERIFY(question->text().endsWith(QChar(0x2026)));
        QCOMPARE(question->font().pointSizeF(), 9.0);
        // A restart the other way round: the short word gets the band's own font back.
        window.click("Command2");
        QCOMPARE(question->text(), "short");
        QCOMPARE(question->font().pointSizeF(), 15.75);
    }

    // Every message at start-up fits its band whole at 96 dpi, a long folder's name too.
    void messagesFitTheirBands() {
        using dictionary::OpenStatus;
        const dictionary::Whereabouts far{
            "/home/пользователь/Документы/Английский_язык/Слова_на_каждый_день/и_ещё_одна_папка",
            "engl.voc.txt"};
        for (const dictionary::SourceOpener& open :
             {failingOpener(OpenStatus::Missing, far),
              failingOpener(OpenStatus::Missing, {far.folder, ""}),
              failingOpener(OpenStatus::NotRegularFile), failingOpener(OpenStatus::NoPermission),
              failingOpener(OpenStatus::Busy), failingOpener(OpenStatus::ReadError),
              memoryOpener(""), memoryOpener("one\r\ntwo")}) {
            Window window(open);
            for (const char* band : {"Label2", "Label3"}) {
                QVERIFY2(!window.text(band).endsWith(QChar(0x2026)), qPrintable(window.text(band)));
            }
        }
    }

    // A word cut for its band is never cut inside a letter that takes two UTF-16 units.
    void bandsCutWholeLetters() {
        const QString word = "a" + QString::fromUtf8("\U0001D538").repeated(600);
        const ui::FittedText fitted = ui::fitToBand(word, QFont("Arial", 15), QSize(4000, 4000));
        QVERIFY(QStringView(fitted.text).isValidUtf16());
    }

    void qtOwnTextsAreRussian() {
        QMessageBox box(QMessageBox::Information, "", "", QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text().remove('&'), "Отмена");
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
