// Where a handheld and the PC meet, and how closely the link is watched.
#pragma once

#include <cstdint>
#include <string>

namespace handheldlink {

struct LinkSettings
{
    std::string strDeviceAddress = "169.254.2.1";
    std::string strPcAddress = "169.254.2.2";
    std::uint16_t nTriggerPort = 5679;   // USB: the device's UDP port for the trigger
    std::uint16_t nControlPort = 990;    // USB: 990; legacy: 5679 (the PC listens)
    std::uint16_t nSessionPort = 990;    // USB: where the device connects back; legacy: where the device listens
    // A live link is pinged this often, and declared gone when an answer is
    // this late: a pulled cable shows within about six seconds.
    std::uint32_t msPingInterval = 3000;
    std::uint32_t msPingAnswer = 3000;
    // How long opening a session waits for a handheld to be there and unlocked.
    std::uint32_t msSessionWait = 10000;
    // The bound of one remote call; the stand-in library's own is 5 s.
    std::uint32_t msCallBound = 4000;
};

}   // namespace handheldlink
