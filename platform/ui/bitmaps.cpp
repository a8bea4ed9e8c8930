#include "platform/ui/bitmaps.h"

#include "platform/gdi/syscolor.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

// The tables of all loaded modules, guarded because modules load and unload on any thread.
// Never destroyed: tables of modules unloaded at exit may still remove themselves after every
// other static of this library is gone.
struct BitmapTables
{
    std::mutex lock;
    std::vector<const CBitmapTableRegistrar*> tables;
};

BitmapTables& bitmapTables()
{
    static BitmapTables* tables = new BitmapTables;
    return *tables;
}

// A copy of the bytes (shared, not duplicated), so decoding needs no lock and survives the
// module's unloading meanwhile.
QByteArray findBytes(HMODULE module, UINT id)
{
    BitmapTables& all = bitmapTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    for (const CBitmapTableRegistrar* table : all.tables) {
        if (table->module() != module)
            continue;
        if (const QByteArray* bytes = table->find(id))
            return *bytes;
    }
    return {};
}

std::uint32_t readLittleEndian(const QByteArray& bytes, int offset, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

// The header values of a BMP file (file header of 14 bytes, then an information header of
// either the old core layout of 12 bytes or the 40-byte layout and its successors); for other
// formats the decoded image's depth and colour table stand in.
ZorBitmapInfo headerInfo(const QByteArray& bytes, const QImage& image)
{
    ZorBitmapInfo info;
    info.width = image.width();
    info.height = image.height();
    if (bytes.size() >= 26 && bytes.startsWith("BM")) {
        const std::uint32_t headerSize = readLittleEndian(bytes, 14, 4);
        if (headerSize == 12) {
            info.bitsPerPixel = static_cast<int>(readLittleEndian(bytes, 24, 2));
            return info;
        }
        if (headerSize >= 40 && bytes.size() >= 50) {
            info.bitsPerPixel = static_cast<int>(readLittleEndian(bytes, 28, 2));
            info.colorsUsed = static_cast<int>(readLittleEndian(bytes, 46, 4));
            return info;
        }
    }
    info.bitsPerPixel = image.colorCount() > 0 ? image.depth() : 24;
    if (image.colorCount() > 0 && image.colorCount() < (1 << image.depth()))
        info.colorsUsed = image.colorCount();
    return info;
}

QRgb fromColorRef(COLORREF color)
{
    return qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
}

void map3dColors(QImage& image)
{
    QList<QRgb> table = image.colorTable();
    if (table.isEmpty())
        return;
    const QRgb shadow = fromColorRef(GetSysColor(COLOR_3DSHADOW));
    const QRgb face = fromColorRef(GetSysColor(COLOR_3DFACE));
    const QRgb light = fromColorRef(GetSysColor(COLOR_3DLIGHT));
    for (QRgb& entry : table) {
        const QRgb rgb = entry & 0x00FFFFFF;
        if (rgb == 0x808080)
            entry = shadow;
        else if (rgb == 0xC0C0C0)
            entry = face;
        else if (rgb == 0xDFDFDF)
            entry = light;
    }
    image.setColorTable(table);
}

} // namespace

CBitmapTableRegistrar::CBitmapTableRegistrar(
    HMODULE module, std::initializer_list<ZorBitmapEntry> entries)
    : m_module(module)
{
    for (const ZorBitmapEntry& entry : entries) {
        if (entry.data && entry.size > 0) {
            m_images.emplace(entry.id,
                QByteArray(
                    reinterpret_cast<const char*>(entry.data), static_cast<qsizetype>(entry.size)));
        }
    }
    BitmapTables& all = bitmapTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    all.tables.push_back(this);
}

CBitmapTableRegistrar::~CBitmapTableRegistrar()
{
    BitmapTables& all = bitmapTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    std::erase(all.tables, this);
}

const QByteArray* CBitmapTableRegistrar::find(UINT id) const
{
    const auto it = m_images.find(id);
    return it == m_images.end() ? nullptr : &it->second;
}

QImage zorLoadBitmapImage(HMODULE hInstance, UINT uID, UINT fuLoad, ZorBitmapInfo* info)
{
    const HMODULE module = hInstance ? hInstance : GetModuleHandleA(nullptr);
    if (!module)
        return {};
    const QByteArray bytes = findBytes(module, uID);
    if (bytes.isEmpty())
        return {};
    QImage image = QImage::fromData(bytes);
    if (image.isNull())
        return {};
    if (fuLoad & LR_LOADMAP3DCOLORS)
        map3dColors(image);
    if (info)
        *info = headerInfo(bytes, image);
    return image;
}

HMODULE zorFindBitmapModule(UINT uID)
{
    const HMODULE current = AfxGetResourceHandle();
    BitmapTables& all = bitmapTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    const CBitmapTableRegistrar* first = nullptr;
    for (const CBitmapTableRegistrar* table : all.tables) {
        if (!table->find(uID))
            continue;
        if (table->module() == current)
            return current;
        if (!first)
            first = table;
    }
    return first ? first->module() : nullptr;
}
