#include <QAbstractButton>
#include <QAccessible>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "DrillFakes.h"
#include "TestSources.h"
#include "ui/Form1.h"
#include "ui/QtTranslations.h"

using namespace std::chrono_literals;

namespace {

// A shown window over a dictionary, on a clock and draws the test controls.
struct Window {
    explicit Window(dictionary::SourceOpener open) : form(std::move(open), &clock, &random) {
        form.show();
    }
    template <class T>
    T* get(const char* name) {
        T* widget = form.findChild<T*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            qFatal("no control %s", name);
        }
        return widget;
    }
    QString text(const char* name) {
        if (auto* label = form.findChild<QLabel*>(QString::fromLatin1(name))) {
            return label->text();
        }
        return get<QLineEdit>(name)->text();
    }
    void click(const char* name) { QTest::mouseClick(get<QPushButton>(name), Qt::LeftButton); }
    // Lets the card timer fire now, after the test has moved the clock.
    void fireCardTimer() {
        auto* timer = get<QTimer>("cardTimer");
        QVERIFY(timer->isActive());
        QSignalSpy fired(timer, &QTimer::timeout);
        timer->start(0);
        QVERIFY(fired.wait());
    }

    ManualClock clock;
    ScriptedRandom random;
    ui::Form1 form;
};

