// The handheld's remote calls of one session, answered from the store:
// every file, folder and search call the wire library knows. Files and
// searches the session leaves open are closed with it.
#pragma once

// Ahead of the wire library: some of its call names (CreateFile, MoveFile...)
// are also Win32 macros, which must rename them alike wherever they are used.
#include <windows.h>

#include "platform/handheldwire/RapiCalls.h"
#include "platform/rapi/emulator/HandheldStore.h"
#include "platform/rapi/emulator/LinkFaults.h"

class CHandheldCalls
{
public:
    CHandheldCalls(DWORD dwOwner, CHandheldStore& store, CLinkFaults& faults);
    ~CHandheldCalls();
    CHandheldCalls(const CHandheldCalls&) = delete;
    CHandheldCalls& operator=(const CHandheldCalls&) = delete;

    // FALSE when the call pulls the cable: the session ends without a reply.
    bool Answer(const handheldwire::RapiRequest& request, handheldwire::RapiReply& reply);

private:
    void OnCreateFile(const handheldwire::RapiRequest& request, handheldwire::RapiReply& reply);
    bool OnWriteFile(const handheldwire::RapiRequest& request, handheldwire::RapiReply& reply);
    void OnReadFile(const handheldwire::RapiRequest& request, handheldwire::RapiReply& reply);
    void OnFindAllFiles(const handheldwire::RapiRequest& request, handheldwire::RapiReply& reply);
    void OnFindFirstFile(const handheldwire::RapiRequest& request, handheldwire::RapiReply& reply);
    void OnGetSpecialFolderPath(const handheldwire::RapiRequest& request, handheldwire::RapiReply& reply);
    // The calls that only name paths and answer a BOOL.
    void OnPathCall(const handheldwire::RapiRequest& request, handheldwire::RapiReply& reply);

    DWORD m_dwOwner;
    CHandheldStore& m_store;
    CLinkFaults& m_faults;
};
