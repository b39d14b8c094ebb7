// Texts of the test sources (UTF-8) in the form the program handles them.
#pragma once

#include <string>

// The text in the system's ANSI code page, the code page of the test's
// locale (950 under zh_TW, 936 under zh_CN).
std::string AnsiFromUtf8(const std::string& strUtf8);

// The one of the two texts (UTF-8) that the user's language set shows, in
// the ANSI code page: the test's locale picks the set (code page 936, the
// simplified one; 950, the traditional one).
std::string InUsersSet(const char* pszTraditional, const char* pszSimplified);
