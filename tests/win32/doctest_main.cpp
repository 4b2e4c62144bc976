// The Windows tests' runner: doctest's, on a thread with COM, as the program's own is.
#define DOCTEST_CONFIG_IMPLEMENT
#include <objbase.h>

#include <doctest/doctest.h>

int main(int argc, char** argv) {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return doctest::Context(argc, argv).run();
}
