#include "platform/handheldwire/ControlMachine.h"

namespace handheldwire {

std::vector<ControlEvent> CControlMachine::Feed(const std::uint8_t* p, std::size_t cb)
{
    std::vector<ControlEvent> events;
    if (IsBroken())
        return events;
    m_in.Append(p, cb);
    while (!IsBroken() && TakeMessage(events)) {
    }
    if (IsBroken())
        m_in.Clear();
    return events;
}

std::vector<std::uint8_t> CControlMachine::Take()
{
    std::vector<std::uint8_t> out;
    out.swap(m_out);
    return out;
}

}   // namespace handheldwire
