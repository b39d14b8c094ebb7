// The 200-byte header at the start of every content file. Only the magic,
// the title and the type code mean anything to this program; the body of a
// content file is never read, only copied.
#pragma once

#include <windows.h>
#include <cstddef>
#include <cstdio>
#include <cstring>

#pragma pack(push, 1)
struct ContentHeader
{
    char szMagic[2];   // "KD", no terminator
    char achReserved1[16];
    char achDigits1[2];   // two decimal digits, not interpreted
    char achReserved2[10];
    char szTitle[48];      // NUL-terminated, ANSI code page
    char szTypeCode[20];   // NUL-terminated ASCII
    char achDigits2[2];    // two decimal digits, not interpreted
    char achReserved3[100];
};
#pragma pack(pop)

static_assert(sizeof(ContentHeader) == 200, "content header is 200 bytes");
static_assert(offsetof(ContentHeader, szMagic) == 0, "magic at 0");
static_assert(offsetof(ContentHeader, achDigits1) == 18, "first digits at 18");
static_assert(offsetof(ContentHeader, szTitle) == 30, "title at 30");
static_assert(offsetof(ContentHeader, szTypeCode) == 78, "type code at 78");
static_assert(offsetof(ContentHeader, achDigits2) == 98, "second digits at 98");

// The only content type this program installs.
extern const char g_szDictionaryTypeCode[];

// Reads the header of an open file (opened "rb") from offset 0, whatever the
// file's position. When the file begins with the magic, the buffer receives
// its first 200 bytes (missing bytes of a short file stay zero) and the file
// stays just after the bytes read; otherwise the buffer is all zero and the
// file is back at offset 0. Always TRUE for a file: validity shows in the
// buffer.
BOOL ReadContentHeader(FILE* pFile, ContentHeader* pHeader);

// TRUE when the header names installable dictionary content: the exact type
// code and a non-empty title. A zeroed header fails.
BOOL IsInstallableContent(const ContentHeader& header);

// Copies the title as a NUL-terminated string. A title that fills all 48
// bytes carries no NUL of its own; it is read as 48 bytes of text.
template <size_t cchTitle> void CopyContentTitle(const ContentHeader& header, char (&szTitle)[cchTitle])
{
    static_assert(cchTitle > sizeof(header.szTitle), "room for a full title and its NUL");
    const void* pNul = std::memchr(header.szTitle, '\0', sizeof(header.szTitle));
    const size_t cb = pNul ? static_cast<const char*>(pNul) - header.szTitle : sizeof(header.szTitle);
    std::memcpy(szTitle, header.szTitle, cb);
    szTitle[cb] = '\0';
}
