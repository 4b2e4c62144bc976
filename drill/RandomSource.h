#pragma once

namespace drill {

// Draws the value that picks a card; tests give fixed values.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A value r with 0 <= r < 1.
    virtual double next() = 0;
};

// Reseeds from a high-resolution clock reading before every draw.
class ClockSeededRandom final : public RandomSource {
public:
    double next() override;
};

}  // namespace drill
