// One reference to a COM interface, released when it goes.
#pragma once

#include "platform/HandleOwner.h"

#include <unknwn.h>

template <class Interface> struct ComTraits
{
    using Handle = Interface*;
    static Handle None() { return nullptr; }
    static bool Release(Handle p)
    {
        p->Release();
        return true;
    }
};

template <class Interface> using CComRef = CHandleOwner<ComTraits<Interface>>;
