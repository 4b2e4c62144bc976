#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Title.h"
#include "Whereabouts.h"

// The window as it was designed, for any toolkit to draw: every control with its place, text and
// looks, the About message, and every message the program shows. Texts are UTF-8.
namespace form {

// The controls by their designer names, in the order they are created.
enum class Control {
    Label2,  // the question band
    Label3,  // the answer band
    Command2,
    Command1,
    Label1_2,
    Label1_0,
    Label1_4,
    Text5,
    Label1_3,
    Text3,
    HScroll1,
    HScroll3,
    Command3,
    Text4,
    Text7,
};

enum class Kind {
    Band,     // a label in the large font that shows a word or a message
    Caption,  // a label in the window's font
    Button,
    Field,  // a one-line text field
    Bar,    // a horizontal scroll bar
};

// Twips from the client area's top-left corner: 1440 to an inch, 15 to a pixel at 96 dpi.
struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The letters a font must have: the words and every text are Russian.
enum class Script { Cyrillic };

struct Font {
    std::string_view family;
    double points = 0;
    int weight = 0;  // 400 is regular, 700 bold
    Script script = Script::Cyrillic;
};

// Colours by their part in the system's scheme, which each toolkit names in its own way.
enum class Colour {
    Text,       // the window's own text
    Highlight,  // selected text, which stands out from the window's
};

struct Bar {
    int minimum = 0;
    int maximum = 0;
    int value = 0;
    int step = 0;  // small and large alike
};

struct ControlDesign {
    Control id;
    std::string_view name;
    Kind kind;
    Twips at;
    std::string_view text;  // the design text; labels centre it
    int tabIndex;
    std::string_view description;  // what a screen reader says of it beside its text
    // The caption that names a field or a bar, which has no text of its own to be called by.
    std::optional<Control> caption{};
    bool editable = false;  // of the fields, only the range takes typing, and digits only
    Colour colour = Colour::Text;
    Bar bar{};  // for a scroll bar
};

// Twips to pixels at `dpi`, to the nearest pixel.
constexpr int pixels(int twips, int dpi) {
    return (twips * dpi + 720) / 1440;
}

// A place in pixels.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

constexpr Rect pixels(const Twips& at, int dpi) {
    return {pixels(at.left, dpi), pixels(at.top, dpi), pixels(at.width, dpi),
            pixels(at.height, dpi)};
}

// Where the window opens: in the middle of the screen's work area.
constexpr Rect centred(int width, int height, const Rect& workArea) {
    return {workArea.left + (workArea.width - width) / 2,
            workArea.top + (workArea.height - height) / 2, width, height};
}

inline constexpr std::string_view kTitle = VOCABUNTA_TITLE;
inline constexpr Twips kClientArea{0, 0, 5280, 3585};
inline constexpr Font kWindowFont{"MS Sans Serif", 8.25, 700};
inline constexpr Font kBandFont{"Arial", 15.75, 700};

// Every control, in creation order.
extern const std::array<ControlDesign, 15> kControls;

const ControlDesign& control(Control id);

// The controls that take the focus, in tab order.
std::vector<Control> tabOrder();

// The About box: its title, its lines, the icon beside them, and one OK button that closes it.
struct AboutBox {
    enum class Icon { Information };
    std::string_view title;
    std::array<std::string_view, 4> lines;
    Icon icon;
};

inline constexpr AboutBox kAbout{"Информация",
                                 {VOCABUNTA_NAME, "I версия", "Автор: Зельвиран", "5.09.2003г."},
                                 AboutBox::Icon::Information};

// The About lines joined by line feeds.
std::string aboutText();

// Why the drill cannot start, as the two bands say it.
enum class Problem {
    Missing,   // not there; in a window where the user picks the file, none picked yet
    Misnamed,  // missing, but a file in its folder is named engl.voc with another extension
    NotRegularFile,
    NoPermission,
    Busy,
    NotDictionary,  // asked to open a file of another name
    ReadError,
    OutOfMemory,
    Empty,    // no line at all
    NoPairs,  // lines, but none with a separator
    Emptied,  // had lines at start-up, none at the click
};

// "{folder}" stands for the folder where engl.voc was looked for, "{found}" for the name of the
// file found there instead.
struct Message {
    std::string_view problem;  // what is wrong, in the question band
    std::string_view remedy;   // what to do, in the answer band
};

// Where the words come from, as the messages speak of it to the user.
enum class Wording {
    Folder,      // engl.voc in the folder the program started in
    PickedFile,  // a file the user picks, of any name, as a web page takes one
};

Message message(Problem problem, Wording wording = Wording::Folder);

// A message as the bands show it, its marks filled in from where the file was looked for; a long
// folder shortened to fit its band.
struct Said {
    std::string problem;
    std::string remedy;
};

Said say(Problem problem, Wording wording, const dictionary::Whereabouts& where = {});

}  // namespace form
