// A password on the wire: a u16 byte count, then the UTF-16LE units with
// every byte XORed with the key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace handheldwire {

// u16 count + bytes; the count includes the XORed terminator.
std::vector<std::uint8_t> EncodePassword(const std::u16string& strPassword, std::uint8_t nKey);
// The bytes after the u16 count; accepts a count with or without the XORed terminator.
bool DecodePassword(const std::uint8_t* p, std::size_t cb, std::uint8_t nKey, std::u16string& strPassword);

}   // namespace handheldwire
