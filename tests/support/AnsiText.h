// Texts of the test sources (UTF-8) in the form the program handles them.
#pragma once

#include <string>

// The text in the system's ANSI code page, the code page of the test's
// locale (950 under zh_TW, 936 under zh_CN).
std::string AnsiFromUtf8(const std::string& strUtf8);

// Whether the test runs with the simplified-Chinese set of the resources
// (code page 936) rather than the traditional one: the locale picks it.
bool IsSimplifiedSet();

// The one of the two texts (UTF-8) that the user's language set shows, in
// the ANSI code page.
std::string InUsersSet(const char* pszTraditional, const char* pszSimplified);
