#pragma once

// Bitmap resources: each module carries a table of numbered images (BMP or PNG bytes built into
// the module), registered when the module is loaded and removed when it is unloaded. A module
// declares its table once, at namespace scope in one of its sources:
//
//     ZOR_BITMAP_TABLE({{IDB_LIGHT, lightBmp, sizeof lightBmp}, {IDB_TOOLBOX, toolbox, 1234}});
//
// The CMake function zor_bitmap_table (cmake/ZorvexBitmaps.cmake) writes such a source from
// image files. zorLoadBitmapImage looks an image up in the table of the module it is given; the
// null handle names the program, as on the platform. zorFindBitmapModule finds the loaded module
// that holds a bitmap of an identifier, as the framework does for resources that may live in any
// of its modules.

#include "platform/module/module.h"
#include "platform/types/wintypes.h"

#include <QtCore/QByteArray>
#include <QtGui/QImage>

#include <cstddef>
#include <initializer_list>
#include <map>

// Load options (the platform's LoadImage flags the suite uses).
constexpr UINT LR_DEFAULTCOLOR = 0x0000;
// Replaces the standard greys of the colour table by the current 3-d colours: 128,128,128 by
// the 3-d shadow, 192,192,192 by the 3-d face and 223,223,223 by the 3-d light colour. Images
// without a colour table stay as they are, as on the platform.
constexpr UINT LR_LOADMAP3DCOLORS = 0x1000;
// Accepted for the platform's sake; every image loads as a device-independent section.
constexpr UINT LR_CREATEDIBSECTION = 0x2000;

struct ZorBitmapEntry
{
    UINT id {0};
    const unsigned char* data {nullptr};
    std::size_t size {0};
};

// What the image file's header says about a bitmap resource.
struct ZorBitmapInfo
{
    int width {0};
    int height {0};
    int bitsPerPixel {0};
    // The number of colours the header declares used; 0 means all 2^bitsPerPixel of them.
    int colorsUsed {0};
};

// One module's bitmap table, registered for as long as the object lives. The bytes are copied.
class CBitmapTableRegistrar
{
public:
    CBitmapTableRegistrar(HMODULE module, std::initializer_list<ZorBitmapEntry> entries);
    ~CBitmapTableRegistrar();
    CBitmapTableRegistrar(const CBitmapTableRegistrar&) = delete;
    CBitmapTableRegistrar& operator=(const CBitmapTableRegistrar&) = delete;

    HMODULE module() const { return m_module; }
    // The image file's bytes of an identifier, or null when the table has none.
    const QByteArray* find(UINT id) const;

private:
    HMODULE m_module {nullptr};
    std::map<UINT, QByteArray> m_images;
};

#define ZOR_BITMAP_TABLE(...)                                                                      \
    namespace {                                                                                    \
    const CBitmapTableRegistrar zorModuleBitmapTable(ZOR_THIS_MODULE(), __VA_ARGS__);              \
    }                                                                                              \
    static_assert(true, "")

// The image of bitmap resource id of the module (null: the program), decoded; a null image when
// the module has no such bitmap or its bytes do not decode. Images with up to 8 bits per pixel
// keep their colour table (QImage::Format_Indexed8 or Format_Mono); info, when given, receives
// the file header's values.
QImage zorLoadBitmapImage(
    HMODULE hInstance, UINT uID, UINT fuLoad = LR_DEFAULTCOLOR, ZorBitmapInfo* info = nullptr);

// The loaded module that holds a bitmap of the identifier: the current resource module when it
// has one, else the first module (in the order their tables were registered) that does; null
// when none does.
HMODULE zorFindBitmapModule(UINT uID);
