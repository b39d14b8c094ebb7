#include "platform/rapi/emulator/DefaultLayout.h"

#include "platform/rapi/rapi.h"

namespace {
constexpr DWORD FOLDER = FILE_ATTRIBUTE_DIRECTORY;
constexpr DWORD ROM_FOLDER =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_INROM;
}   // namespace

// Parents come before their children. A storage card shows as a folder
// with the temporary attribute; the ROM folders are what the listing flag
// for hidden system ROM modules leaves out.
const LayoutFolder DEFAULT_LAYOUT[] = {
    { L"\\My Documents", FOLDER },
    { L"\\My Documents\\Personal", FOLDER },
    { L"\\My Documents\\Templates", FOLDER },
    { L"\\Program Files", FOLDER },
    { L"\\Program Files\\Dictionaries", FOLDER },
    { L"\\Temp", FOLDER },
    { L"\\Windows", FOLDER | FILE_ATTRIBUTE_SYSTEM },
    { L"\\Windows\\Start Menu", FOLDER },
    { L"\\Windows\\Fonts", ROM_FOLDER },
    { L"\\Storage Card", FOLDER | FILE_ATTRIBUTE_TEMPORARY },
    { L"\\ROM Modules", ROM_FOLDER },
};

constexpr size_t DEFAULT_LAYOUT_COUNT = sizeof(DEFAULT_LAYOUT) / sizeof(DEFAULT_LAYOUT[0]);
