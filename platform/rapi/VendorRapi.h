// The system's own remote API library, where the system has one that is
// not ours: the stand-in then hands every call to it unchanged. It is
// looked for once, at the first call, in the system folder and nowhere
// else, and loaded by its full path.
#pragma once

#include "platform/rapi/rapi.h"

struct VendorRapi
{
    decltype(&::CeRapiInitEx) pfnCeRapiInitEx;
    decltype(&::CeRapiUninit) pfnCeRapiUninit;
    decltype(&::CeRapiFreeBuffer) pfnCeRapiFreeBuffer;
    decltype(&::CeGetLastError) pfnCeGetLastError;
    decltype(&::CeRapiGetError) pfnCeRapiGetError;
    decltype(&::CeFindAllFiles) pfnCeFindAllFiles;
    decltype(&::CeCreateFile) pfnCeCreateFile;
    decltype(&::CeWriteFile) pfnCeWriteFile;
    decltype(&::CeCloseHandle) pfnCeCloseHandle;
    decltype(&::CeDeleteFile) pfnCeDeleteFile;
};

// Null when the system has no such library, when the one there is ours,
// or when it lacks an entry point the program calls.
const VendorRapi* TheVendorRapi();
