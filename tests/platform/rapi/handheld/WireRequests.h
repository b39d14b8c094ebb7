// Requests of the remote calls as the tests make them.
#pragma once

// Ahead of the wire library: some of its call names (CreateFile, MoveFile...)
// are also Win32 macros, which must rename them alike wherever they are used.
#include <winsock2.h>
#include <windows.h>

#include "platform/handheldwire/RapiCalls.h"

#include <string>

namespace wire {
using handheldwire::Call;
using handheldwire::RapiRequest;

inline RapiRequest Named(Call call, const std::u16string& strName, const std::u16string& strNewName = u"")
{
    RapiRequest request;
    request.call = call;
    request.strName = strName;
    request.strNewName = strNewName;
    return request;
}

inline RapiRequest Create(const std::u16string& strName, std::uint32_t dwAccess, std::uint32_t dwCreation)
{
    RapiRequest request = Named(Call::CreateFile, strName);
    request.dwAccess = dwAccess;
    request.dwCreation = dwCreation;
    request.dwFlagsAndAttributes = FILE_ATTRIBUTE_NORMAL;
    return request;
}

inline RapiRequest OnHandle(Call call, std::uint32_t hFile)
{
    RapiRequest request;
    request.call = call;
    request.hFile = hFile;
    return request;
}

inline RapiRequest Write(std::uint32_t hFile, const std::string& strBytes)
{
    RapiRequest request = OnHandle(Call::WriteFile, hFile);
    request.data.assign(strBytes.begin(), strBytes.end());
    return request;
}

inline RapiRequest Read(std::uint32_t hFile, std::uint32_t cb)
{
    RapiRequest request = OnHandle(Call::ReadFile, hFile);
    request.cbToRead = cb;
    return request;
}

inline RapiRequest FindAll(const std::u16string& strPattern, std::uint32_t dwFlags)
{
    RapiRequest request = Named(Call::FindAllFiles, strPattern);
    request.dwFlags = dwFlags;
    return request;
}

inline RapiRequest SpecialFolder(std::uint32_t dwFolder, std::uint32_t cchBuffer)
{
    RapiRequest request;
    request.call = Call::GetSpecialFolderPath;
    request.dwFolder = dwFolder;
    request.cchBuffer = cchBuffer;
    return request;
}
}   // namespace wire
