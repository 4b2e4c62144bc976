// The tests' runner: doctest's; on Windows on a thread with COM, as the program's own is.
#define DOCTEST_CONFIG_IMPLEMENT
#ifdef _WIN32
#include <objbase.h>
#endif

#include <doctest/doctest.h>

int main(int argc, char** argv) {
#ifdef _WIN32
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
#endif
    return doctest::Context(argc, argv).run();
}
