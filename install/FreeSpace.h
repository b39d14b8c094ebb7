// Free room on a local volume.
#pragma once

#include <windows.h>

// The free bytes of the volume whose root is the first three characters of
// pszPath (a drive letter, a colon and a backslash); 0 when the system
// cannot tell, as for a network path.
ULONGLONG QueryFreeSpace(LPCSTR pszPath);
