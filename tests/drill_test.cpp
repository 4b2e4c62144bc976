#include <doctest/doctest.h>

#include <set>

#include "DrillEngine.h"
#include "DrillFakes.h"
#include "RangeSize.h"

using namespace std::chrono_literals;
using dictionary::OpenStatus;
using drill::Event;
using form::Control;
using form::Problem;

namespace {

// An engine over a dictionary, by default "en1$ru1" to "en10$ru10", started up as the window
// does when it is first shown.
struct Rig {
    explicit Rig(std::vector<double> draws = {},
                 dictionary::SourceOpener open = memoryOpener(numberedEntries(10)),
                 form::Wording wording = form::Wording::Folder)
        : engine(frontend, {std::move(open), &clock, &random, wording}) {
        random.values = std::move(draws);
        engine.input({Event::Activate});
    }
    // Forwards an input, as a window does; returns what the engine showed for it.
    std::string input(drill::Input input) {
        engine.input(input);
        return frontend.take();
    }
    std::string click(Control button) { return input({Event::Click, button}); }
    std::string type(std::string_view text) {
        return input({Event::Change, Control::Text7, 0, text});
    }
    std::string interval(int seconds) { return input({Event::Change, Control::HScroll1, seconds}); }
    // Moves the clock on and fires the timer; returns what the engine showed meanwhile.
    std::string after(std::chrono::milliseconds step) {
        clock.advance(step);
        return input({Event::Timer});
    }
    ManualClock clock;
    ScriptedRandom random;
    RecordingFrontend frontend;
    drill::DrillEngine engine;
};

// The two bands saying what is wrong and what to do.
std::string said(Problem problem) {
    const form::Message message = form::message(problem);
    return "Label2=" + std::string(message.problem) + "|Label3=" + std::string(message.remedy);
}

const std::string kCannotStart = "HScroll3=0..0@0|Text7=0|HScroll3 off|Command1 off|Command2 off|";

}  // namespace

// Start-up where no run can start: the interval field, and why, with the range bar and both
// direction buttons off. (One that can: in "range in use".)
TEST_CASE("start-up") {
    const auto startsUp = [](std::string_view name, dictionary::SourceOpener open,
                             const std::string& shown) {
        INFO(name);
        Rig rig({}, std::move(open));
        CHECK(rig.frontend.take() == "Text4=2|" + shown);
    };
    // Where there is no engl.voc: the folder looked in, a long one shortened in the middle, and
    // a file there that Notepad saved in its place.
    const std::string longFolder = "C:\\Users\\Иван\\Мои документы\\Английский язык\\Вокабунта";
    startsUp("missing", failingOpener(OpenStatus::Missing, {"/home/ivan", ""}),
             kCannotStart +
                 "Label2=В папке /home/ivan нет engl.voc|"
                 "Label3=Запустите программу из папки, где лежит engl.voc");
    startsUp("missing from a long path",
             failingOpener(OpenStatus::Missing, {longFolder, "engl.voc.txt"}),
             kCannotStart +
                 "Label2=В папке C:\\…\\Английский язык\\Вокабунта нет engl.voc|"
                 "Label3=Там есть engl.voc.txt: переименуйте его в engl.voc и "
                 "запустите программу снова");
    startsUp("asked to open another file",
             failingOpener(OpenStatus::NotDictionary, {"", "слова.txt"}),
             kCannotStart +
                 "Label2=слова.txt — не словарь engl.voc|"
                 "Label3=Вокабунта открывает только файлы с именем engl.voc");
    startsUp("not a file", failingOpener(OpenStatus::NotRegularFile),
             kCannotStart + said(Problem::NotRegularFile));
    startsUp("no permission", failingOpener(OpenStatus::NoPermission),
             kCannotStart + said(Problem::NoPermission));
    startsUp("read error", failingOpener(OpenStatus::ReadError),
             kCannotStart + said(Problem::ReadError));
    startsUp("empty", memoryOpener(""), kCannotStart + said(Problem::Empty));
    startsUp("no separator", memoryOpener("one\r\ntwo"), kCannotStart + said(Problem::NoPairs));
}

