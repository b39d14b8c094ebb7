// The bytes of content files, for tests that put them on disk.
#pragma once

#include "content/ContentHeader.h"

#include <string>

// A header as an installable content file carries it: the magic "KD", the
// title and the type code in their fields, every other byte zero. A title or
// code longer than its field fills it without a NUL.
ContentHeader MakeContentHeader(const std::string& strTitle, const std::string& strTypeCode = g_szDictionaryTypeCode);

// A content file of cbLength bytes that begins with header: cut short when
// cbLength is under 200 bytes, else the header followed by a body of
// non-zero filler bytes.
std::string ContentFileBytes(const ContentHeader& header, size_t cbLength = sizeof(ContentHeader));
