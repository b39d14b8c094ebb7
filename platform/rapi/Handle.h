// Owner of one kernel handle (event, thread, file), closed when it goes.
#pragma once

#include <windows.h>

class CHandle
{
public:
    CHandle() = default;
    explicit CHandle(HANDLE h) : m_h(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    ~CHandle() { Close(); }
    CHandle(CHandle&& other) noexcept : m_h(other.m_h) { other.m_h = nullptr; }
    CHandle& operator=(CHandle&& other) noexcept
    {
        if (this != &other) {
            Close();
            m_h = other.m_h;
            other.m_h = nullptr;
        }
        return *this;
    }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;

    HANDLE Get() const { return m_h; }
    BOOL IsValid() const { return m_h != nullptr; }
    void Close()
    {
        if (m_h)
            CloseHandle(m_h);
        m_h = nullptr;
    }

private:
    HANDLE m_h = nullptr;
};
