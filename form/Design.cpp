#include "Design.h"

#include <algorithm>
#include <utility>

#include "ShortPath.h"

namespace form {

// clang-format off
const std::array<ControlDesign, 15> kControls{{
    {Control::Label2, "Label2", Kind::Band, {0, 0, 5295, 600}, "", 12, "Слово-вопрос", {},
     false, Colour::Highlight},
    {Control::Label3, "Label3", Kind::Band, {0, 720, 5295, 600}, "", 13, "Перевод"},
    {Control::Command2, "Command2", Kind::Button, {120, 1440, 2415, 495}, "Русско-английский", 0,
     "Начать: сначала русское слово, затем английское"},
    {Control::Command1, "Command1", Kind::Button, {2760, 1440, 2415, 495}, "Англо-русский", 1,
     "Начать: сначала английское слово, затем русское"},
    {Control::Label1_2, "Label1_2", Kind::Caption, {0, 2040, 1335, 495}, "Интервал в секундах", 8,
     "Подпись полосы интервала"},
    {Control::Label1_0, "Label1_0", Kind::Caption, {1440, 2040, 1215, 495}, "Словарный диапазон",
     10, "Подпись полосы диапазона"},
    {Control::Label1_4, "Label1_4", Kind::Caption, {2880, 2160, 1455, 255}, "№ по порядку", 9,
     "Подпись порядкового номера"},
    {Control::Text5, "Text5", Kind::Field, {4320, 2160, 855, 285}, "", 5,
     "Порядковый номер карточки", Control::Label1_4},
    {Control::Label1_3, "Label1_3", Kind::Caption, {2880, 2640, 1455, 255}, "№ в словаре", 11,
     "Подпись номера в словаре"},
    {Control::Text3, "Text3", Kind::Field, {4320, 2640, 855, 285}, "", 2,
     "Номер слова в словаре", Control::Label1_3},
    {Control::HScroll1, "HScroll1", Kind::Bar, {0, 2760, 1335, 255}, "", 3,
     "Интервал в секундах, от 2 до 10", Control::Label1_2, false, Colour::Text, {2, 10, 2, 1}},
    {Control::HScroll3, "HScroll3", Kind::Bar, {1440, 2760, 1215, 255}, "", 6,
     "Сколько слов с начала словаря участвуют", Control::Label1_0, false, Colour::Text,
     {100, 4000, 100, 100}},
    {Control::Command3, "Command3", Kind::Button, {2760, 3120, 2415, 375}, "О программе", 14,
     "Сведения о программе"},
    {Control::Text4, "Text4", Kind::Field, {240, 3240, 855, 285}, "1", 4,
     "Секунд на одну карточку", Control::Label1_2},
    {Control::Text7, "Text7", Kind::Field, {1680, 3240, 735, 285}, "500", 7,
     "Словарный диапазон: сколько слов с начала словаря участвуют", Control::Label1_0, true},
}};
// clang-format on

const ControlDesign& control(Control id) {
    return kControls[static_cast<std::size_t>(id)];
}

std::vector<Control> tabOrder() {
    std::vector<const ControlDesign*> focusable;
    for (const ControlDesign& c : kControls) {
        if (c.kind != Kind::Band && c.kind != Kind::Caption) {
            focusable.push_back(&c);
        }
    }
    std::sort(
        focusable.begin(), focusable.end(),
        [](const ControlDesign* a, const ControlDesign* b) { return a->tabIndex < b->tabIndex; });
    std::vector<Control> order;
    for (const ControlDesign* c : focusable) {
        order.push_back(c->id);
    }
    return order;
}

std::string aboutText() {
    std::string text;
    for (const std::string_view line : kAbout.lines) {
        if (!text.empty()) {
            text += '\n';
        }
        text += line;
    }
    return text;
}

namespace {

// The words of engl.voc in the folder the program runs in.
Message inFolder(Problem problem) {
    switch (problem) {
        case Problem::Missing:
            return {"В папке {folder} нет engl.voc",
                    "Запустите программу из папки, где лежит engl.voc"};
        case Problem::Misnamed:
            return {"В папке {folder} нет engl.voc",
                    "Там есть {found}: переименуйте его в engl.voc и запустите программу снова"};
        case Problem::NotRegularFile:
            return {"engl.voc здесь — не файл словаря",
                    "Положите вместо него текстовый файл engl.voc"};
        case Problem::NoPermission:
            return {"Нет прав на чтение engl.voc",
                    "Разрешите чтение файла и запустите программу снова"};
        case Problem::Busy:
            return {"engl.voc занят другой программой",
                    "Закройте его в той программе и нажмите кнопку снова"};
        case Problem::NotDictionary:
            return {"{found} — не словарь engl.voc",
                    "Вокабунта открывает только файлы с именем engl.voc"};
        case Problem::OutOfMemory:
            return {"Словарь engl.voc не помещается в память",
                    "Уменьшите словарный диапазон и нажмите кнопку снова"};
        case Problem::Empty:
            return {"Словарь engl.voc пуст",
                    "Запишите в него строки вида apple$яблоко и запустите программу снова"};
        case Problem::NoPairs:
            return {"В engl.voc нет ни одной пары со знаком $ или табуляцией",
                    "Запишите строки вида apple$яблоко и запустите программу снова"};
        case Problem::Emptied:
            return {"Словарь engl.voc опустел после запуска",
                    "Верните строки в файл и нажмите кнопку снова"};
        case Problem::ReadError:
            break;
    }
    return {"Не удалось прочитать engl.voc", "Проверьте файл и диск и запустите программу снова"};
}

// The words of a file the user picked, of any name; picking another starts afresh.
Message picked(Problem problem) {
    switch (problem) {
        case Problem::Missing:
        case Problem::Misnamed:
            return {"Файл со словами ещё не выбран", "Выберите его или перетащите в это окно"};
        case Problem::NotRegularFile:
        case Problem::NotDictionary:
            return {"Это не файл со словами",
                    "Выберите текстовый файл со строками вида apple$яблоко"};
        case Problem::NoPermission:
        case Problem::Busy:
            return {"Браузер не дал прочитать файл", "Выберите его снова"};
        case Problem::OutOfMemory:
            return {"Файл со словами не помещается в память",
                    "Выберите файл поменьше или уменьшите словарный диапазон"};
        case Problem::Empty:
            return {"Выбранный файл пуст",
                    "Запишите в него строки вида apple$яблоко и выберите его снова"};
        case Problem::NoPairs:
            return {"В выбранном файле нет ни одной пары со знаком $ или табуляцией",
                    "Запишите строки вида apple$яблоко и выберите файл снова"};
        case Problem::Emptied:
        case Problem::ReadError:
            break;
    }
    return {"Не удалось прочитать выбранный файл", "Выберите его снова"};
}

}  // namespace

Message message(Problem problem, Wording wording) {
    return wording == Wording::Folder ? inFolder(problem) : picked(problem);
}

Said say(Problem problem, Wording wording, const dictionary::Whereabouts& where) {
    if (problem == Problem::Missing && !where.nearMiss.empty()) {
        problem = Problem::Misnamed;
    }
    // The most letters of a path a band's message shows: within the band at 96 dpi with the
    // rest of its message, at the smallest size a band shrinks to.
    constexpr std::size_t kPathLetters = 36;
    const auto filled = [&where](std::string_view text) {
        std::string said(text);
        for (const auto& [mark, value] :
             {std::pair{"{folder}",
                        shortPath(where.folder.empty() ? "." : where.folder, kPathLetters)},
              {"{found}", shortPath(where.nearMiss, kPathLetters)}}) {
            const std::string_view name(mark);
            for (std::size_t at = said.find(name); at != std::string::npos;
                 at = said.find(name, at + value.size())) {
                said.replace(at, name.size(), value);
            }
        }
        return said;
    };
    const Message message = form::message(problem, wording);
    return {filled(message.problem), filled(message.remedy)};
}

}  // namespace form
