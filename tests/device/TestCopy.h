// A copy of this test program run as a process of its own, for a test that
// needs a program folder or a loader state of its own: only the tests the
// filter names run there, with a marker in their environment that tells
// them they are the copy.
#pragma once

#include <windows.h>
#include <string>

// The copy's exit code once it has ended; ~0 when it could not be made or
// started, or did not end within a minute. strCurrentFolder empty: this
// process's current folder.
DWORD RunTestCopy(const std::string& strCopyPath, const std::string& strFilter, const char* pszMarker,
                  const std::string& strCurrentFolder = std::string());
