// Where the PC side gets a locked handheld's password from: a prompt on
// the terminal in tarnix-link, a dialog in the stand-in library, a list of
// answers in the tests.
#pragma once

#include <string>

namespace handheldlink {

class IPasswordSource
{
public:
    virtual ~IPasswordSource() = default;
    // The next password to try; false when the user gives up.
    virtual bool NextPassword(bool bRetry, std::u16string& strPassword) = 0;
    // The handheld waits to be unlocked on its own screen.
    virtual void ShowUnlockNotice() = 0;
    // The handheld is unlocked, or its link is gone: a notice still shown
    // has nothing more to say.
    virtual void EndUnlockNotice() = 0;
};

}   // namespace handheldlink
