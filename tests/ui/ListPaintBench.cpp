// Repainting a scrolled content list must not depend on the size of the
// catalogue: the first visible entry comes from the scroll position. Times
// full repaints of a list of 100 000 entries against one of 100, scrolled
// to the middle, and prints the ratio (target: within 1.2).
#include "tests/ui/ListTestFrame.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRepaints = 200;
constexpr int kRounds = 7;

double Seconds(LONGLONG nTicks)
{
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    return static_cast<double>(nTicks) / static_cast<double>(freq.QuadPart);
}

// The fastest of several rounds of repaints, in seconds per repaint.
double RepaintTime(int nEntries)
{
    CListTestFrame frame(600, 400);
    frame.SetEntries(nEntries);
    CTarnixView* pView = frame.m_pView;
    pView->OnScrollBy(CSize(0, pView->GetScrollLimit(SB_VERT) / 2));
    double dBest = 1e9;
    for (int nRound = 0; nRound < kRounds; ++nRound) {
        LARGE_INTEGER start, stop;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < kRepaints; ++i)
            RedrawWindow(*pView, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        QueryPerformanceCounter(&stop);
        dBest = std::min(dBest, Seconds(stop.QuadPart - start.QuadPart) / kRepaints);
    }
    return dBest;
}

} // namespace

int main()
{
    const double dSmall = RepaintTime(100);
    const double dLarge = RepaintTime(100000);
    std::printf("list repaint, 100 entries:     %8.1f us\n", dSmall * 1e6);
    std::printf("list repaint, 100000 entries:  %8.1f us\n", dLarge * 1e6);
    std::printf("ratio 100000 / 100: %.2f (target 1.20)\n", dLarge / dSmall);
    return 0;
}
