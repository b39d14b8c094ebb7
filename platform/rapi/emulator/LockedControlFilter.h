// What the PC sends on a USB control connection while the handheld is
// still locked, sorted before the control machine sees it: a session
// request is ignored (a locked handheld opens no session) and a keep-alive
// ping is answered here, as the machine would take either for a broken
// password or unlock message. Once the handheld is unlocked everything
// passes straight through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CLockedControlFilter
{
public:
    // bPasswords: the PC sends passwords (u16 count + bytes), else u32
    // commands of the unlock on the device. Everything passes until Lock.
    explicit CLockedControlFilter(bool bPasswords) : m_bPasswords(bPasswords) {}

    // From the end of the handshake on, while a password or an unlock is due.
    void Lock() { m_bLocked = true; }
    void Append(const std::uint8_t* p, std::size_t cb) { m_held.insert(m_held.end(), p, p + cb); }
    // The next bytes for the control machine: while locked one whole
    // message at a time (so that the machine's unlock can take effect
    // before the next), else all there is. Ping answers go to answers.
    bool Next(std::vector<std::uint8_t>& bytes, std::vector<std::uint8_t>& answers);
    // From now on everything passes.
    void Unlock() { m_bLocked = false; }

private:
    // The length of the whole message at the front, 0 while it is not all
    // there; bDropped tells a message handled here.
    std::size_t TakeFront(std::vector<std::uint8_t>& answers, bool& bDropped) const;
    std::uint32_t U32At(std::size_t nOffset) const;

    bool m_bLocked = false;
    bool m_bPasswords;
    std::vector<std::uint8_t> m_held;
};
