// What the destination model raises when the shell denies it something it
// cannot do without (the desktop, My Computer, the allocator, the system
// image list, memory for an identifier list). Nothing in the model catches
// it: the framework's last-resort handler tells the user, in the program's
// language, what failed, and ends the program.
#pragma once

#include <windows.h>
#include <exception>
#include <string>

class CShellFailure : public std::exception
{
public:
    // nIDWhat names the string that says what failed.
    explicit CShellFailure(UINT nIDWhat);

    const char* what() const noexcept override { return m_strWhat.c_str(); }

private:
    std::string m_strWhat;
};
