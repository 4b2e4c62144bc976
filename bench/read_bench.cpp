// Counts and loads 1,000,000 lines held in memory, as the page reads a picked file, and prints
// the median of several runs of each pass: built natively and for the browser alike, so that the
// two can be set side by side (bench/web/read_ratio.sh).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Count.h"
#include "Load.h"
#include "SourceOpener.h"

namespace {

using Clock = std::chrono::steady_clock;

template <class Pass>
double medianMs(int runs, Pass pass) {
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        pass();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

int main() {
    constexpr int kLines = 1'000'000;
    constexpr int kRuns = 7;
    // "apple<n>$яблоко<n>" in Windows-1251, CR LF, as the program has always read them.
    auto bytes = std::make_shared<std::string>();
    for (int line = 1; line <= kLines; ++line) {
        const std::string n = std::to_string(line);
        *bytes += "apple" + n + "$\xFF\xE1\xEB\xEE\xEA\xEE" + n + "\r\n";
    }
    const dictionary::SourceOpener open = dictionary::heldOpener(bytes);
    dictionary::CountResult counted;
    const double count = medianMs(kRuns, [&] { counted = dictionary::countEntries(open); });
    std::size_t loaded = 0;
    const double load = medianMs(kRuns, [&] {
        loaded = dictionary::loadEntries(open, kLines, counted.encoding).lines.count();
    });
    std::printf(
        "%d lines, %.1f MB: count %.1f ms, load %.1f ms (median of %d; %lld counted, %zu "
        "loaded)\n",
        kLines, static_cast<double>(bytes->size()) / 1e6, count, load, kRuns,
        static_cast<long long>(counted.entries), loaded);
    return counted.entries == kLines && loaded == kLines ? 0 : 1;
}
