#include "Form1.h"

#include <emscripten/bind.h>
#include <emscripten/eventloop.h>
#include <emscripten/heap.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace web {
namespace {

using drill::Event;
using emscripten::val;
using form::Control;
using form::Kind;

// The page has one window, which the browser's events reach through the page's script.
Form1* shown = nullptr;

void handleEvent(const val& event) {
    if (shown != nullptr) {
        shown->handle(event);
    }
}

void timerFired(void* window) {
    static_cast<Form1*>(window)->timerFired();
}

// The bytes of a file the user picked or dropped, as the page's ArrayBuffer; whether a drill can
// start on them.
bool openWords(const val& buffer) {
    if (shown == nullptr) {
        return false;
    }
    dictionary::SourceOpener opener;
    try {
        const val bytes = val::global("Uint8Array").new_(buffer);
        auto held = std::make_shared<std::string>(bytes["length"].as<std::size_t>(), '\0');
        val(emscripten::typed_memory_view(held->size(),
                                          reinterpret_cast<unsigned char*>(held->data())))
            .call<void>("set", bytes);
        opener = dictionary::heldOpener(std::move(held));
    } catch (const std::bad_alloc&) {
        opener = [] {
            return dictionary::OpenedSource{dictionary::OpenStatus::OutOfMemory, nullptr, {}};
        };
    }
    shown->open(std::move(opener));
    return !shown->element(Control::Command1)["disabled"].as<bool>();
}

// Whether the page takes a file of `size` bytes. It holds the file whole, beside the lines loaded
// from it, in a memory that grows only to a bound (2 GiB); and a browser reading a file near that
// bound takes half a minute and may then fail with an error that says nothing of the size
// (Chromium: 1,900 MiB read, 2,047 MiB not). Half the bound leaves room for both.
bool mayHold(double size) {
    return size < static_cast<double>(emscripten_get_heap_max() / 2);
}

// What was dropped or picked is no file's words: a folder or a snippet of text, or a file the
// browser could not hold.
void notWords(bool tooBig) {
    if (shown != nullptr) {
        const auto status =
            tooBig ? dictionary::OpenStatus::OutOfMemory : dictionary::OpenStatus::NotRegularFile;
        shown->open([status] { return dictionary::OpenedSource{status, nullptr, {}}; });
    }
}

EMSCRIPTEN_BINDINGS(form1) {
    emscripten::function("handleEvent", &handleEvent);
    emscripten::function("openWords", &openWords);
    emscripten::function("notWords", &notWords);
    emscripten::function("mayHold", &mayHold);
}

val document() {
    return val::global("document");
}

val make(const char* tag, const std::string& id = {}) {
    val element = document().call<val>("createElement", val(tag));
    if (!id.empty()) {
        element.set("id", id);
    }
    return element;
}

void listen(val& element, const char* type) {
    element.call<void>("addEventListener", val(type), val::module_property("handleEvent"));
}

std::string px(int pixels) {
    return std::to_string(pixels) + "px";
}

// The design's colours as the browser names the system's.
const char* cssColour(form::Colour colour) {
    switch (colour) {
        case form::Colour::Highlight:
            return "Highlight";
        case form::Colour::Text:
            break;
    }
    return "ButtonText";
}

// A design font in CSS; the page brings Liberation Sans under the design's family names.
std::string cssFont(const form::Font& font, double points) {
    return std::to_string(font.weight) + " " + std::to_string(points) + "pt \"" +
           std::string(font.family) + "\", \"Liberation Sans\", sans-serif";
}

// A line of the band's font, in pixels at 96 dpi, as the band lays its lines out.
int lineHeight(double points) {
    return static_cast<int>(std::lround(points * 96 / 72 * 1.15));
}

void place(val& element, const form::Twips& at) {
    const form::Rect rect = form::pixels(at, 96);
    val style = element["style"];
    style.set("position", "absolute");
    style.set("boxSizing", "border-box");
    style.set("margin", "0");
    style.set("left", px(rect.left));
    style.set("top", px(rect.top));
    style.set("width", px(rect.width));
    style.set("height", px(rect.height));
}

val makeControl(const form::ControlDesign& design) {
    const std::string id(design.name);
    val element = val::undefined();
    switch (design.kind) {
        case Kind::Band:
            element = make("div", id);
            element.call<void>("setAttribute", val("aria-live"), val("polite"));
            // Centred in both directions, its lines as the fitting breaks them.
            for (const auto& [property, value] : {std::pair{"display", "flex"},
                                                  {"alignItems", "center"},
                                                  {"justifyContent", "center"},
                                                  {"textAlign", "center"},
                                                  {"whiteSpace", "pre"},
                                                  {"overflow", "hidden"}}) {
                element["style"].set(property, value);
            }
            break;
        case Kind::Caption:
            element = make("div", id);
            element.set("textContent", std::string(design.text));
            element["style"].set("textAlign", "center");
            break;
        case Kind::Button:
            element = make("button", id);
            element.set("type", "button");
            element.set("textContent", std::string(design.text));
            listen(element, "click");
            break;
        case Kind::Field:
            element = make("input", id);
            element.set("type", "text");
            element.set("value", std::string(design.text));
            element.set("readOnly", !design.editable);
            if (design.editable) {
                element.call<void>("setAttribute", val("inputmode"), val("numeric"));
            }
            listen(element, "input");
            break;
        case Kind::Bar:
            element = make("input", id);
            element.set("type", "range");
            element.set("min", design.bar.minimum);
            element.set("max", design.bar.maximum);
            element.set("step", 1);
            element.set("value", design.bar.value);
            listen(element, "input");
            break;
    }
    if (design.kind == Kind::Band || design.kind == Kind::Caption) {
        element["style"].set("color", cssColour(design.colour));
    }
    element.call<void>("setAttribute", val("aria-description"),
                       val(std::string(design.description)));
    if (design.caption) {
        element.call<void>("setAttribute", val("aria-labelledby"),
                           val(std::string(form::control(*design.caption).name)));
    }
    place(element, design.at);
    return element;
}

// The About box: its title, its lines each on a line of its own, the information icon, and OK.
val makeAbout() {
    val box = make("dialog", "AboutBox");
    box.call<void>("setAttribute", val("aria-labelledby"), val("AboutTitle"));
    val title = make("h2", "AboutTitle");
    title.set("textContent", std::string(form::kAbout.title));
    box.call<void>("append", title);
    val icon = make("div");
    icon.call<void>("setAttribute", val("class"), val("information"));
    icon.call<void>("setAttribute", val("aria-hidden"), val("true"));
    icon.set("textContent", "i");
    box.call<void>("append", icon);
    for (const std::string_view line : form::kAbout.lines) {
        val paragraph = make("p");
        paragraph.set("textContent", std::string(line));
        box.call<void>("append", paragraph);
    }
    val ok = make("button", "AboutOK");
    ok.set("type", "button");
    ok.set("textContent", "OK");
    listen(ok, "click");
    box.call<void>("append", ok);
    listen(box, "cancel");  // Escape closes it too
    return box;
}

}  // namespace

