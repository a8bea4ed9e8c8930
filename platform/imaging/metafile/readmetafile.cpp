// The metafile reader of the imaging library: the file read whole (up to the source size
// limit) and played by the metafile player.

#include "platform/imaging/imaging_p.h"
#include "platform/imaging/metafile/emfplayer.h"
#include "platform/imaging/metafile/wmfplayer.h"

#include <QtCore/QFile>

#include <cstring>
#include <memory>
#include <vector>

UINT zorPlayMetafile(
    std::span<const BYTE> data, const ZorMetafileOptions& options, ZorRgbPicture& picture)
{
    picture = ZorRgbPicture();
    if (options.xDpi == 0 || options.yDpi == 0)
        return eIS_ERR_ARGUMENT;
    // The records are read from an aligned copy with some zero bytes after the end: the
    // record-level checks of the parsing library read whole fields through typed pointers.
    constexpr std::size_t c_slack = 64;
    std::vector<std::uint64_t> storage((data.size() + c_slack) / sizeof(std::uint64_t) + 1, 0);
    if (!data.empty())
        std::memcpy(storage.data(), data.data(), data.size());
    const std::span<const BYTE> aligned(reinterpret_cast<const BYTE*>(storage.data()), data.size());

    std::unique_ptr<CMetafilePlayer> player;
    if (CEmfPlayer::recognises(aligned))
        player = std::make_unique<CEmfPlayer>(aligned, options);
    else if (CWmfPlayer::recognises(aligned))
        player = std::make_unique<CWmfPlayer>(aligned, options);
    else
        return data.size() < 8 ? eIS_ERR_TRUNCATED : eIS_ERR_FORMAT;
    if (const UINT error = player->play(); error != eIS_OK)
        return error;
    const UINT error = player->takePicture(picture);
    if (error != eIS_OK)
        picture = ZorRgbPicture();
    return error;
}

HGLOBAL _ISReadMetafileToRGB(
    const char* path, UINT* width, UINT* height, UINT xDpi, UINT yDpi, COLORREF background)
{
    if (!zorImagingStarted())
        return nullptr;
    if (!path || !width || !height || xDpi == 0 || yDpi == 0) {
        zorImagingResult(eIS_ERR_ARGUMENT);
        return nullptr;
    }
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() > c_nISMaxSourceBytes) {
        zorImagingResult(eIS_ERR_OPEN);
        return nullptr;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.size() != file.size()) {
        zorImagingResult(eIS_ERR_OPEN);
        return nullptr;
    }
    ZorMetafileOptions options;
    options.xDpi = xDpi;
    options.yDpi = yDpi;
    options.background = background;
    ZorRgbPicture picture;
    const UINT error = zorPlayMetafile(
        {reinterpret_cast<const BYTE*>(bytes.constData()), std::size_t(bytes.size())}, options,
        picture);
    if (!zorImagingResult(error))
        return nullptr;
    return zorPictureToGlobal(picture, width, height);
}
