// Loads a whole dictionary with the loading pass and prints what that costs: the median time
// over several loads, and the resident memory a loaded dictionary keeps and peaks at.
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dictionary/Count.h"
#include "dictionary/Lines.h"

namespace {

using Clock = std::chrono::steady_clock;

// A "Vm..." figure of this process from /proc/self/status, in bytes.
long long statusBytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(key + ":")) {
            return std::atoll(line.c_str() + key.size() + 1) * 1024;
        }
    }
    return -1;
}

// Starts the peak resident size afresh from the current one.
bool resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return clear.good();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: scale_bench FILE [RUNS]\n");
        return 2;
    }
    const std::string path = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    const dictionary::SourceOpener open = dictionary::fileOpener(path);
    const dictionary::CountResult counted = dictionary::countEntries(open);
    if (counted.status != dictionary::OpenStatus::Ok) {
        std::fprintf(stderr, "scale_bench: cannot read %s\n", path.c_str());
        return 1;
    }
    const auto fileBytes = static_cast<long long>(std::filesystem::file_size(path));

    // Memory first, while the allocator is as fresh as in the program, which loads once.
    const bool peakReset = resetPeak();
    const long long before = statusBytes("VmRSS");
    long long kept = 0;
    long long peak = 0;
    std::size_t lines = 0;
    {
        const dictionary::LoadResult loaded =
            dictionary::loadEntries(open, counted.entries, counted.encoding);
        lines = loaded.lines.count();
        kept = statusBytes("VmRSS") - before;
        peak = statusBytes("VmHWM") - before;
    }

    // A fixed threshold keeps big blocks mapped afresh, so no load reuses pages the last touched.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        const dictionary::LoadResult loaded =
            dictionary::loadEntries(open, counted.entries, counted.encoding);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (loaded.lines.count() != lines) {
            std::fprintf(stderr, "scale_bench: loads disagree\n");
            return 1;
        }
    }
    // One machine-readable line: lines, load median ms, runs, file, kept and peak bytes.
    std::printf("lines=%zu load_ms=%.3f runs=%d file_bytes=%lld kept_bytes=%lld peak_bytes=%lld\n",
                lines, median(ms), runs, fileBytes, kept, peakReset ? peak : -1);
    return lines == static_cast<std::size_t>(counted.entries) ? 0 : 1;
}