// Clicks OK in the next modal box, after checking it is the About box and running `whileOpen`.
void closeAboutBoxSoon(
    bool& seen, std::function<void()> whileOpen = [] {}) {
    QTimer::singleShot(0, [&seen, whileOpen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        QCOMPARE(box->windowTitle(), QStringLiteral("Информация"));
        QCOMPARE(box->icon(), QMessageBox::Information);
        QCOMPARE(box->text(), QStringLiteral("Вокабунта\nI версия\nАвтор: Зельвиран\n5.09.2003г."));
        QCOMPARE(box->buttons().size(), 1);
        whileOpen();
        seen = true;
        box->button(QMessageBox::Ok)->click();
    });
}

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");  // the design's twips over 15
        QTest::addColumn<QString>("text");

        QTest::newRow("Label2") << "Label2" << QRect(0, 0, 353, 40) << "";
        QTest::newRow("Label3") << "Label3" << QRect(0, 48, 353, 40) << "";
        QTest::newRow("Command2") << "Command2" << QRect(8, 96, 161, 33) << "Русско-английский";
        QTest::newRow("Command1") << "Command1" << QRect(184, 96, 161, 33) << "Англо-русский";
        QTest::newRow("Label1_2") << "Label1_2" << QRect(0, 136, 89, 33) << "Интервал в секундах";
        QTest::newRow("Label1_0") << "Label1_0" << QRect(96, 136, 81, 33) << "Словарный диапазон";
        QTest::newRow("Label1_4") << "Label1_4" << QRect(192, 144, 97, 17) << "№ по порядку";
        QTest::newRow("Text5") << "Text5" << QRect(288, 144, 57, 19) << "";
        QTest::newRow("Label1_3") << "Label1_3" << QRect(192, 176, 97, 17) << "№ в словаре";
        QTest::newRow("Text3") << "Text3" << QRect(288, 176, 57, 19) << "";
        QTest::newRow("HScroll1") << "HScroll1" << QRect(0, 184, 89, 17) << "";
        QTest::newRow("HScroll3") << "HScroll3" << QRect(96, 184, 81, 17) << "";
        QTest::newRow("Command3") << "Command3" << QRect(184, 208, 161, 25) << "О программе";
        QTest::newRow("Text4") << "Text4" << QRect(16, 216, 57, 19) << "2";
        QTest::newRow("Text7") << "Text7" << QRect(112, 216, 49, 19) << "1234";
    }

    void controls() {
        QFETCH(QString, name);
        Window window(memoryOpener(numberedEntries(1234)));
        auto* control = window.form.findChild<QWidget*>(name);
        QVERIFY(control != nullptr);
        QTEST(control->geometry(), "geometry");
        QVERIFY(!control->accessibleDescription().isEmpty());
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            QTEST(button->text(), "text");
        } else if (!name.startsWith("HScroll")) {
            QTEST(window.text(name.toLatin1().constData()), "text");
        }
    }

    void window() {
        Window window(memoryOpener(numberedEntries(3)));
        QCOMPARE(window.form.windowTitle(), QStringLiteral("Вокабунта 1.0 (5.9.2003)"));
        QCOMPARE(window.form.size(), QSize(352, 239));
        QCOMPARE(window.form.minimumSize(), window.form.maximumSize());
        QVERIFY(!(window.form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window.form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(window.form.windowIcon().pixmap(32, 32).size(), QSize(32, 32));

        const QFontInfo small(window.form.font());
        QCOMPARE(small.family(), QStringLiteral("Liberation Sans"));
        QVERIFY(small.bold());
        auto* question = window.get<QLabel>("Label2");
        QCOMPARE(QFontInfo(question->font()).family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(question->font().pointSizeF(), 15.75);
        QCOMPARE(question->palette().color(QPalette::WindowText),
                 question->palette().color(QPalette::Highlight));
        for (const char* label :
             {"Label2", "Label3", "Label1_0", "Label1_2", "Label1_3", "Label1_4"}) {
            QVERIFY(window.get<QLabel>(label)->alignment() & Qt::AlignHCenter);
        }
    }

    void tabOrder() {
        Window window(memoryOpener(numberedEntries(3)));
        QStringList order;
        QWidget* widget = window.get<QWidget>("Command2");
        for (int i = 0; i < 9; ++i, widget = widget->nextInFocusChain()) {
            while (widget->focusPolicy() == Qt::NoFocus) {
                widget = widget->nextInFocusChain();
            }
            order << widget->objectName();
        }
        QCOMPARE(order, (QStringList{"Command2", "Command1", "Text3", "HScroll1", "Text4", "Text5",
                                     "HScroll3", "Text7", "Command3"}));
    }

    void startUp() {
        Window window(memoryOpener(numberedEntries(1234)));
        auto* range = window.get<QScrollBar>("HScroll3");
        QCOMPARE(range->minimum(), 100);
        QCOMPARE(range->maximum(), 1234);
        QCOMPARE(range->value(), 1234);
        QVERIFY(range->isEnabled());
        QCOMPARE(window.text("Text7"), QStringLiteral("1234"));
        QCOMPARE(window.text("Text4"), QStringLiteral("2"));
        QCOMPARE(window.form.drillState().SeqNo, 1);
        QCOMPARE(window.form.drillState().EntryCount, 1234);
        for (const char* empty : {"Label2", "Label3", "Text3", "Text5"}) {
            QVERIFY2(window.text(empty).isEmpty(), empty);
        }
        QVERIFY(window.get<QLineEdit>("Text3")->isReadOnly());
        QVERIFY(!window.get<QLineEdit>("Text7")->isReadOnly());
    }

    void fewerThanAHundredEntries() {
        Window window(memoryOpener(numberedEntries(42)));
        auto* range = window.get<QScrollBar>("HScroll3");
        QCOMPARE(range->minimum(), 42);
        QCOMPARE(range->maximum(), 42);
        QCOMPARE(range->value(), 42);
    }

    void startUpRunsOnce() {
        int opens = 0;
        auto open = memoryOpener(numberedEntries(5));
        Window window([&] {
            ++opens;
            return open();
        });
        window.get<QScrollBar>("HScroll1")->setValue(5);
        window.form.hide();
        window.form.show();
        QCOMPARE(opens, 1);
        QCOMPARE(window.text("Text4"), QStringLiteral("5"));
    }

    void barsMirrorIntoFields() {
        Window window(memoryOpener(numberedEntries(1234)));
        auto* interval = window.get<QScrollBar>("HScroll1");
        // A click on the right arrow, as a user moves it.
        QTest::mouseClick(interval, Qt::LeftButton, {},
                          QPoint(interval->width() - 4, interval->height() / 2));
        QCOMPARE(interval->value(), 3);
        QCOMPARE(window.text("Text4"), QStringLiteral("3"));
        interval->setValue(7);
        QCOMPARE(window.text("Text4"), QStringLiteral("7"));
        window.get<QScrollBar>("HScroll3")->setValue(600);
        QCOMPARE(window.text("Text7"), QStringLiteral("600"));
    }

    void rangeFieldTakesDigitsOnly() {
        Window window(memoryOpener(numberedEntries(1234)));
        auto* range = window.get<QLineEdit>("Text7");
        range->clear();
        QTest::keyClicks(range, "1x2-");
        QCOMPARE(range->text(), QStringLiteral("12"));
    }

    void unusableDictionary_data() {
        QTest::addColumn<QString>("file");  // "missing", "folder", "unreadable" or the content
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("remedy");

        QTest::newRow("missing") << "missing"
                                 << "Нет словаря engl.voc в текущей папке"
                                 << "Запустите программу из папки, где лежит engl.voc";
        QTest::newRow("a folder") << "folder"
                                  << "engl.voc здесь — не файл словаря"
                                  << "Положите вместо него текстовый файл engl.voc";
        QTest::newRow("read error") << "unreadable"
                                    << "Не удалось прочитать engl.voc"
                                    << "Проверьте файл и диск и запустите программу снова";
        QTest::newRow("empty") << ""
                               << "Словарь engl.voc пуст"
                               << "Запишите в него строки вида apple$яблоко и запустите "
                                  "программу снова";
        QTest::newRow("only empty lines") << "\r\n\r\n"
                                          << "В engl.voc нет ни одной пары со знаком $"
                                          << "Запишите строки вида apple$яблоко и запустите "
                                             "программу снова";
        QTest::newRow("no $ anywhere") << "one\r\ntwo\r\n"
                                       << "В engl.voc нет ни одной пары со знаком $"
                                       << "Запишите строки вида apple$яблоко и запустите "
                                          "программу снова";
    }

    void unusableDictionary() {
        QFETCH(QString, file);
        using dictionary::OpenStatus;
        const dictionary::SourceOpener open =
            file == "missing"      ? failingOpener(OpenStatus::Missing)
            : file == "folder"     ? failingOpener(OpenStatus::NotRegularFile)
            : file == "unreadable" ? memoryOpener("a$b\r\n", 2)
                                   : memoryOpener(file.toStdString());
        Window window(open);
        // The bands carry the whole message, on as many lines and in as small a font as needed.
        QTEST(window.text("Label2").replace('\n', ' '), "problem");
        QTEST(window.text("Label3").replace('\n', ' '), "remedy");
        QVERIFY(window.get<QLabel>("Label3")->wordWrap());
        QCOMPARE(window.text("Text7"), QStringLiteral("0"));
        for (const char* off : {"HScroll3", "Command1", "Command2"}) {
            QVERIFY2(!window.get<QWidget>(off)->isEnabled(), off);
        }
        QVERIFY(window.get<QWidget>("Command3")->isEnabled());
    }

    void dictionaryTooLargeForMemory() {
        // Counted fine, but loading the range asked for runs out of memory: the user is told to
        // ask for less, and a later click tries again.
        auto loads = std::make_shared<int>(0);
        Window window([loads] {
            return ++*loads == 2 ? exhaustingOpener()() : memoryOpener(numberedEntries(10))();
        });
        window.click("Command1");
        QCOMPARE(window.text("Label2").replace('\n', ' '),
                 QStringLiteral("Словарь engl.voc не помещается в память"));
        QVERIFY(!window.form.drillState().Loaded);
        window.get<QLineEdit>("Text7")->setText("5");
        window.click("Command1");
        QVERIFY(window.form.drillState().Loaded);
        QCOMPARE(window.form.drillState().RangeSize, 5);
    }

    void directionClickRunsTheDrill() {
        Window window(memoryOpener(numberedEntries(1234)));
        window.random.queue({0.5, 0.0});
        window.click("Command1");
        QCOMPARE(window.text("Text3"), QStringLiteral("618"));
        QCOMPARE(window.text("Text5"), QStringLiteral("1"));
        QCOMPARE(window.text("Label2"), QStringLiteral("en618"));
        QCOMPARE(window.text("Label3"), QString());
        QVERIFY(!window.get<QScrollBar>("HScroll3")->isEnabled());
        QVERIFY(window.get<QScrollBar>("HScroll1")->isEnabled());
        QCOMPARE(window.get<QTimer>("cardTimer")->interval(), 1000);

        window.clock.advance(1s);
        window.fireCardTimer();
        QCOMPARE(window.text("Label3"), QStringLiteral("ru618"));
        QCOMPARE(window.get<QTimer>("cardTimer")->interval(), 1000);
        window.clock.advance(1s);
        window.fireCardTimer();
        QCOMPARE(window.text("Text3"), QStringLiteral("1"));
        QCOMPARE(window.text("Text5"), QStringLiteral("2"));
        QCOMPARE(window.text("Label2"), QStringLiteral("en1"));

        // The interval bar acts on the card shown at once: 10, then back to 2 three seconds in.
        window.get<QScrollBar>("HScroll1")->setValue(10);
        QCOMPARE(window.get<QTimer>("cardTimer")->interval(), 5000);
        window.clock.advance(3s);
        window.get<QScrollBar>("HScroll1")->setValue(2);
        QCOMPARE(window.text("Text5"), QStringLiteral("3"));
        QCOMPARE(window.text("Label3"), QString());
        window.click("Command2");
        QCOMPARE(window.text("Text5"), QStringLiteral("3"));
        QCOMPARE(window.text("Label2"), QStringLiteral("ru1"));
    }

    void rangeFieldIsMadeSound_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("used");
        QTest::newRow("nothing") << ""
                                 << "1234";
        QTest::newRow("text") << "abc"
                              << "1234";
        QTest::newRow("zero") << "0"
                              << "1";
        QTest::newRow("negative") << "-3"
                                  << "1";
        QTest::newRow("beyond the file") << "99999"
                                         << "1234";
    }

    void rangeFieldIsMadeSound() {
        QFETCH(QString, typed);
        Window window(memoryOpener(numberedEntries(1234)));
        window.random.queue({0.9999999});
        window.get<QLineEdit>("Text7")->setText(typed);
        window.click("Command1");
        QTEST(window.text("Text7"), "used");
        QCOMPARE(window.text("Text3"), window.text("Text7"));
    }

    void aboutBoxHoldsTheDrill() {
        Window window(memoryOpener(numberedEntries(10)));
        window.random.queue({0.0, 0.5});
        window.click("Command1");
        bool seen = false;
        closeAboutBoxSoon(seen, [&window] {
            // Longer than the interval passes while the box is open; the card stands still.
            window.clock.advance(3s);
            QVERIFY(!window.get<QTimer>("cardTimer")->isActive());
            QTest::qWait(20);
            QCOMPARE(window.text("Label3"), QString());
            QCOMPARE(window.text("Text5"), QStringLiteral("1"));
        });
        window.click("Command3");
        QVERIFY(seen);
        // Closed: the answer and the next card at once, against the same draw.
        QCOMPARE(window.text("Text3"), QStringLiteral("6"));
        QCOMPARE(window.text("Text5"), QStringLiteral("2"));
        QCOMPARE(window.text("Label3"), QString());
    }

    void aboutBoxBeforeAnyDrill() {
        Window window(memoryOpener(numberedEntries(10)));
        bool seen = false;
        closeAboutBoxSoon(seen);
        window.click("Command3");
        QVERIFY(seen);
        QCOMPARE(window.text("Text7"), QStringLiteral("10"));
        QVERIFY(window.text("Label2").isEmpty());
        QVERIFY(!window.get<QTimer>("cardTimer")->isActive());
    }

    void longWordsFitTheBand() {
        // A word longer than the band, and words that wrap past it, each 20 MB.
        const std::string endless(20 << 20, 'w');
        Window window(memoryOpener("short$" + endless + "\r\n" + endless + " " + endless + "$x"));
        window.random.queue({0.0, 0.9});
        auto* question = window.get<QLabel>("Label2");
        const auto checkFitted = [question] {
            QVERIFY(question->text().endsWith(QChar(0x2026)));
            QCOMPARE(question->font().pointSizeF(), 9.0);
            const QFontMetrics metrics(question->font());
            for (const QString& line : question->text().split('\n')) {
                QVERIFY(metrics.horizontalAdvance(line) <= question->width());
            }
            QVERIFY(metrics.lineSpacing() * (question->text().count('\n') + 1) <=
                    question->height());
        };
        window.click("Command2");
        checkFitted();
        window.clock.advance(1s);
        window.fireCardTimer();
        QCOMPARE(window.text("Label3"), QStringLiteral("short"));
        QCOMPARE(question->font().pointSizeF(), 9.0);
        window.click("Command1");
        QCOMPARE(window.text("Text3"), QStringLiteral("2"));
        checkFitted();
        // The next short word gets the band's own font back.
        window.clock.advance(1s);
        window.fireCardTimer();
        QCOMPARE(window.text("Label3"), QStringLiteral("x"));
        QCOMPARE(window.get<QLabel>("Label3")->font().pointSizeF(), 15.75);
    }

    // What a screen reader reads follows what the window shows.
    void assistiveTechnologyReadsTheCard() {
        Window window(memoryOpener(numberedEntries(10)));
        window.random.queue({0.2});
        window.click("Command1");
        window.clock.advance(1s);
        window.fireCardTimer();
        const auto read = [&window](const char* name, QAccessible::Text part) {
            return QAccessible::queryAccessibleInterface(window.get<QWidget>(name))->text(part);
        };
        QCOMPARE(read("Label2", QAccessible::Name), QStringLiteral("en3"));
        QCOMPARE(read("Label3", QAccessible::Name), QStringLiteral("ru3"));
        QCOMPARE(read("Text3", QAccessible::Value), QStringLiteral("3"));
        QCOMPARE(read("Text5", QAccessible::Value), QStringLiteral("1"));
        QCOMPARE(read("Label3", QAccessible::Description), QStringLiteral("Перевод"));
        // Screen readers announce a window, with its title, only when it is a frame.
        const QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(&window.form);
        QCOMPARE(frame->role(), QAccessible::Window);
        QCOMPARE(frame->text(QAccessible::Name), QStringLiteral("Вокабунта 1.0 (5.9.2003)"));
    }

    void closingEndsTheProgram() {
        Window window(memoryOpener(numberedEntries(10)));
        window.click("Command1");
        // Closed in the middle of a card, from inside the running program: its event loop ends.
        bool stuck = false;
        QTimer::singleShot(0, &window.form, &QWidget::close);
        QTimer::singleShot(10'000, [&stuck] {
            stuck = true;
            QCoreApplication::exit(1);
        });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!stuck);
        QVERIFY(!window.form.isVisible());
        QVERIFY(!window.get<QTimer>("cardTimer")->isActive());
        QCOMPARE(window.text("Label3"), QString());
    }

    // Words as the file spells them: Windows-1251 decoded, markup shown as text, never run.
    void wordsAreShownAsWritten() {
        Window window(memoryOpener("<b>bold</b> x$\xE4\xEE\xEC\r\nx$<img src=\"/dev/zero\">"));
        window.random.queue({0.0, 0.9});
        window.click("Command1");
        QCOMPARE(window.text("Label2"), QStringLiteral("<b>bold</b> x"));
        QCOMPARE(window.get<QLabel>("Label2")->textFormat(), Qt::PlainText);
        window.clock.advance(1s);
        window.fireCardTimer();
        QCOMPARE(window.text("Label3"), QStringLiteral("дом"));
        window.clock.advance(1s);
        window.fireCardTimer();
        window.clock.advance(1s);
        window.fireCardTimer();
        QCOMPARE(window.text("Label3"), QStringLiteral("<img src=\"/dev/zero\">"));
    }

    // Last: it changes the application's language for good.
    void qtOwnTextsAreRussian() {
        QVERIFY(ui::installQtRussian(*qApp));
        Window window(memoryOpener(numberedEntries(3)));
        QMessageBox box(QMessageBox::Information, "", "", QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text().remove('&'), QStringLiteral("Отмена"));
        std::unique_ptr<QMenu> menu(window.get<QLineEdit>("Text7")->createStandardContextMenu());
        QStringList entries;
        for (const QAction* action : menu->actions()) {
            entries << action->text();
        }
        QVERIFY2(entries.join(' ').contains(QStringLiteral("Копировать")),
                 qPrintable(entries.join(' ')));
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
