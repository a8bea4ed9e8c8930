#pragma once

// What the two metafile players share: the picture and the device context over it, the
// metafile's own mapping composed with the mapping of its device onto the picture, the saved
// states, the object table, and the drawing steps whose records differ only in their layout.

#include "platform/gdi/dc.h"
#include "platform/imaging/metafile/metafile.h"
#include "platform/imaging/metafile/recordreader.h"

#include <QtGui/QImage>

#include <memory>
#include <string>
#include <vector>

class CMetafilePlayer
{
public:
    virtual ~CMetafilePlayer();
    CMetafilePlayer(const CMetafilePlayer&) = delete;
    CMetafilePlayer& operator=(const CMetafilePlayer&) = delete;

    // Plays the whole metafile; eIS_OK or the error that stopped it.
    virtual UINT play() = 0;
    // The picture as RGB rows; call after a successful play.
    UINT takePicture(ZorRgbPicture& picture) const;

protected:
    CMetafilePlayer(std::span<const BYTE> data, const ZorMetafileOptions& options);

    // Makes the picture width x height, cleared to the background, with the context over it.
    UINT createPicture(std::int64_t width, std::int64_t height);

    // The metafile's own mapping: logical units to the metafile's device units.
    struct Mapping
    {
        int mapMode {MM_TEXT};
        double windowOrgX {0};
        double windowOrgY {0};
        double windowExtX {1};
        double windowExtY {1};
        double viewportOrgX {0};
        double viewportOrgY {0};
        double viewportExtX {1};
        double viewportExtY {1};
    };
    // Sets the context's mapping to the metafile's mapping followed by its device's mapping
    // onto the picture (picture = device x scale + offset).
    void applyMapping();

    void saveState();
    void restoreState(int saved);

    // The object table. An index outside it is an error of the file; a deleted object stays
    // alive until playback ends, since a saved state may still hold it.
    void setObjectCount(std::size_t count);
    bool inTable(std::uint64_t index) const { return index < m_objects.size(); }
    void putObject(std::size_t index, std::unique_ptr<CGdiObject> object);
    void deleteObject(std::size_t index);
    void selectObject(std::size_t index);
    // The lowest free index, or -1 when the table is full.
    std::int64_t freeObjectIndex() const;

    static std::unique_ptr<CGdiObject> makePen(UINT style, int width, COLORREF color);
    static std::unique_ptr<CGdiObject> makeBrush(UINT style, COLORREF color);
    static std::unique_ptr<CGdiObject> makeFont(const LOGFONT& logFont);

    // Draws the device-independent bitmap (BITMAPINFO at `info`, pixels at `bits`, both
    // checked against the record) stretched into the logical rectangle; a kind it does not
    // decode is skipped.
    void drawDib(const CRecordReader& record, std::uint64_t info, std::uint64_t infoSize,
        std::uint64_t bits, std::uint64_t bitsSize, int srcX, int srcY, int srcWidth, int srcHeight,
        int x, int y, int width, int height, DWORD rop);

    std::span<const BYTE> m_data;
    ZorMetafileOptions m_options;
    QImage m_picture;
    CDC m_dc;
    Mapping m_mapping;
    double m_scaleX {1};
    double m_scaleY {1};
    double m_offsetX {0};
    double m_offsetY {0};

private:
    std::vector<Mapping> m_savedMappings;
    std::vector<std::unique_ptr<CGdiObject>> m_objects;
    std::vector<std::unique_ptr<CGdiObject>> m_retired;
};

// 8-bit text of the device context from the file's text: each UTF-16 unit or byte at most
// 0xFF is kept, others become "?".
std::string zorMetafileText(
    const CRecordReader& record, std::uint64_t offset, std::uint64_t count, bool wide);
