// Runs the fuzz target once on the empty input and on each file in the folders given, without
// the fuzzer, so that any compiler's build checks the committed seeds in a second.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char* argv[]) {
    std::vector<std::filesystem::path> seeds;
    for (int i = 1; i < argc; ++i) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
            seeds.push_back(entry.path());
        }
    }
    if (seeds.empty()) {
        std::fprintf(stderr, "usage: %s SEED-FOLDER...: no seeds found\n", argv[0]);
        return 2;
    }
    std::sort(seeds.begin(), seeds.end());
    LLVMFuzzerTestOneInput(nullptr, 0);
    for (const std::filesystem::path& seed : seeds) {
        std::ifstream file(seed, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        // Named first, so that a seed that aborts is the last one named.
        std::printf("%s (%zu bytes)\n", seed.c_str(), bytes.size());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("%zu seeds and the empty input: passed\n", seeds.size());
    return 0;
}
