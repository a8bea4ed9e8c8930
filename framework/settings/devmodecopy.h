#pragma once

// Copies of printer settings: a device mode record (with its driver's extra bytes) and a
// printer names block, from one place to another, as the print dialogs hand them over in
// movable memory blocks and programs keep them in ordinary buffers.
//
// The settings record needs its size field plus its driver-extra field in bytes. A destination
// block smaller than that gets the record's fixed part only: the block is cleared, the fixed
// part copied and the driver-extra field set to 0 (traced "Can't copy driver extra bytes in
// subr line 52"). The names block is copied from its start to the end of its last text and
// terminated with a 0 byte.
//
// Every copy checks the sizes of both sides: a destination smaller than the record's fixed part
// or than the names, and a source whose offsets or sizes point outside its block, copy nothing
// of that part and make the function return FALSE. The variants that write into handles grow a
// settings handle or a names handle that is too small (a null handle gets a new block), so they
// copy everything. Handles given are locked for the copy and unlocked afterwards.

#include "framework/settings/devmode.h"
#include "platform/types/globalmemory.h"

#include <cstddef>

// The printer names block: the offsets of the driver name, the device name and the output port
// (in bytes from the block's start), whether this is the default printer, then the three texts,
// each ending in a 0 byte.
struct tagMyDEVNAMES
{
    WORD wDriverOffset {0};
    WORD wDeviceOffset {0};
    WORD wOutputOffset {0};
    WORD wDefault {0};
};
using MyDEVNAMES = tagMyDEVNAMES;
static_assert(sizeof(tagMyDEVNAMES) == 8, "the names block is laid out as the platform's");

// Records and names in ordinary buffers; the destinations' sizes in bytes are given, the
// sources are whole records and blocks.
BOOL copyDevModeAndNames(DEVMODE* pDevModeOut, std::size_t nDevModeOutSize,
    tagMyDEVNAMES* pDevNamesOut, std::size_t nDevNamesOutSize, const DEVMODE* pDevModeIn,
    const tagMyDEVNAMES* pDevNamesIn);
// From two handles into ordinary buffers.
BOOL copyDevModeAndNamesHIn(DEVMODE* pDevModeOut, std::size_t nDevModeOutSize,
    tagMyDEVNAMES* pDevNamesOut, std::size_t nDevNamesOutSize, HGLOBAL hDevModeIn,
    HGLOBAL hDevNamesIn);
// From ordinary buffers into two handles; a handle that changes is stored back.
BOOL copyDevModeAndNamesHOut(HGLOBAL& hDevModeOut, HGLOBAL& hDevNamesOut, const DEVMODE* pDevModeIn,
    const tagMyDEVNAMES* pDevNamesIn);
// From two handles into two handles.
BOOL copyDevModeAndNamesHH(
    HGLOBAL& hDevModeOut, HGLOBAL& hDevNamesOut, HGLOBAL hDevModeIn, HGLOBAL hDevNamesIn);
