#pragma once

#include <cstdint>
#include <string_view>

namespace drill {

// What the card cycle shows, in the order it shows it; the window puts each into its control.
class DrillFrontend {
public:
    virtual ~DrillFrontend() = default;
    virtual void showWordIndex(std::int64_t wordIndex) = 0;  // the dictionary number
    virtual void showSeqNo(std::int64_t seqNo) = 0;          // the running number
    virtual void showQuestion(std::string_view text) = 0;    // UTF-8
    virtual void showAnswer(std::string_view text) = 0;      // UTF-8; empty clears it
};

}  // namespace drill
