#include "tests/support/BenchReport.h"

#include <cstdio>

bool ReportRatio(const char* pszWhat, double dRatio, RatioGoal goal, double dTarget)
{
    const bool bMet = goal == RatioGoal::AtMost ? dRatio <= dTarget : dRatio >= dTarget;
    std::printf("%s: %.2f (target %s %.2f) %s\n", pszWhat, dRatio, goal == RatioGoal::AtMost ? "at most" : "at least",
                dTarget, bMet ? "met" : "MISSED");
    return bMet;
}
