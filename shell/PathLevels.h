// Cutting ANSI paths into components for the path lookups of the model.
// Both '\' and '/' separate components; a path that begins with two
// backslashes is a network path, whose leading pair does not count.
#pragma once

#include <windows.h>

// Copies the first nLevels components of pszPath, each with the separators
// that follow it, into pszOut (at most cbOut bytes with the terminator);
// answers whether the path has that many. Sets bNetwork when the path
// begins with two backslashes. A path that does not fit pszOut answers
// FALSE with pszOut empty, never a shortened path.
BOOL CopyPathPrefix(LPCSTR pszPath, LPSTR pszOut, size_t cbOut, BOOL& bNetwork, int nLevels);

// The number of components: the largest n for which CopyPathPrefix answers
// TRUE in a 260-byte buffer.
int CountPathLevels(LPCSTR pszPath);
