// A typed password, from the terminal's UTF-8 to the handheld's UTF-16.
#pragma once

#include <string>

// False for bytes that are not well-formed UTF-8.
bool Utf16FromUtf8(const std::string& str, std::u16string& strOut);
