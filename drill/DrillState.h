#pragma once

#include <cstdint>
#include <optional>

#include "Clock.h"
#include "Lines.h"

namespace drill {

// Which word of a pair a card shows first.
enum class Direction : std::int16_t {
    RussianFirst = 0,
    EnglishFirst = 1,
};

// The drill's values, from start-up through every card. An empty optional is a value not yet
// set.
struct DrillState {
    std::optional<TimePoint> StartTime;     // when the current card was drawn
    std::optional<std::int64_t> SeqNo;      // running number of the card in this run
    std::optional<std::int64_t> WordIndex;  // dictionary number of the current card, 1..RangeSize
    std::optional<std::int64_t> RangeSize;  // how many entries from the top take part
    std::optional<drill::Direction> Direction;
    bool Loaded = false;  // the lists are built; until then each run tries to build them
    std::optional<std::int64_t> EntryCount;  // lines counted in the dictionary
    dictionary::WordList EnglishWords;
    dictionary::WordList RussianWords;
};

}  // namespace drill
