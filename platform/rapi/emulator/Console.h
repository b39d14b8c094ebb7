// What the emulator prints for whoever watches it: the address it listens
// on first, then one line per connection it serves.
#pragma once

#include <windows.h>
#include <string>

void WriteLine(DWORD nStdHandle, const std::string& strLine);
std::string ToAnsi(const std::wstring& str);
// Prints "connection N" for the next connection and returns its N (from 1).
DWORD AnnounceConnection();