Form1::Form1(drill::Sources sources) : engine_(*this, std::move(sources)) {
    val canvas = make("canvas").call<val>("getContext", val("2d"));
    measure_ = {[canvas](std::string_view text, double points) mutable {
                    canvas.set("font", cssFont(form::kBandFont, points));
                    return static_cast<int>(std::ceil(
                        canvas.call<val>("measureText", std::string(text))["width"].as<double>()));
                },
                lineHeight};
}

Form1::~Form1() {
    wakeAt(std::nullopt);
    for (val& element : elements_) {
        if (!element.isUndefined()) {
            element.call<void>("remove");
        }
    }
    if (!about_.isUndefined()) {
        about_.call<void>("remove");
    }
    if (shown == this) {
        shown = nullptr;
    }
}

void Form1::show(val client) {
    shown = this;
    const form::Rect area = form::pixels(form::kClientArea, 96);
    val style = client["style"];
    style.set("position", "relative");
    style.set("width", px(area.width));
    style.set("height", px(area.height));
    style.set("font", cssFont(form::kWindowFont, form::kWindowFont.points));
    // Tab goes through the controls in the order they stand in the page: the design's.
    const std::vector<Control> order = form::tabOrder();
    for (const form::ControlDesign& design : form::kControls) {
        if (std::find(order.begin(), order.end(), design.id) == order.end()) {
            elements_[index(design.id)] = makeControl(design);
            client.call<void>("append", elements_[index(design.id)]);
        }
    }
    for (const Control id : order) {
        elements_[index(id)] = makeControl(form::control(id));
        client.call<void>("append", elements_[index(id)]);
    }
    about_ = makeAbout();
    client.call<void>("after", about_);
    val window = val::global("window");
    listen(window, "pagehide");
    engine_.input({Event::Activate});
}

