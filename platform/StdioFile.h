// A C runtime stream owned by the object: closed when it goes. Release()
// closes it now and answers whether the stream wrote everything it held.
#pragma once

#include "platform/HandleOwner.h"

#include <cstdio>

struct StdioFileTraits
{
    using Handle = std::FILE*;
    static Handle None() { return nullptr; }
    // The flush is asked for on its own: a C runtime may lose a failed
    // flush (a full disk) in what fclose answers.
    static bool Release(Handle pFile)
    {
        const bool bFlushed = std::fflush(pFile) == 0;
        return std::fclose(pFile) == 0 && bFlushed;
    }
};

using CStdioFile = CHandleOwner<StdioFileTraits>;
