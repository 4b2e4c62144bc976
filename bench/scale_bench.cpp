// Loads a whole dictionary with the loading pass and prints what that costs: the median time
// over several loads, and the memory a loaded dictionary keeps and peaks at. Also times, in
// process, the counting pass and a pass that only reads, to split counting into its parts.
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Count.h"
#include "Load.h"
#include "Pass.h"

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

// Bytes the allocator has handed out and not had back.
long long liveHeapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long long>(info.uordblks + info.hblkhd);
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
    const long long heapBefore = liveHeapBytes();
    long long live = 0;
    long long kept = 0;
    long long peak = 0;
    std::size_t lines = 0;
    {
        const dictionary::LoadResult loaded =
            dictionary::loadEntries(open, counted.entries, counted.encoding);
        lines = loaded.lines.count();
        kept = statusBytes("VmRSS") - before;
        live = liveHeapBytes() - heapBefore;
        peak = statusBytes("VmHWM") - before;
    }

    // A fixed threshold keeps big blocks mapped afresh, so no load reuses pages the last touched.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    const auto since = [](Clock::time_point start) {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    std::vector<double> ms;
    std::vector<double> countMs;
    std::vector<double> readMs;
    for (int i = 0; i < runs; ++i) {
        auto start = Clock::now();
        if (dictionary::countEntries(open).entries != counted.entries) {
            std::fprintf(stderr, "scale_bench: counts disagree\n");
            return 1;
        }
        countMs.push_back(since(start));
        start = Clock::now();
        std::size_t bytesRead = 0;
        dictionary::readPass(open, [&](std::string_view chunk) {
            bytesRead += chunk.size();
            return true;
        });
        readMs.push_back(since(start));
        if (bytesRead == 0 && fileBytes > 0) {
            return 1;
        }

        start = Clock::now();
        const dictionary::LoadResult loaded =
            dictionary::loadEntries(open, counted.entries, counted.encoding);
        ms.push_back(since(start));
        if (loaded.lines.count() != lines) {
            std::fprintf(stderr, "scale_bench: loads disagree\n");
            return 1;
        }
    }
    // One machine-readable line: medians in ms, then sizes in bytes (resident kept and peak,
    // and what the allocator still has handed out).
    std::printf(
        "lines=%zu runs=%d load_ms=%.3f count_ms=%.3f read_ms=%.3f file_bytes=%lld "
        "kept_bytes=%lld peak_bytes=%lld live_bytes=%lld\n",
        lines, runs, median(ms), median(countMs), median(readMs), fileBytes, kept,
        peakReset ? peak : -1, live);
    return lines == static_cast<std::size_t>(counted.entries) ? 0 : 1;
}
