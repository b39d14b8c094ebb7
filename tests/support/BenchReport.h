// How a benchmark reports a ratio against its target: one line each, and
// the answer whether the target was met, for the benchmark's exit code.
#pragma once

enum class RatioGoal
{
    AtMost,
    AtLeast
};

bool ReportRatio(const char* pszWhat, double dRatio, RatioGoal goal, double dTarget);
