#pragma once

// The imaging library: encoded pictures read from a file or from a block of memory (a source),
// the kind of a source guessed from its first bytes, readers that decode a source to 24-bit RGB
// rows without padding (red, green, blue; top row first), the metafile player, resampling,
// drawing at a point through a device context, and the error code of the last operation.
//
// Every decoded picture is handed over in a movable memory block (platform/types/globalmemory)
// of width x height x 3 bytes, which the caller then owns and frees with GlobalFree. Bad input
// never crashes and never reads or writes outside the data: a truncated, malformed, hostile or
// oversized picture (see c_nISMaxPixels) gives no block and an error code.
//
// The error code of the last operation is kept per thread: 0 after success.

#include "platform/types/globalmemory.h"
#include "platform/types/wintypes.h"

#include <cstdint>

class CDC;
class CPalette;

// A source of encoded bytes; null when it could not be opened.
struct ZorImageSource;
using HISSRC = ZorImageSource*;

// The kinds _ISGuessFileType answers. TGA has no signature and is never guessed.
enum eISFILETYPE : UINT {
    eIS_UNKNOWN = 0,
    eIS_BMP = 1,
    eIS_JPG = 3,
    eIS_PNG = 4,
    eIS_PCX = 5,
    eIS_TIFF = 6,
    eIS_WMF = 7,
    eIS_EMF = 8,
};

// The error codes of _ISGetLastError.
enum eISERROR : UINT {
    eIS_OK = 0,
    eIS_ERR_ARGUMENT = 1, // a null source, pointer or size
    eIS_ERR_OPEN = 2, // the file could not be opened or read
    eIS_ERR_FORMAT = 3, // not a picture of the reader's kind, or a kind it does not support
    eIS_ERR_TRUNCATED = 4, // the data ends before the picture does
    eIS_ERR_TOO_BIG = 5, // more pixels than c_nISMaxPixels, or a size of 0
    eIS_ERR_MEMORY = 6, // no memory for the pixels
    eIS_ERR_NOT_INITIALIZED = 7, // a call before _ISInitialize
};

// The largest picture a reader decodes: 64 megapixels (192 MiB of RGB).
constexpr std::uint64_t c_nISMaxPixels = 64ull * 1024 * 1024;

// Starts the library; every other call fails with eIS_ERR_NOT_INITIALIZED before it. The key
// is the caller's name for its licence and is not checked.
BOOL _ISInitialize(const char* key);

HISSRC _ISOpenFileSource(const char* path);
// The source reads a copy of the `length` bytes at `data`.
HISSRC _ISOpenMemorySource(const BYTE* data, UINT length);
// The kind of the source's data from its first bytes (eISFILETYPE); the source is rewound.
UINT _ISGuessFileType(HISSRC source);
BOOL _ISCloseSource(HISSRC source);

// Readers: the picture of the source as RGB, its size in *width and *height; null on failure.
HGLOBAL _ISReadBMPToRGB(HISSRC source, UINT* width, UINT* height);
HGLOBAL _ISReadJPGToRGB(HISSRC source, UINT* width, UINT* height);
HGLOBAL _ISReadPNGToRGB(HISSRC source, UINT* width, UINT* height);
HGLOBAL _ISReadPCXToRGB(HISSRC source, UINT* width, UINT* height);
HGLOBAL _ISReadTIFFToRGB(HISSRC source, UINT* width, UINT* height);
HGLOBAL _ISReadTGAToRGB(HISSRC source, UINT* width, UINT* height);
// The metafile (WMF, placeable or not, or EMF) at `path` played onto a picture of its own
// size at `xDpi` x `yDpi` dots per inch, on a background of `background` (an RGB value).
HGLOBAL _ISReadMetafileToRGB(
    const char* path, UINT* width, UINT* height, UINT xDpi, UINT yDpi, COLORREF background);

// The texts (JPEG comments; PNG tEXt, zTXt and iTXt chunks as "keyword=text") and markers
// (JPEG APPn segments, as their bytes) of this thread's last JPEG or PNG read. Each block is
// the caller's to free; null outside 0 .. count - 1.
UINT _ISGetJPGInputTextCount();
HGLOBAL _ISGetJPGInputText(UINT index);
UINT _ISGetJPGInputMarkerCount();
HGLOBAL _ISGetJPGInputMarker(UINT index, UINT* length, UINT* markerType);
UINT _ISGetPNGInputTextCount();
HGLOBAL _ISGetPNGInputText(UINT index);

// Resamples `width` x `height` RGB pixels at `source` to `newWidth` x `newHeight` at
// `destination` (which holds newWidth x newHeight x 3 bytes), smoothly; FALSE for a size of 0.
BOOL _ISResizeRGB(const BYTE* source, UINT width, UINT height, BYTE* destination,
    UINT newWidth, UINT newHeight);

// Draws `width` x `height` RGB pixels with their top-left corner at (x, y), scaled to
// drawWidth x drawHeight, through the device context (its clip holds). The palette is
// accepted for the call's form and not used: every device here has true colour.
BOOL _ISDrawRGB(CDC* pDC, const BYTE* pixels, UINT width, UINT height, int x, int y,
    UINT drawWidth, UINT drawHeight, CPalette* palette);

// The error code of this thread's last call (eISERROR); 0 when it succeeded.
UINT _ISGetLastError();
