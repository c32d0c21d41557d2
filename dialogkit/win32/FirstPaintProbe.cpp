#include "dialogkit/FirstPaintProbe.h"

#include <cstdio>

#include "dialogkit/win32/DialogWindow.h"

namespace vorlane::dk {

namespace {
bool g_armed = false;
}  // namespace

void installFirstPaintProbe() {
    g_armed = true;
}

bool firstPaintProbeArmed() {
    return g_armed;
}

// Windows has no CLOCK_MONOTONIC: the performance counter is its monotonic clock (under Wine the
// host's monotonic clock), given in nanoseconds as the other backends give theirs.
void fireFirstPaintProbe(HWND window) {
    g_armed = false;
    // The controls paint after their dialog; the whole window is on the screen first.
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    const long long ticks = now.QuadPart;
    const long long perSecond = frequency.QuadPart > 0 ? frequency.QuadPart : 1;
    const long long ns =
        ticks / perSecond * 1000000000LL + ticks % perSecond * 1000000000LL / perSecond;
    std::printf("first-paint %lld\n", ns);
    std::fflush(stdout);
    ExitProcess(0);
}

}  // namespace vorlane::dk
