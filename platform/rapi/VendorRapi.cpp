#include "platform/rapi/VendorRapi.h"

#include "platform/rapi/StandInMark.h"

#include <string>

namespace {
// The tests' build of this library takes the folder where they put a
// library that plays the system's from the environment; the shipped one
// looks in the system folder alone.
DWORD TestSystemFolder(char* pszFolder, DWORD cchFolder)
{
#ifdef TARNIX_TEST_SEAMS
    return GetEnvironmentVariableA("TARNIX_RAPI_SYSTEM_FOLDER", pszFolder, cchFolder);
#else
    (void)pszFolder;
    (void)cchFolder;
    return 0;
#endif
}

std::string SystemFolder()
{
    char szFolder[MAX_PATH];
    DWORD cch = TestSystemFolder(szFolder, sizeof(szFolder));
    if (cch == 0)
        cch = GetSystemDirectoryA(szFolder, sizeof(szFolder));
    return cch > 0 && cch < sizeof(szFolder) ? szFolder : "";
}

HMODULE ThisLibrary()
{
    HMODULE hModule = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisLibrary), &hModule);
    return hModule;
}

// The library's dependencies are looked for beside it, not beside the program.
HMODULE LoadVendorLibrary()
{
    const std::string strFolder = SystemFolder();
    if (strFolder.empty())
        return nullptr;
    const std::string strPath = strFolder + "\\rapi.dll";
    const DWORD dwAttributes = GetFileAttributesA(strPath.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY)
        || IsOurStandIn(strPath.c_str()))
        return nullptr;
    HMODULE hLib = LoadLibraryExA(strPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    // A copy of this very library, whatever its record says, would call itself.
    if (hLib && hLib == ThisLibrary()) {
        FreeLibrary(hLib);
        return nullptr;
    }
    return hLib;
}

template <typename Pointer> BOOL Resolve(HMODULE hLib, const char* pszName, Pointer& pfn)
{
    pfn = reinterpret_cast<Pointer>(reinterpret_cast<void*>(GetProcAddress(hLib, pszName)));
    return pfn != nullptr;
}

// A library without CeRapiGetError never tells a link failure apart: the
// answer the program takes from such a library itself.
HRESULT WINAPI NoLinkError()
{
    return S_OK;
}

BOOL ResolveAll(HMODULE hLib, VendorRapi& vendor)
{
    if (!Resolve(hLib, "CeRapiGetError", vendor.pfnCeRapiGetError))
        vendor.pfnCeRapiGetError = NoLinkError;
    return Resolve(hLib, "CeRapiInitEx", vendor.pfnCeRapiInitEx)
           && Resolve(hLib, "CeRapiUninit", vendor.pfnCeRapiUninit)
           && Resolve(hLib, "CeRapiFreeBuffer", vendor.pfnCeRapiFreeBuffer)
           && Resolve(hLib, "CeGetLastError", vendor.pfnCeGetLastError)
           && Resolve(hLib, "CeFindAllFiles", vendor.pfnCeFindAllFiles)
           && Resolve(hLib, "CeCreateFile", vendor.pfnCeCreateFile)
           && Resolve(hLib, "CeWriteFile", vendor.pfnCeWriteFile)
           && Resolve(hLib, "CeCloseHandle", vendor.pfnCeCloseHandle)
           && Resolve(hLib, "CeDeleteFile", vendor.pfnCeDeleteFile);
}

// The library found stays loaded for the rest of the process: freeing it
// when this one is unloaded would mean calling the loader from inside the
// loader, and a call handed on may still be running on another thread.
const VendorRapi* FindVendorRapi()
{
    static VendorRapi s_vendor;
    HMODULE hLib = LoadVendorLibrary();
    if (!hLib)
        return nullptr;
    if (ResolveAll(hLib, s_vendor))
        return &s_vendor;
    FreeLibrary(hLib);
    return nullptr;
}
}   // namespace

const VendorRapi* TheVendorRapi()
{
    static const VendorRapi* s_pVendor = FindVendorRapi();
    return s_pVendor;
}
