// How late the card timer fires, on the real window, the real clock and Windows' own timers:
//   wine card_lateness.exe engl.voc [CARDS] [SECONDS]
// For each fire, the time from the moment the engine named to its first reading of the clock;
// prints the median and the maximum, for answers and for next cards. Figures, not pass or fail.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Form1.h"

namespace {

// The steady clock, noting its first reading after each mark.
struct MarkingClock final : drill::Clock {
    drill::TimePoint now() override {
        const drill::TimePoint now = std::chrono::steady_clock::now();
        if (!first) {
            first = now;
        }
        return now;
    }
    std::optional<drill::TimePoint> first;
};

double ms(drill::TimePoint::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void print(const char* what, std::vector<double> late) {
    std::sort(late.begin(), late.end());
    if (late.empty()) {
        return;
    }
    std::printf("%-10s %3zu fires: median %6.2f ms, max %6.2f ms, earliest %6.2f ms\n", what,
                late.size(), late[late.size() / 2], late.back(), late.front());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: card_lateness FILE [CARDS] [SECONDS]\n");
        return 2;
    }
    const int cards = argc > 2 ? std::max(1, _wtoi(argv[2])) : 30;
    const int seconds = argc > 3 ? std::clamp(_wtoi(argv[3]), 2, 10) : 2;
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, argv[1], -1, nullptr, 0, nullptr, nullptr);
    std::string path(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, argv[1], -1, path.data(), length, nullptr, nullptr);
    path.resize(path.size() - 1);

    MarkingClock clock;
    drill::ClockSeededRandom random;
    win32::Form1 form({dictionary::fileOpener(path), &clock, &random});
    const HWND window = form.show(SW_SHOWNOACTIVATE);
    for (int step = seconds; step > 2; --step) {  // the interval bar, moved as a user moves it
        ::SendMessageW(window, WM_HSCROLL, SB_LINERIGHT,
                       reinterpret_cast<LPARAM>(form.control(form::Control::HScroll1)));
    }
    ::SendMessageW(form.control(form::Control::Command1), BM_CLICK, 0, 0);

    const auto half = std::chrono::milliseconds(seconds * 500);
    std::vector<double> answers;
    std::vector<double> nextCards;
    int fires = 0;
    int early = 0;
    MSG message;
    while (static_cast<int>(nextCards.size()) < cards &&
           ::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message != WM_TIMER || message.hwnd != window) {
            ::DispatchMessageW(&message);
            continue;
        }
        ++fires;
        const drill::TimePoint drawn = *form.drillState().StartTime;
        wchar_t answer[2] = L"";
        const bool asking = ::GetWindowTextW(form.control(form::Control::Label3), answer, 2) == 0;
        clock.first.reset();
        ::DispatchMessageW(&message);
        const bool moved =
            asking ? ::GetWindowTextW(form.control(form::Control::Label3), answer, 2) != 0
                   : *form.drillState().StartTime != drawn;
        if (!moved) {
            ++early;  // the engine found nothing due yet and armed the timer again
            continue;
        }
        const double late = ms(*clock.first - (drawn + (asking ? half : 2 * half)));
        (asking ? answers : nextCards).push_back(late);
    }
    std::printf("%d cards at %d s, %d fires (%.2f a card), %d early\n", cards, seconds, fires,
                static_cast<double>(fires) / cards, early);
    print("answer", answers);
    print("next card", nextCards);
    return 0;
}
