#include "shell/ShellFailure.h"

#include "platform/framework/CString.h"

CShellFailure::CShellFailure(UINT nIDWhat)
{
    CString strWhat;
    strWhat.LoadString(nIDWhat);
    m_strWhat = static_cast<LPCSTR>(strWhat);
}
