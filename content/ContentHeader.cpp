#include "content/ContentHeader.h"

#include <cstring>

const char g_szDictionaryTypeCode[] = "BK_DIC_QX";

BOOL ReadContentHeader(FILE* pFile, ContentHeader* pHeader)
{
    ContentHeader work;
    std::memset(&work, 0, sizeof(work));

    std::fseek(pFile, 0, SEEK_SET);
    // A read error counts as end of file: the bytes not read stay zero.
    std::fread(&work, 1, sizeof(work), pFile);

    if (std::memcmp(work.szMagic, "KD", sizeof(work.szMagic)) == 0) {
        std::memcpy(pHeader, &work, sizeof(work));
    } else {
        std::memset(pHeader, 0, sizeof(*pHeader));
        std::fseek(pFile, 0, SEEK_SET);
    }
    return TRUE;
}

BOOL IsInstallableContent(const ContentHeader& header)
{
    // The type code must match as a whole string, so the comparison runs
    // over the terminator too; a field without any NUL never matches.
    const size_t cbCode = sizeof(g_szDictionaryTypeCode);
    return std::memcmp(header.szTypeCode, g_szDictionaryTypeCode, cbCode) == 0 && header.szTitle[0] != '\0';
}
