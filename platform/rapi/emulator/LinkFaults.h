// The faults and the slowness the emulator was told to show: a link that
// takes its time per call and per byte, a handshake never answered or
// refused, a cable pulled once so many bytes have been written, and
// listings spoiled.
#pragma once

#include "platform/rapi/Lock.h"
#include "platform/rapi/emulator/EmulatorOptions.h"

#include <chrono>

class CLinkFaults
{
public:
    explicit CLinkFaults(const EmulatorOptions& options) : m_options(options) {}

    bool AnswersHandshake() const { return !m_options.bNoHandshake; }
    HRESULT HandshakeResult() const { return m_options.hrRefusal; }
    bool CutsFrames() const { return m_options.bCutFrames; }

    using Clock = std::chrono::steady_clock;

    void DelayCall() const;
    // Waits as long as cb bytes take on a link of the configured throughput.
    void PaceTransfer(size_t cb) const;
    // Waits until cb bytes whose first came at began have had the time they
    // take on such a link: the cable carries them while they are sent.
    void PaceTransferSince(size_t cb, Clock::time_point began) const;
    // How many bytes go out at once on a link of the configured throughput:
    // a tenth of a second's worth, so a long reply trickles as on a cable.
    size_t SliceBytes() const;

    // Runs write with the bytes of cb that still get through before the
    // cable is pulled (it answers how many it wrote) and counts them, in one
    // step, so that connections writing at once cannot pass the limit
    // together. True once the cable is pulled by them. The cable is pulled
    // once: a later connection is a handheld put back.
    template <class Write> bool WriteBeforeDrop(DWORD cb, Write write)
    {
        CLock lock(m_cs);
        return CountWritten(write(BytesBeforeDrop(cb)));
    }

    // How the next listing reply is spoiled (lfNone: not at all); faults
    // that come in turn move on with every listing of any connection.
    ListingFault NextListingFault();

private:
    // The callers hold m_cs.
    DWORD BytesBeforeDrop(DWORD cb) const;
    bool CountWritten(DWORD cb);

    const EmulatorOptions& m_options;
    CCriticalSection m_cs;
    ULONGLONG m_nWritten = 0;
    bool m_bPulled = false;
    DWORD m_nListings = 0;
};
