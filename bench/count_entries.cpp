// Counts a dictionary's entries the way the window does on first show and prints the count,
// so the whole process can be timed against other line counters.
#include <cstdio>

#include "Count.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: count_entries FILE\n");
        return 2;
    }
    const dictionary::CountResult counted =
        dictionary::countEntries(dictionary::fileOpener(argv[1]));
    if (counted.status != dictionary::OpenStatus::Ok) {
        std::fprintf(stderr, "count_entries: cannot read %s\n", argv[1]);
        return 1;
    }
    std::printf("%lld\n", static_cast<long long>(counted.entries));
    return 0;
}
