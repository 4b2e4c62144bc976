#pragma once

#include <QString>

#include "dictionary/ByteSource.h"

namespace ui {

// What the two bands say when the dictionary cannot be used: what is wrong, and what to do.
struct DictionaryMessage {
    QString problem;
    QString remedy;
};

DictionaryMessage unreadableMessage(dictionary::OpenStatus status);
DictionaryMessage emptyMessage();
DictionaryMessage noPairsMessage();
DictionaryMessage emptiedMessage();

}  // namespace ui