// What goes wrong only at the first click is said, and the next click tries again.
TEST_CASE("a start that fails") {
    const auto fails = [](std::string_view name, dictionary::SourceOpener atClick,
                          const std::string& shown) {
        INFO(name);
        int pass = 0;
        const dictionary::SourceOpener works = memoryOpener(numberedEntries(10));
        Rig rig({}, [&] { return ++pass == 2 ? atClick() : works(); });
        rig.frontend.take();
        CHECK(rig.click(Control::Command1) == "HScroll3 off|" + shown + "|wake none");
        rig.type("5");
        CHECK(rig.click(Control::Command1) ==
              "HScroll3 off|Text7=5|Text3=1|Text5=1|Label2=en1|Label3=|wake@1000");
    };
    fails("out of memory", memoryOpener("", 0, /*exhausts=*/true), said(Problem::OutOfMemory));
    fails("emptied", memoryOpener(""), said(Problem::Emptied));
    fails("busy", failingOpener(OpenStatus::Busy), said(Problem::Busy));
}

// A file held by another program at start-up: the buttons stay on, and each click counts it
// afresh; once it is free, a click starts, with the range typed meanwhile or else all of it.
TEST_CASE("busy, then free") {
    for (const std::string typed : {"", "2"}) {
        INFO(typed);
        bool busy = true;
        const dictionary::SourceOpener free = memoryOpener(numberedEntries(3));
        Rig rig({0.9}, [&] { return busy ? failingOpener(OpenStatus::Busy)() : free(); });
        const std::string held = "HScroll3=0..0@0|HScroll3 off|Text7=|" + said(Problem::Busy);
        CHECK(rig.frontend.take() == "Text4=2|" + held);
        CHECK(rig.click(Control::Command1) == "HScroll3 off|" + held + "|wake none");
        rig.type(typed);
        busy = false;
        const std::string range = typed.empty() ? "3" : typed;
        CHECK(rig.click(Control::Command1) ==
              "HScroll3 off|HScroll3=3..3@3|" + std::string(typed.empty() ? "Text7=3|" : "") +
                  "Text7=" + range + "|Text3=" + range + "|Text5=1|Label2=en" + range +
                  "|Label3=|wake@1000");
    }
}

// The dictionary number first, then the running number and the question; the answer at half
// the interval and the next card at the whole of it, both from the draw, and nothing a
// millisecond before.
TEST_CASE("card timing") {
    Rig rig({0.45, 0.05});
    rig.frontend.take();
    CHECK(rig.interval(10) == "Text4=10|wake none");
    CHECK(rig.click(Control::Command1) ==
          "HScroll3 off|Text7=10|Text3=5|Text5=1|Label2=en5|Label3=|wake@5000");
    CHECK(rig.after(4999ms) == "wake@5000");
    CHECK(rig.after(1ms) == "Label3=ru5|wake@10000");
    CHECK(rig.after(4999ms) == "wake@10000");
    CHECK(rig.after(1ms) == "Text3=1|Text5=2|Label2=en1|Label3=|wake@15000");
    // The timer's wait is rounded up, so it never fires before the card is due.
    rig.clock.advance(1500us);
    CHECK(rig.engine.waitUntil(rig.clock.start() + 15s) == 4999ms);
    CHECK(rig.engine.waitUntil(rig.clock.start()) == 0ms);
}

// Moving the interval from 10 to 2 three seconds after the draw shows the answer and the next
// card at once; a restart abandons the card shown and keeps its running number.
TEST_CASE("interval and restart") {
    Rig rig({0.0, 0.5, 0.9});
    rig.interval(10);
    rig.click(Control::Command1);
    rig.clock.advance(3s);
    CHECK(rig.interval(2) == "Text4=2|Label3=ru1|Text3=6|Text5=2|Label2=en6|Label3=|wake@4000");
    CHECK(rig.click(Control::Command2) ==
          "HScroll3 off|Text7=10|Text3=10|Text5=2|Label2=ru10|Label3=|wake@4000");
    CHECK(rig.after(1s) == "Label3=en10|wake@5000");
    // In the answer: the next card keeps to the new interval.
    CHECK(rig.interval(4) == "Text4=4|wake@7000");
}

// The About box holds the card still, for a box that says later that it was closed; once it
// is, what fell due meanwhile shows at once. (A box that returns once it is closed is the
// modal one of the Qt and Win32 windows, whose tests hold the card through it.)
TEST_CASE("the About box holds the card") {
    Rig rig({0.0, 0.5});
    rig.click(Control::Command1);
    CHECK(rig.click(Control::Command3) == "wake none|About");
    CHECK(rig.click(Control::Command3).empty());  // open already
    CHECK(rig.after(5s) == "wake none");          // a timer that fired all the same
    CHECK(rig.input({Event::AboutClosed}) ==
          "Label3=ru1|Text3=6|Text5=2|Label2=en6|Label3=|wake@6000");
}

