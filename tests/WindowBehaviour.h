#pragma once

// One table of what the window does, run against each toolkit's window through a small driver of
// its own: find a control by its design name, read it, click it, move a bar, paste, fire the
// timer. What the engine decides is tested with the engine; here only that each window wires it.
#include <doctest/doctest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "DrillFakes.h"

struct WindowDriver {
    virtual ~WindowDriver() = default;
    virtual std::string title() = 0;
    // A control's place in the client area at 96 dpi, "left,top,width x height"; the client area's
    // for none.
    virtual std::string place(std::optional<form::Control> id) = 0;
    // A control's text; a band's as it draws it, its lines apart by "\n"; a bar's
    // "minimum..maximum@value".
    virtual std::string text(form::Control id) = 0;
    virtual double points(form::Control band) = 0;
    virtual bool enabled(form::Control id) = 0;
    virtual std::string tabOrder() = 0;  // the names Tab goes through from Command2, once round
    virtual void click(form::Control button) = 0;
    virtual void stepRight(form::Control bar) = 0;  // a click on its right arrow
    virtual void drag(form::Control bar, int value) = 0;
    virtual void paste(form::Control field, std::string_view text) = 0;
    virtual std::optional<int> timerWait() = 0;  // in ms; none while it is stopped
    virtual void fireTimer() = 0;
    // Clicks the About button, runs `whileOpen` while the box is open, and closes the box; what it
    // showed: "title|text".
    virtual std::string about(const std::function<void()>& whileOpen) = 0;
    // Closes the window as a user does: true once it is gone and the program ends with 0.
    virtual bool close() = 0;
};

// A window over a dictionary, on the test's clock and draws.
using MakeWindow = std::function<std::unique_ptr<WindowDriver>(drill::Sources)>;

inline void checkWindowBehaviour(const MakeWindow& make) {
    using form::Control;
    using namespace std::chrono_literals;
    ManualClock clock;
    ScriptedRandom random;
    const auto window = [&](std::string file, std::vector<double> draws = {}) {
        random.values = std::move(draws);
        random.drawn = 0;
        return make({memoryOpener(std::move(file)), &clock, &random});
    };
    const auto after = [&clock](WindowDriver& shown, std::chrono::milliseconds step) {
        clock.advance(step);
        REQUIRE(shown.timerWait());
        shown.fireTimer();
    };

    SUBCASE("the design laid out, at start-up") {
        const auto shown = window(numberedEntries(1234));
        CHECK(shown->title() == "Вокабунта 1.0 (5.9.2003)");
        std::string places = shown->place(std::nullopt) + " ", texts;
        for (const form::ControlDesign& design : form::kControls) {
            places += shown->place(design.id) + " ";
            texts += shown->text(design.id) + "|";
        }
        CHECK(places ==
              "0,0,352x239 0,0,353x40 0,48,353x40 8,96,161x33 184,96,161x33 0,136,89x33 "
              "96,136,81x33 192,144,97x17 288,144,57x19 192,176,97x17 288,176,57x19 0,184,89x17 "
              "96,184,81x17 184,208,161x25 16,216,57x19 112,216,49x19 ");
        CHECK(texts ==
              "||Русско-английский|Англо-русский|Интервал в секундах|Словарный диапазон|"
              "№ по порядку||№ в словаре||2..10@2|100..1234@1234|О программе|2|1234|");
        CHECK(shown->tabOrder() ==
              "Command2 Command1 Text3 HScroll1 Text4 Text5 HScroll3 Text7 Command3 Command2 ");
    }

    SUBCASE("every message at start-up fits its band whole, a long folder's name too") {
        using dictionary::OpenStatus;
        const dictionary::Whereabouts distant{
            "C:\\Users\\пользователь\\Documents\\Английский_язык\\Слова_на_каждый_день\\"
            "и_ещё_одна_папка",
            "engl.voc.txt"};
        for (const dictionary::SourceOpener& open :
             {failingOpener(OpenStatus::Missing, distant),
              failingOpener(OpenStatus::NotRegularFile), failingOpener(OpenStatus::NoPermission),
              failingOpener(OpenStatus::Busy), failingOpener(OpenStatus::ReadError),
              memoryOpener(""), memoryOpener("one\r\ntwo")}) {
            const auto shown = make({open, &clock, &random});
            for (const Control band : {Control::Label2, Control::Label3}) {
                CHECK(!shown->text(band).ends_with("…"));
            }
        }
    }

    SUBCASE("the drill: bars and range, one timer for the next due moment, About box, closing") {
        const auto shown = window(numberedEntries(1234), {0.5, 0.0});
        for (int click = 0; click < 9; ++click) {
            shown->stepRight(Control::HScroll1);  // stops at 10
        }
        shown->drag(Control::HScroll3, 100);
        CHECK(shown->text(Control::Text4) + " " + shown->text(Control::Text7) == "10 100");
        shown->paste(Control::Text7, "1 000");  // grouped, as copied from elsewhere
        shown->click(Control::Command1);
        CHECK((!shown->enabled(Control::HScroll3) && shown->enabled(Control::HScroll1)));
        CHECK(shown->timerWait() == 5000);
        after(*shown, 5s);
        CHECK(shown->text(Control::Label3) == "ru501");
        shown->drag(Control::HScroll1, 8);
        CHECK(shown->timerWait() == 3000);
        // Once the box is closed, the card that fell due while it was open shows at once.
        CHECK(shown->about([&] {
            clock.advance(3s);
            CHECK(!shown->timerWait());
        }) == "Информация|Вокабунта\nI версия\nАвтор: Зельвиран\n5.09.2003г.");
        CHECK(shown->text(Control::Text3) + " " + shown->text(Control::Text5) == "1 2");
        CHECK(shown->close());
    }

    SUBCASE("words fitted to their band") {
        const std::string phrase = "with some spaces in between, and a few more words";
        const auto shown =
            window("a&b $\xE4\xEE\xEC\r\n" + phrase + "$y\r\nshort$x", {0.0, 0.5, 0.9});
        shown->click(Control::Command1);
        CHECK(shown->text(Control::Label2) == "a&b ");  // as written: no markup, no mnemonic
        after(*shown, 1s);
        CHECK(shown->text(Control::Label3) == "дом");
        after(*shown, 1s);
        std::string lines = shown->text(Control::Label2);
        CHECK(lines.find('\n') != std::string::npos);
        std::replace(lines.begin(), lines.end(), '\n', ' ');
        CHECK(lines == phrase);
        CHECK(shown->points(Control::Label2) < form::kBandFont.points);
        shown->click(Control::Command2);
        CHECK(shown->text(Control::Label2) == "x");
        CHECK(shown->points(Control::Label2) == form::kBandFont.points);
    }
}
