// Texts of the test sources (UTF-8), and texts read from windows, in the
// form the program handles them: the system's ANSI code page.
//
// A character the code page cannot hold would come out as '?', and two texts
// that both lost their characters that way would compare equal whatever they
// said; so every conversion here fails the running test, naming the text,
// instead of giving such a '?'.
#pragma once

#include <windows.h>
#include <string>

// The text in the system's ANSI code page, the code page of the test's
// locale (950 under zh_TW, 936 under zh_CN, 1252 under de_DE).
std::string AnsiFromUtf8(const std::string& strUtf8);
std::string AnsiFromWide(const std::wstring& str);

// The one of the two texts (UTF-8) that the user's language set shows, in
// the ANSI code page: the test's locale picks the set (code page 936, the
// simplified one; 950, the traditional one).
std::string InUsersSet(const char* pszTraditional, const char* pszSimplified);

// The text of a window (a control, a dialog, a caption), of this process or
// another, read as UTF-16 and converted as above.
std::string WindowTextOf(HWND hWnd);
