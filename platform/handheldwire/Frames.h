// The RAPI frame: a u32 length, then that many payload bytes, both ways.
#pragma once

#include "platform/handheldwire/InputQueue.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace handheldwire {

// V1: OS 4.x and earlier, whose replies start with a flag word;
// V2: OS 5.1 and 5.2, whose replies carry the results alone.
enum class RapiVersion
{
    V1,
    V2
};
RapiVersion VersionForOs(std::uint32_t nMajor, std::uint32_t nMinor);

constexpr std::uint32_t MAX_FRAME_PAYLOAD = 1u << 20;   // 1 MiB: a 64 KiB write plus headers, a long listing

// Prepends the u32 length.
std::vector<std::uint8_t> MakeFrame(const std::vector<std::uint8_t>& payload);

// Takes received bytes as they come and hands out whole payloads. Holds at
// most one frame's bytes plus what was fed since the last one was taken.
class CFrameAssembler
{
public:
    explicit CFrameAssembler(std::uint32_t cbMax = MAX_FRAME_PAYLOAD) : m_cbMax(cbMax) {}

    void Feed(const std::uint8_t* p, std::size_t cb);
    // True when a whole frame was taken.
    bool Next(std::vector<std::uint8_t>& payload);
    // A length of 0 or above cbMax was announced: the connection must be closed.
    bool IsRefused() const { return m_bRefused; }

private:
    // Refuses the frame at the front when its length is out of bounds.
    void CheckFrontLength();

    std::uint32_t m_cbMax;
    CInputQueue m_pending;
    bool m_bRefused = false;
};

}   // namespace handheldwire