void Form1::open(dictionary::SourceOpener dictionary) {
    engine_.open(std::move(dictionary));
}

const form::FittedText& Form1::drawn(Control band) const {
    return bands_[band == Control::Label2 ? 0 : 1];
}

void Form1::handle(const val& event) {
    const auto type = event["type"].as<std::string>();
    const val target = event["currentTarget"];
    if (type == "pagehide") {
        return engine_.input({Event::Unload});
    }
    if (type == "cancel" || target["id"].as<std::string>() == "AboutOK") {
        about_.call<void>("close");  // and the browser gives the focus back where it was
        return engine_.input({Event::AboutClosed});
    }
    const auto name = target["id"].as<std::string>();
    for (const form::ControlDesign& design : form::kControls) {
        if (design.name != name) {
            continue;
        }
        if (design.kind == Kind::Button) {
            engine_.input({Event::Click, design.id});
        } else if (design.kind == Kind::Bar) {
            engine_.input({Event::Change, design.id, std::stoi(target["value"].as<std::string>())});
        } else {
            const auto text = target["value"].as<std::string>();
            engine_.input({Event::Change, design.id, 0, text});
        }
    }
}

void Form1::timerFired() {
    timer_.reset();
    timerWait_.reset();
    engine_.input({Event::Timer});
}

void Form1::showText(Control id, std::string_view text) {
    val target = element(id);
    if (form::control(id).kind != Kind::Band) {
        target.set("value", std::string(text));
        return;
    }
    const form::Rect band = form::pixels(form::control(id).at, 96);
    form::FittedText& fitted = bands_[id == Control::Label2 ? 0 : 1];
    fitted = form::fitToBand(text, band.width, band.height, measure_);
    target["style"].set("font", cssFont(form::kBandFont, fitted.points));
    target["style"].set("lineHeight", px(lineHeight(fitted.points)));
    // A new text node each time, also for the same word again, so that a screen reader hears
    // every card.
    target.set("textContent", fitted.text);
}

void Form1::setBar(Control id, int minimum, int maximum, int value) {
    val bar = element(id);
    bar.set("min", minimum);
    bar.set("max", maximum);
    bar.set("value", value);
}

void Form1::enable(Control id, bool enabled) {
    element(id).set("disabled", !enabled);
}

void Form1::wakeAt(std::optional<drill::TimePoint> due) {
    if (timer_) {
        emscripten_clear_timeout(*timer_);
        timer_.reset();
        timerWait_.reset();
    }
    if (due) {
        timerWait_ = static_cast<int>(engine_.waitUntil(*due).count());
        timer_ = emscripten_set_timeout(&web::timerFired, *timerWait_, this);
    }
}

void Form1::showAbout() {
    about_.call<void>("showModal");
}

void Form1::end() {
    wakeAt(std::nullopt);
}

}  // namespace web
