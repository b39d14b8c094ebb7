#include "tests/support/BenchReport.h"

#include <windows.h>

#include <cstdio>

double SecondsTaken(const std::function<void()>& fnWork)
{
    LARGE_INTEGER freq, start, stop;
    ::QueryPerformanceFrequency(&freq);
    ::QueryPerformanceCounter(&start);
    fnWork();
    ::QueryPerformanceCounter(&stop);
    return static_cast<double>(stop.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart);
}

bool ReportRatio(const char* pszWhat, double dRatio, RatioGoal goal, double dTarget)
{
    const bool bMet = goal == RatioGoal::AtMost ? dRatio <= dTarget : dRatio >= dTarget;
    std::printf("%s: %.2f (target %s %.2f) %s\n", pszWhat, dRatio, goal == RatioGoal::AtMost ? "at most" : "at least",
                dTarget, bMet ? "met" : "MISSED");
    return bMet;
}
