// The one owner of a handle: releases it when it goes, unless it was
// detached first. The traits name the kind of handle: its type, the value
// that stands for none, and how one is released.
#pragma once

template <class Traits> class CHandleOwner
{
public:
    using Handle = typename Traits::Handle;

    CHandleOwner() = default;
    explicit CHandleOwner(Handle h) : m_h(h) {}
    ~CHandleOwner() { Release(); }
    CHandleOwner(const CHandleOwner&) = delete;
    CHandleOwner& operator=(const CHandleOwner&) = delete;

    bool IsValid() const { return m_h != Traits::None(); }
    Handle Get() const { return m_h; }
    // Takes h on, when it is a handle and none is held yet.
    bool Attach(Handle h)
    {
        if (h == Traits::None() || IsValid())
            return false;
        m_h = h;
        return true;
    }
    // Hands the handle back without releasing it.
    Handle Detach()
    {
        const Handle h = m_h;
        m_h = Traits::None();
        return h;
    }
    // False when there was none or the release failed.
    bool Release()
    {
        const Handle h = Detach();
        return h != Traits::None() && Traits::Release(h);
    }

private:
    Handle m_h = Traits::None();
};
