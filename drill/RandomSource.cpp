#include "RandomSource.h"

#include <chrono>
#include <cstdint>
#include <random>

namespace drill {

double ClockSeededRandom::next() {
    const auto ticks = static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
    std::seed_seq seed{static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
    std::mt19937_64 generator(seed);
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
}

}  // namespace drill
