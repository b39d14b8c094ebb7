// Repainting a scrolled content list must not depend on the size of the
// catalogue: the first visible entry comes from the scroll position. Times
// full repaints of a list of 100 000 entries against one of 100, scrolled
// to the middle, and prints the ratio (target: within 1.2).
#include "tests/support/BenchReport.h"
#include "tests/ui/ListTestFrame.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int REPAINTS = 100;
constexpr int ROUNDS = 15;

// A list of nEntries scrolled to its middle.
void ScrollToMiddle(CListTestFrame& frame, int nEntries)
{
    frame.SetEntries(nEntries);
    frame.m_pView->OnScrollBy(CSize(0, frame.m_pView->GetScrollLimit(SB_VERT) / 2));
}

// Seconds per repaint of one round.
double RepaintRound(CListTestFrame& frame)
{
    return SecondsTaken([&] {
               for (int i = 0; i < REPAINTS; ++i)
                   RedrawWindow(*frame.m_pView, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
           })
           / REPAINTS;
}

}   // namespace

int main()
{
    CListTestFrame small(600, 400);
    CListTestFrame large(600, 400);
    // Side by side: neither may hide the other's painting.
    large.m_frame.SetWindowPos(nullptr, 610, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ScrollToMiddle(small, 100);
    ScrollToMiddle(large, 100000);
    // Rounds alternate between the two lists, and the fastest round of each
    // counts, so that load from elsewhere on the machine hits both alike.
    double dSmall = 1e9;
    double dLarge = 1e9;
    for (int nRound = 0; nRound < ROUNDS; ++nRound) {
        dSmall = std::min(dSmall, RepaintRound(small));
        dLarge = std::min(dLarge, RepaintRound(large));
    }
    std::printf("list repaint, 100 entries:     %8.1f us\n", dSmall * 1e6);
    std::printf("list repaint, 100000 entries:  %8.1f us\n", dLarge * 1e6);
    return ReportRatio("list repaint, 100000 / 100 entries", dLarge / dSmall, RatioGoal::AtMost, 1.2) ? 0 : 1;
}
