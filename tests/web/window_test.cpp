// The window in the page as a browser shows it: the doctest table runs in the page itself,
// against the page's own elements, and hands its summary to run_browser.py.
#define DOCTEST_CONFIG_IMPLEMENT
#include <emscripten.h>
#include <emscripten/val.h>

#include <doctest/doctest.h>

#include <sstream>
#include <string>

#include "Form1.h"
#include "Title.h"

using emscripten::val;

namespace {

val document() {
    return val::global("document");
}

// To run_browser.py, which waits for it or has asked to be called with it.
EM_JS(void, reportTests, (int failed, const char* summary), {
    window.testsDone = {failed : failed, summary : UTF8ToString(summary)};
    if (window.onTestsDone) {
        window.onTestsDone(window.testsDone);
    }
});

}  // namespace

TEST_CASE("the page around the window") {
    const ui::Form1 window;
    CHECK(document()["title"].as<std::string>() == VOCABUNTA_TITLE);
    // Read out in Russian by a screen reader.
    CHECK(document()["documentElement"]["lang"].as<std::string>() == "ru");
    CHECK(!document().call<val>("getElementById", std::string("Form1")).isNull());
}

int main(int argc, char** argv) {
    std::ostringstream summary;
    doctest::Context context(argc, argv);
    context.setOption("no-colors", true);
    context.setCout(&summary);
    const int failed = context.run();
    reportTests(failed, summary.str().c_str());
    return failed;
}