// A window where the user picks the file: its own words before there is one, and each file
// picked starts the drill up anew, the interval kept.
TEST_CASE("a picked file") {
    Rig rig({0.0}, failingOpener(OpenStatus::Missing), form::Wording::PickedFile);
    CHECK(rig.frontend.take() == "Text4=2|" + kCannotStart +
                                     "Label2=Файл со словами ещё не выбран|"
                                     "Label3=Выберите его или перетащите в это окно");
    rig.interval(4);
    rig.engine.open(memoryOpener(numberedEntries(3)));
    rig.click(Control::Command1);
    rig.after(4s);
    rig.engine.open(memoryOpener("a$b"));
    CHECK(rig.frontend.take() ==
          "HScroll3 on|Command1 on|Command2 on|Text3=|Text5=|wake none|"
          "HScroll3=1..1@1|Text7=1|Label2=|Label3=");
    CHECK(rig.click(Control::Command2) ==
          "HScroll3 off|Text7=1|Text3=1|Text5=1|Label2=b|Label3=|wake@6000");
}

// Start-up sets the range bar and field to the count, the bar's minimum brought down to it. The
// range asked for by the bar or by typing; the lists hold the first range asked for, and later
// clicks cannot pass them. A generator that returns 1 still draws inside the range. An input
// that means nothing does nothing.
TEST_CASE("range in use, and inputs that mean nothing") {
    Rig rig({1.0});
    CHECK(rig.frontend.take() == "Text4=2|HScroll3=10..10@10|Text7=10");
    CHECK(rig.input({Event::Change, Control::HScroll3, 4}) == "Text7=4");
    CHECK(rig.input({Event::Activate}).empty());  // the window shown again: nothing starts anew
    rig.click(Control::Command1);
    CHECK(rig.click(Control::Text3).empty());
    CHECK(rig.input({Event::Change, Control::Text4, 0, "7"}).empty());
    CHECK(rig.engine.state().WordIndex == 4);
    rig.type("8");
    CHECK(rig.click(Control::Command2).starts_with("HScroll3 off|Text7=4|"));
    // The field keeps only the digits of what arrives in it.
    CHECK(rig.type("1 2") == "Text7=12");
    rig.type("2");
    rig.click(Control::Command2);
    CHECK(rig.engine.state().RangeSize == 2);
}

// A file that lost lines between start-up and the click: the range is what it holds now. Its
// last word, a megabyte long, is decoded only as far as a band can show it.
TEST_CASE("a file that shrank, to a huge word") {
    int pass = 0;
    const std::string huge(1 << 20, 'w');
    Rig rig({0.99}, [&] {
        return memoryOpener(++pass == 1 ? numberedEntries(10) : numberedEntries(2) + huge + "$x")();
    });
    rig.frontend.take();
    CHECK(rig.click(Control::Command1) == "HScroll3 off|Text7=3|Text3=3|Text5=1|Label2=" +
                                              huge.substr(0, 4096) + "|Label3=|wake@1000");
}

// Whatever arrives in the range field, its digits are the range: a number as copied from
// elsewhere, grouped, and nothing else; against 1,234 entries.
TEST_CASE("range from the field") {
    std::string ranges;
    for (const std::string_view text : {"600", "1 000", "1\u00A0000", "1,000", "1.000", "12a", "",
                                        "0", "5000", "99999999999999999999"}) {
        ranges += std::to_string(drill::rangeSizeFromDigits(drill::rangeDigits(text), 1234)) + " ";
    }
    // A no-break space, a comma or a point between groups; nothing at all is all of it.
    CHECK(ranges == "600 1000 1000 1000 1000 12 1234 1 1234 1234 ");
}

// The program's own draws: many different values, none outside [0, 1).
TEST_CASE("draws stay below one") {
    drill::ClockSeededRandom random;
    std::set<double> drawn;
    for (int i = 0; i < 100; ++i) {
        drawn.insert(random.next());
    }
    CHECK((drawn.size() > 50 && *drawn.begin() >= 0.0 && *drawn.rbegin() < 1.0));
}
