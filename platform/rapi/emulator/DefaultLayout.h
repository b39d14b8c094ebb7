// The folders a handheld comes with, given to an empty served folder.
#pragma once

#include <windows.h>

struct LayoutFolder
{
    const wchar_t* pszPath;
    DWORD dwAttributes;
};

extern const LayoutFolder DEFAULT_LAYOUT[];
extern const size_t DEFAULT_LAYOUT_COUNT;
