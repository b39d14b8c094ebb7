// What the four control state machines share: received bytes wait in a
// queue until a whole message is there, and the bytes to send wait until
// they are taken. A machine broken by a violation takes nothing more and
// drops what it held.
#pragma once

#include "platform/handheldwire/ControlEvent.h"
#include "platform/handheldwire/InputQueue.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace handheldwire {

class CControlMachine
{
public:
    virtual ~CControlMachine() = default;

    // Received bytes in; what the whole messages among them meant out.
    std::vector<ControlEvent> Feed(const std::uint8_t* p, std::size_t cb);
    // The bytes to send, once.
    std::vector<std::uint8_t> Take();

    virtual bool IsBroken() const = 0;

protected:
    // One message from the front of m_in, or false when it is not all there.
    virtual bool TakeMessage(std::vector<ControlEvent>& events) = 0;

    CInputQueue m_in;
    std::vector<std::uint8_t> m_out;
};

}   // namespace handheldwire
