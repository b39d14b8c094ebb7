// The texts of the content list's cells: title, size in kilobytes with its
// digits in groups of three ("1,025 KB"), and file name.
#pragma once

#include "catalogue/ContentEntry.h"

#include <windows.h>

// Cell texts are built in buffers of this size, terminator included.
constexpr int CELL_TEXT_SIZE = 256;

// The size rounded up to kilobytes of 1024 bytes. nSize is the entry's
// size taken as unsigned 32 bits.
UINT SizeInKilobytes(UINT nSize);

// Writes the kilobyte text of nSize into szText; 0 bytes give an empty text.
void FormatSizeText(UINT nSize, char (&szText)[CELL_TEXT_SIZE]);

// Writes the text of column nColumn (0 title, 1 size, 2 file name) of an
// entry into szText.
void FormatCellText(const ContentEntry& entry, int nColumn, char (&szText)[CELL_TEXT_SIZE]);
