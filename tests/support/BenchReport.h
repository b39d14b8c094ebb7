// How a benchmark times its work, and reports a ratio against its target:
// one line each, and the answer whether the target was met, for the
// benchmark's exit code.
#pragma once

#include <functional>

enum class RatioGoal
{
    AtMost,
    AtLeast
};

// The seconds fnWork takes, by the performance counter.
double SecondsTaken(const std::function<void()>& fnWork);

bool ReportRatio(const char* pszWhat, double dRatio, RatioGoal goal, double dTarget);
