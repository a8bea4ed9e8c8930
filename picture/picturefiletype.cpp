#include "picture/picturefiletype.h"

#include <strings.h>

namespace {

struct ZorPictureRow
{
    int type;
    UINT guessedKind; // eIS_UNKNOWN: never recognised by content
    const char* extensions[2];
    ZorPictureReader reader; // null: read by path (metafiles)
};

constexpr ZorPictureRow c_rows[] = {
    {ePICTURE_BMP, eIS_BMP, {".BMP", nullptr}, _ISReadBMPToRGB},
    {ePICTURE_JPEG, eIS_JPG, {".JPG", ".JPEG"}, _ISReadJPGToRGB},
    {ePICTURE_PNG, eIS_PNG, {".PNG", nullptr}, _ISReadPNGToRGB},
    {ePICTURE_PCX, eIS_PCX, {".PCX", nullptr}, _ISReadPCXToRGB},
    {ePICTURE_TIFF, eIS_TIFF, {".TIF", ".TIFF"}, _ISReadTIFFToRGB},
    {ePICTURE_WMF, eIS_WMF, {".WMF", nullptr}, nullptr},
    {ePICTURE_EMF, eIS_EMF, {".EMF", nullptr}, nullptr},
    {ePICTURE_TGA, eIS_UNKNOWN, {".TGA", nullptr}, _ISReadTGAToRGB},
};

} // namespace

int zorPictureTypeOfGuess(UINT guessedKind)
{
    if (guessedKind == eIS_UNKNOWN)
        return ePICTURE_NONE;
    for (const ZorPictureRow& row : c_rows) {
        if (row.guessedKind == guessedKind)
            return row.type;
    }
    return ePICTURE_NONE;
}

int zorPictureTypeOfExtension(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos)
        return ePICTURE_NONE;
    std::string extension = path.substr(dot);
    while (!extension.empty() && extension.back() == ' ')
        extension.pop_back();
    for (const ZorPictureRow& row : c_rows) {
        for (const char* candidate : row.extensions) {
            if (candidate && strcasecmp(extension.c_str(), candidate) == 0)
                return row.type;
        }
    }
    return ePICTURE_NONE;
}

ZorPictureReader zorPictureReaderOf(int type)
{
    for (const ZorPictureRow& row : c_rows) {
        if (row.type == type)
            return row.reader;
    }
    return nullptr;
}

bool zorPictureIsMetafile(int type)
{
    return type == ePICTURE_WMF || type == ePICTURE_EMF;
}
