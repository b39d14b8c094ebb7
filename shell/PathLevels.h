// Cutting ANSI paths into components, and the one rule by which both the
// model's path look-ups and the destination tree's walk to a path compare
// paths. Both '\' and '/' separate components, and a run of them is one
// boundary; a path that begins with two backslashes is a network path, whose
// leading pair does not count. Paths are walked by characters: the second
// byte of a double-byte character may be 0x5C, a backslash's value, in code
// pages 950 and 936, and is never taken for one ('/' never is a second byte).
#pragma once

#include <windows.h>

#include <string>

// Copies the first nLevels components of pszPath, each with the separators
// that follow it, into pszOut (at most cbOut bytes with the terminator);
// answers whether the path has that many. Sets bNetwork when the path
// begins with two backslashes. A path that does not fit pszOut answers
// FALSE with pszOut empty, never a shortened path.
BOOL CopyPathPrefix(LPCSTR pszPath, LPSTR pszOut, size_t cbOut, BOOL& bNetwork, int nLevels);

// The number of components: the largest n for which CopyPathPrefix would
// answer TRUE, however long the path.
int CountPathLevels(LPCSTR pszPath);

// The path in the form in which two paths naming one folder are equal but
// for letter case: each run of separators written as one backslash (a
// network path keeps its leading pair), none at the end.
std::string ComparablePath(LPCSTR pszPath);
