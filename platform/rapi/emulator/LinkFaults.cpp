#include "platform/rapi/emulator/LinkFaults.h"

#include <cstdint>
#include <thread>

namespace {
constexpr int TIMER_SLACK_MS = 3;
}   // namespace

void CLinkFaults::DelayCall() const
{
    if (m_options.dwLatencyMs)
        Sleep(m_options.dwLatencyMs);
}

void CLinkFaults::PaceTransfer(size_t cb) const
{
    if (m_options.dwBytesPerSecond)
        Sleep(static_cast<DWORD>(static_cast<ULONGLONG>(cb) * 1000 / m_options.dwBytesPerSecond));
}

// The system's timer wakes a sleeper up to a few milliseconds late: the
// last of the wait is spent yielding, so that the cable keeps its rate.
void CLinkFaults::PaceTransferSince(size_t cb, Clock::time_point began) const
{
    if (m_options.dwBytesPerSecond == 0)
        return;
    const Clock::time_point due =
        began + std::chrono::microseconds(static_cast<ULONGLONG>(cb) * 1000000 / m_options.dwBytesPerSecond);
    std::this_thread::sleep_until(due - std::chrono::milliseconds(TIMER_SLACK_MS));
    while (Clock::now() < due)
        std::this_thread::yield();
}

size_t CLinkFaults::SliceBytes() const
{
    if (m_options.dwBytesPerSecond == 0)
        return SIZE_MAX;
    return m_options.dwBytesPerSecond / 10;   // a cap is at least 1 KB/s
}

DWORD CLinkFaults::BytesBeforeDrop(DWORD cb) const
{
    if (m_bPulled || m_options.nDropAfter == UNLIMITED)
        return cb;
    ULONGLONG nLeft = m_options.nDropAfter > m_nWritten ? m_options.nDropAfter - m_nWritten : 0;
    return nLeft < cb ? static_cast<DWORD>(nLeft) : cb;
}

bool CLinkFaults::CountWritten(DWORD cb)
{
    m_nWritten += cb;
    if (m_bPulled || m_options.nDropAfter == UNLIMITED || m_nWritten < m_options.nDropAfter)
        return false;
    m_bPulled = true;
    return true;
}

ListingFault CLinkFaults::NextListingFault()
{
    if (m_options.listingFault != lfInTurn)
        return m_options.listingFault;
    static const ListingFault turns[] = { lfUnterminated, lfOvercount, lfCut };
    CLock lock(m_cs);
    return turns[m_nListings++ % ARRAYSIZE(turns)];
}
