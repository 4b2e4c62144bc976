// The window in the page as a browser shows it: the table of window behaviours runs in the page
// itself, against the page's own elements, and hands its summary to run_browser.py.
#define DOCTEST_CONFIG_IMPLEMENT
#include <emscripten.h>
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <doctest/doctest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "Form1.h"
#include "WindowBehaviour.h"

using emscripten::val;
using form::Control;

namespace {

val byId(const char* id) {
    return val::global("document").call<val>("getElementById", val(id));
}

// To run_browser.py, which waits for it or has asked to be called with it.
EM_JS(void, reportTests, (int failed, const char* summary), {
    window.testsDone = {failed : failed, summary : UTF8ToString(summary)};
    if (window.onTestsDone) {
        window.onTestsDone(window.testsDone);
    }
});

struct WebWindow final : WindowDriver {
    explicit WebWindow(drill::Sources sources) : form(std::move(sources)) {
        form.show(byId("Form1"));
    }
    val get(Control id) { return form.element(id); }
    static void fire(val target, const char* type) {
        target.call<bool>("dispatchEvent", val::global("Event").new_(val(type)));
    }

    std::string title() override { return val::global("document")["title"].as<std::string>(); }
    std::string place(std::optional<Control> id) override {
        const val area = byId("Form1").call<val>("getBoundingClientRect");
        const val at = id ? get(*id).call<val>("getBoundingClientRect") : area;
        const auto whole = [](double value) { return std::to_string(std::lround(value)); };
        return whole(at["left"].as<double>() - area["left"].as<double>()) + "," +
               whole(at["top"].as<double>() - area["top"].as<double>()) + "," +
               whole(at["width"].as<double>()) + "x" + whole(at["height"].as<double>());
    }
    std::string text(Control id) override {
        const val element = get(id);
        const form::Kind kind = form::control(id).kind;
        if (kind == form::Kind::Bar) {
            return element["min"].as<std::string>() + ".." + element["max"].as<std::string>() +
                   "@" + element["value"].as<std::string>();
        }
        return element[kind == form::Kind::Field ? "value" : "textContent"].as<std::string>();
    }
    double points(Control band) override { return form.drawn(band).points; }
    bool enabled(Control id) override { return !get(id)["disabled"].as<bool>(); }
    // The window's focusable elements in the order Tab takes them, as they stand in the page.
    std::string tabOrder() override {
        const val stops = byId("Form1").call<val>("querySelectorAll", val("button, input"));
        std::string order;
        for (int i = 0; i < stops["length"].as<int>(); ++i) {
            order += stops[i]["id"].as<std::string>() + " ";
        }
        const std::size_t first = order.find("Command2");
        return order.substr(first) + order.substr(0, first) + "Command2 ";
    }
    void click(Control button) override { get(button).call<void>("click"); }
    void stepRight(Control bar) override {
        get(bar).call<void>("stepUp");
        fire(get(bar), "input");
    }
    void drag(Control bar, int value) override {
        get(bar).set("value", value);
        fire(get(bar), "input");
    }
    void paste(Control field, std::string_view text) override {
        get(field).set("value", std::string(text));
        fire(get(field), "input");
    }
    std::optional<int> timerWait() override { return form.timerWait(); }
    void fireTimer() override { form.timerFired(); }
    std::string about(const std::function<void()>& whileOpen) override {
        const val box = byId("AboutBox");
        click(Control::Command3);
        CHECK(!box.call<val>("querySelector", val(".information")).isNull());
        whileOpen();
        std::string shown =
            box.call<val>("querySelector", val("h2"))["textContent"].as<std::string>();
        const val lines = box.call<val>("querySelectorAll", val("p"));
        for (int i = 0; i < lines["length"].as<int>(); ++i) {
            shown += (i == 0 ? "|" : "\n") + lines[i]["textContent"].as<std::string>();
        }
        byId("AboutOK").call<void>("click");
        return shown;
    }
    // A page is not closed by the program: leaving it stops the drill.
    bool close() override {
        fire(val::global("window"), "pagehide");
        return !form.timerWait();
    }

    web::Form1 form;
};

void runTests(const val&) {
    std::ostringstream summary;
    doctest::Context context;
    context.setOption("no-colors", true);
    context.setCout(&summary);
    const int failed = context.run();
    reportTests(failed, summary.str().c_str());
}

EMSCRIPTEN_BINDINGS(window_test) {
    emscripten::function("runTests", &runTests);
}

}  // namespace

TEST_CASE("the window's behaviour") {
    checkWindowBehaviour(
        [](drill::Sources sources) { return std::make_unique<WebWindow>(std::move(sources)); });
}

// The tests run once the design's fonts are there to fit words in, as the page's window does.
int main() {
    val::global("document")["fonts"]
        .call<val>("load", val("700 15.75pt Arial"))
        .call<void>("then", val::module_property("runTests"));
}
