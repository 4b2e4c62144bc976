// Start-up to a shown window: starts vocabunta.exe in the current folder, waits until it is idle
// with its window visible, closes it, and prints each run's time and their median:
//   wine startup_time.exe [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Design.h"
#include "Encoding.h"

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 11;
    const std::wstring title = dictionary::utf16(form::kTitle);
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        std::wstring command = L"vocabunta.exe";
        LARGE_INTEGER begin{};
        LARGE_INTEGER end{};
        ::QueryPerformanceCounter(&begin);
        if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &started)) {
            std::fprintf(stderr, "startup_time: cannot start vocabunta.exe\n");
            return 1;
        }
        ::WaitForInputIdle(started.hProcess, 20000);
        const HWND window = ::FindWindowW(nullptr, title.c_str());
        ::QueryPerformanceCounter(&end);
        if (window == nullptr || !::IsWindowVisible(window)) {
            std::fprintf(stderr, "startup_time: no window shown\n");
            ::TerminateProcess(started.hProcess, 1);
            return 1;
        }
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        ::WaitForSingleObject(started.hProcess, 20000);
        ::CloseHandle(started.hThread);
        ::CloseHandle(started.hProcess);
        times.push_back(1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
        std::printf("run %2d: %.1f ms\n", run + 1, times.back());
    }
    std::sort(times.begin(), times.end());
    std::printf("start-up to a shown window, median of %d: %.1f ms\n", runs,
                times[times.size() / 2]);
    return 0;
}
