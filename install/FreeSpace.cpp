#include "install/FreeSpace.h"

#include <cstring>

ULONGLONG QueryFreeSpace(LPCSTR pszPath)
{
    char szRoot[4] = {};
    std::strncpy(szRoot, pszPath, 3);
    DWORD dwSectorsPerCluster = 0;
    DWORD dwBytesPerSector = 0;
    DWORD dwFreeClusters = 0;
    DWORD dwClusters = 0;
    if (!::GetDiskFreeSpaceA(szRoot, &dwSectorsPerCluster, &dwBytesPerSector, &dwFreeClusters, &dwClusters))
        return 0;
    return static_cast<ULONGLONG>(dwSectorsPerCluster) * dwBytesPerSector * dwFreeClusters;
}
