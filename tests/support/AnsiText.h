// Texts of the test sources (UTF-8) in the form the program handles them.
#pragma once

#include <string>

// The text in the system's ANSI code page, the code page of the test's
// locale (950 under zh_TW, 936 under zh_CN).
std::string AnsiFromUtf8(const std::string& strUtf8);
