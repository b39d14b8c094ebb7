// Points in time that bound a wait, and what is left until one.
#pragma once

#include <chrono>
#include <cstdint>

namespace handheldlink {

using LinkClock = std::chrono::steady_clock;

inline LinkClock::time_point DeadlineAfter(std::uint32_t ms)
{
    return LinkClock::now() + std::chrono::milliseconds(ms);
}

// 0 once the deadline has passed.
inline std::uint32_t MillisecondsUntil(LinkClock::time_point deadline)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - LinkClock::now()).count();
    return ms > 0 ? static_cast<std::uint32_t>(ms) : 0;
}

}   // namespace handheldlink
