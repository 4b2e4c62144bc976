// Runs the fuzz target once on the empty input and on each file in the folder given, without
// the fuzzer, so that any compiler's build checks the committed seeds in a second.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SEED-FOLDER\n", argv[0]);
        return 2;
    }
    LLVMFuzzerTestOneInput(nullptr, 0);
    int seeds = 0;
    for (const auto& seed : std::filesystem::directory_iterator(argv[1])) {
        std::ifstream file(seed.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        // Named first, so that a seed that aborts is the last one named.
        std::printf("%s (%zu bytes)\n", seed.path().c_str(), bytes.size());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ++seeds;
    }
    if (seeds == 0) {
        std::fprintf(stderr, "%s: no seeds in %s\n", argv[0], argv[1]);
        return 2;
    }
    std::printf("%d seeds and the empty input: passed\n", seeds);
    return 0;
}
