#include "platform/rapi/emulator/DefaultLayout.h"

#include "platform/rapi/rapi.h"

namespace
{
const DWORD kFolder = FILE_ATTRIBUTE_DIRECTORY;
const DWORD kRomFolder = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_INROM;
}

// Parents come before their children. A storage card shows as a folder
// with the temporary attribute; the ROM folders are what the listing flag
// for hidden system ROM modules leaves out.
const LayoutFolder kDefaultLayout[] = {
    {L"\\My Documents", kFolder},
    {L"\\My Documents\\Personal", kFolder},
    {L"\\My Documents\\Templates", kFolder},
    {L"\\Program Files", kFolder},
    {L"\\Program Files\\Dictionaries", kFolder},
    {L"\\Temp", kFolder},
    {L"\\Windows", kFolder | FILE_ATTRIBUTE_SYSTEM},
    {L"\\Windows\\Start Menu", kFolder},
    {L"\\Windows\\Fonts", kRomFolder},
    {L"\\Storage Card", kFolder | FILE_ATTRIBUTE_TEMPORARY},
    {L"\\ROM Modules", kRomFolder},
};

const size_t kDefaultLayoutCount = sizeof(kDefaultLayout) / sizeof(kDefaultLayout[0]);
