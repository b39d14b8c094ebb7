// A library playing the system's own remote API library for the tests: it
// writes down every call it gets, with its arguments, and answers each with
// a result of its own that no other library would give, so that a test
// sees whether a call and its answer went through unchanged.
#pragma once

#include "platform/rapi/rapi.h"

#include <stdint.h>
#include <stdio.h>
#include <string>

// The answers the recording library gives.
const HRESULT RECORDED_INIT_RESULT = 0x00C0FFEE;
const HRESULT RECORDED_HANDHELD_RESULT = 0x00000042;
const HRESULT RECORDED_UNINIT_RESULT = 0x00BEEF01;
const HRESULT RECORDED_FREE_RESULT = 0x00F4EE00;
const DWORD RECORDED_LAST_ERROR = 0xC0DE1234;
const HRESULT RECORDED_LINK_ERROR = static_cast<HRESULT>(0x80041234);
const BOOL RECORDED_LISTING_RESULT = 7;
const DWORD RECORDED_LISTING_COUNT = 2;
const ULONG_PTR RECORDED_FILE_HANDLE = 0x4321;
const BOOL RECORDED_WRITE_RESULT = 5;
const BOOL RECORDED_CLOSE_RESULT = 3;

// One call as the library writes it down: its name, then each argument in
// hexadecimal, a path as its pointer followed by its text.
inline std::string Hex(uint64_t n)
{
    char szText[24];
    snprintf(szText, sizeof(szText), " %llx", static_cast<unsigned long long>(n));
    return szText;
}

inline std::string Hex(const void* p)
{
    return Hex(reinterpret_cast<uintptr_t>(p));
}

inline std::string PathArgument(LPCWSTR pszPath)
{
    std::string str = Hex(pszPath) + " ";
    for (; pszPath && *pszPath; ++pszPath)
        str += static_cast<char>(*pszPath);
    return str;
}

// The library's own export that hands the calls written down so far.
typedef const char*(WINAPI* RecordedCallsProc)();
