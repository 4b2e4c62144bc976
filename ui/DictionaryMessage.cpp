#include "DictionaryMessage.h"

namespace ui {

DictionaryMessage unreadableMessage(dictionary::OpenStatus status) {
    using dictionary::OpenStatus;
    switch (status) {
        case OpenStatus::Missing:
            return {QStringLiteral("Нет словаря engl.voc в текущей папке"),
                    QStringLiteral("Запустите программу из папки, где лежит engl.voc")};
        case OpenStatus::NotRegularFile:
            return {QStringLiteral("engl.voc здесь — не файл словаря"),
                    QStringLiteral("Положите вместо него текстовый файл engl.voc")};
        case OpenStatus::NoPermission:
            return {QStringLiteral("Нет прав на чтение engl.voc"),
                    QStringLiteral("Разрешите чтение файла и запустите программу снова")};
        case OpenStatus::OutOfMemory:
            return {QStringLiteral("Словарь engl.voc не помещается в память"),
                    QStringLiteral("Уменьшите словарный диапазон и нажмите кнопку снова")};
        case OpenStatus::Busy:
        case OpenStatus::ReadError:
        case OpenStatus::Ok:
            break;
    }
    return {QStringLiteral("Не удалось прочитать engl.voc"),
            QStringLiteral("Проверьте файл и диск и запустите программу снова")};
}

DictionaryMessage emptyMessage() {
    return {QStringLiteral("Словарь engl.voc пуст"),
            QStringLiteral("Запишите в него строки вида apple$яблоко и запустите программу снова")};
}

DictionaryMessage noPairsMessage() {
    return {QStringLiteral("В engl.voc нет ни одной пары со знаком $"),
            QStringLiteral("Запишите строки вида apple$яблоко и запустите программу снова")};
}

DictionaryMessage emptiedMessage() {
    return {QStringLiteral("Словарь engl.voc опустел после запуска"),
            QStringLiteral("Верните строки в файл и нажмите кнопку снова")};
}

}  // namespace ui
