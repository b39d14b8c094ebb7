// The u32 words of the USB control connection.
#pragma once

#include <cstdint>

namespace handheldwire {

constexpr std::uint32_t USB_MSG_INITIAL = 0, USB_ANSWER_INITIAL = 3;
constexpr std::uint32_t USB_MSG_OPTIONS = 6;
constexpr std::uint32_t USB_ANSWER_OPTIONS[] = { 7, 8, 4, 5 };
// What some PCs send as the last word of the options answer instead of 5.
constexpr std::uint32_t USB_ANSWER_OPTIONS_OTHER_LAST = 1;
constexpr std::uint32_t USB_MSG_INFO = 4;
constexpr std::uint32_t USB_MSG_PING = 1, USB_ANSWER_PING = 2;
constexpr std::uint32_t USB_MSG_SESSION = 5, USB_SESSION_KIND = 4;
constexpr std::uint32_t USB_MSG_SHOW_UNLOCK = 8;
// After a successful on-device unlock the PC sends 0 and then 0x0C; a
// session dies soon after an unlock without them.
constexpr std::uint32_t USB_UNLOCK_TAIL[] = { 0, 0x0C };

}   // namespace handheldwire
