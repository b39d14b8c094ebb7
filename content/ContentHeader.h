// The 200-byte header at the start of every content file. Only the magic,
// the title and the type code mean anything to this program; the body of a
// content file is never read, only copied.
#pragma once

#include <windows.h>
#include <cstddef>
#include <cstdio>

#pragma pack(push, 1)
struct ContentHeader
{
    char szMagic[2];        // "KD", no terminator
    char reserved1[16];
    char szVersion[2];      // two decimal digits, not interpreted
    char reserved2[10];
    char szTitle[48];       // NUL-terminated, ANSI code page
    char szTypeCode[20];    // NUL-terminated ASCII
    char szRevision[2];     // two decimal digits, not interpreted
    char reserved3[100];
};
#pragma pack(pop)

static_assert(sizeof(ContentHeader) == 200, "content header is 200 bytes");
static_assert(offsetof(ContentHeader, szMagic) == 0, "magic at 0");
static_assert(offsetof(ContentHeader, szVersion) == 18, "version digits at 18");
static_assert(offsetof(ContentHeader, szTitle) == 30, "title at 30");
static_assert(offsetof(ContentHeader, szTypeCode) == 78, "type code at 78");
static_assert(offsetof(ContentHeader, szRevision) == 98, "revision digits at 98");

// The only content type this program installs.
extern const char g_szDictionaryTypeCode[];

// Reads the header of an open file (opened "rb"). The buffer receives the
// file's first 200 bytes when they begin with the magic (missing bytes of a
// short file stay zero), and 200 zero bytes otherwise; then the file is back
// at offset 0. Always TRUE for a file: validity shows in the buffer.
BOOL ReadContentHeader(FILE* pFile, ContentHeader* pHeader);

// TRUE when the header names installable dictionary content: the exact type
// code and a non-empty title. A zeroed header fails.
BOOL IsInstallableContent(const ContentHeader& header);
