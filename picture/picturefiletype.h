#pragma once

// The picture control's file types: its own type codes, the kind the imaging library guesses
// from the data, the extensions of each and the library's reader. The table's rows, in the order
// extensions are compared:
//
//     code  format             guessed kind  extensions       reader
//      6    BMP                eIS_BMP       .BMP             _ISReadBMPToRGB
//      1    JPEG               eIS_JPG       .JPG .JPEG       _ISReadJPGToRGB
//      3    PNG                eIS_PNG       .PNG             _ISReadPNGToRGB
//      9    PCX                eIS_PCX       .PCX             _ISReadPCXToRGB
//     12    TIFF               eIS_TIFF      .TIF .TIFF       _ISReadTIFFToRGB
//     19    Windows metafile   eIS_WMF       .WMF             _ISReadMetafileToRGB (files only)
//     20    enhanced metafile  eIS_EMF       .EMF             _ISReadMetafileToRGB (files only)
//     16    TGA                never         .TGA             _ISReadTGAToRGB
//
// Code 0 is no known format.

#include "platform/imaging/imaging.h"

#include <string>

enum ePICTURETYPE : int {
    ePICTURE_NONE = 0,
    ePICTURE_JPEG = 1,
    ePICTURE_PNG = 3,
    ePICTURE_BMP = 6,
    ePICTURE_PCX = 9,
    ePICTURE_TIFF = 12,
    ePICTURE_TGA = 16,
    ePICTURE_WMF = 19,
    ePICTURE_EMF = 20,
};

using ZorPictureReader = HGLOBAL (*)(HISSRC source, UINT* width, UINT* height);

// The code of a kind the library guessed; 0 for a kind not in the table.
int zorPictureTypeOfGuess(UINT guessedKind);
// The code of a path's extension: the text from its last "." to the end, trailing blanks
// removed, compared without regard to case with the table's extensions in order; 0 when the
// path has no extension or one not in the table.
int zorPictureTypeOfExtension(const std::string& path);
// The reader of a code that is read from a source; null for 0 and for the metafiles.
ZorPictureReader zorPictureReaderOf(int type);
bool zorPictureIsMetafile(int type);
