// The page's program: the window, drawn once the design's fonts are there to fit words in, on no
// words until the user picks a file.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "Form1.h"

namespace {

using emscripten::val;

web::Form1& window() {
    static web::Form1 form(
        {[] {
             return dictionary::OpenedSource{dictionary::OpenStatus::Missing, nullptr, {}};
         },
         nullptr, nullptr, form::Wording::PickedFile});
    return form;
}

void showWindow(const val&) {
    window().show(val::global("document").call<val>("getElementById", val("Form1")));
    // The words of the last visit, if the browser kept them.
    val::module_property("windowShown")();
}

EMSCRIPTEN_BINDINGS(page) {
    emscripten::function("showWindow", &showWindow);
}

}  // namespace

// The window stays when main returns: the browser's own loop hands it each event and timer. A
// font that cannot be had leaves the browser's own in its place.
int main() {
    const val show = val::module_property("showWindow");
    val::global("document")["fonts"]
        .call<val>("load", val("700 15.75pt Arial"))
        .call<void>("then", show, show);
}
