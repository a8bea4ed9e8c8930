// Icon, cursor and data resources.
//
// A module's tables keep the files' bytes; an icon or cursor is decoded the first time it is
// used (tables register while modules load, before any GUI application exists, and a QIcon or
// QCursor from pixels needs one). ICO and CUR files are read here rather than by an image
// plug-in, so every size of an icon and the hot spot of a cursor are kept.
//
// Handles are never freed: an icon loaded once may sit in a window or a tray record for as
// long as the program runs, also after its module was unloaded, as the platform's shared
// icons do. (A module loaded again registers new handles; the old ones stay valid.)
//
// The cursor set with SetCursor is shown by the widget the mouse is over (the one that grabbed
// the mouse, else the one that received the latest mouse event, else the one under the mouse's
// position) until the mouse leaves that widget, SetCursor names another one, or the mouse moves
// and the move's handling does not set the cursor again: then the widget's own cursor comes
// back, as the window's class cursor does on the platform when WM_SETCURSOR is answered by
// default. GetCursor gives the cursor set last (the standard arrow before any was set), also
// after the widget's own cursor came back. SetCursor(nullptr) hides the cursor over the widget.

#include "platform/ui/resources.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/gdiobjects.h"

#include <QtCore/QByteArray>
#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtGui/QGuiApplication>
#include <QtGui/QMouseEvent>
#include <QtGui/QPixmap>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <vector>

// One image of an icon or cursor file.
struct ZorIconImage
{
    QImage image; // QImage::Format_ARGB32
    int bitsPerPixel {32};
    QPoint hotSpot;
};

struct ZorIcon
{
    QByteArray bytes;
    bool decoded {false};
    std::vector<ZorIconImage> images;
    std::optional<QIcon> icon;
};

struct ZorCursor
{
    QByteArray bytes;
    // A standard cursor has its shape; a cursor of a table is Qt::BitmapCursor.
    Qt::CursorShape shape {Qt::BitmapCursor};
    bool decoded {false};
    std::vector<ZorIconImage> images;
    std::optional<QCursor> cursor;
};

namespace {

// The tables of all loaded modules, guarded because modules load and unload on any thread;
// the same lock guards decoding on first use. Never destroyed: tables of modules unloaded at
// exit may still remove themselves after every other static of this library is gone.
struct ResourceTables
{
    std::mutex lock;
    std::vector<const CIconTableRegistrar*> icons;
    std::vector<const CCursorTableRegistrar*> cursors;
    std::vector<const CDataTableRegistrar*> data;
    // The icons and cursors of tables that are gone: their handles live until the process
    // ends, so callers may keep them, and are held here rather than lost.
    std::vector<HICON> retiredIcons;
    std::vector<HCURSOR> retiredCursors;
};

ResourceTables& resourceTables()
{
    static ResourceTables* tables = new ResourceTables;
    return *tables;
}

constexpr int c_standardSize = 32;

// --- ICO and CUR files ---------------------------------------------------------------------

std::uint32_t readLe(const QByteArray& bytes, qsizetype offset, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

bool isPng(const QByteArray& bytes)
{
    return bytes.startsWith("\x89PNG\r\n\x1a\n");
}

// An image of an icon file in the device-independent bitmap layout: an information header
// whose height counts the colour rows and the mask rows, the colour table, the colour rows and
// then the 1-bit mask (1 = transparent), both bottom-up with rows padded to 32 bits. A 32-bit
// image with any alpha value uses its alpha channel instead of the mask.
std::optional<ZorIconImage> decodeDib(const QByteArray& dib)
{
    if (dib.size() < 40)
        return std::nullopt;
    const std::uint32_t headerSize = readLe(dib, 0, 4);
    const auto width = static_cast<std::int32_t>(readLe(dib, 4, 4));
    const auto fullHeight = static_cast<std::int32_t>(readLe(dib, 8, 4));
    const int bpp = static_cast<int>(readLe(dib, 14, 2));
    const std::uint32_t compression = readLe(dib, 16, 4);
    const std::uint32_t colorsUsed = readLe(dib, 32, 4);
    // Icon images are bottom-up; 0 (plain) and 3 (bit fields, the standard masks of 32-bit
    // images) are the layouts icon files use.
    if (headerSize < 40 || headerSize > static_cast<std::uint32_t>(dib.size()) || width <= 0
        || width > 1024 || fullHeight <= 0 || fullHeight > 2048
        || (compression != 0 && !(compression == 3 && bpp == 32)))
        return std::nullopt;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return std::nullopt;
    const int height = fullHeight / 2 > 0 ? fullHeight / 2 : fullHeight;

    qsizetype offset = headerSize + (compression == 3 && headerSize == 40 ? 12 : 0);
    std::vector<QRgb> palette;
    if (bpp <= 8) {
        const std::uint32_t count = colorsUsed ? colorsUsed : (1u << bpp);
        if (count > 256 || offset + qsizetype(count) * 4 > dib.size())
            return std::nullopt;
        for (std::uint32_t i = 0; i < count; ++i, offset += 4) {
            const std::uint32_t bgr = readLe(dib, offset, 4);
            palette.push_back(qRgb((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
        }
    }
    const qsizetype colorStride = ((qsizetype(width) * bpp + 31) / 32) * 4;
    const qsizetype maskStride = ((qsizetype(width) + 31) / 32) * 4;
    const qsizetype colorOffset = offset;
    const qsizetype maskOffset = colorOffset + colorStride * height;
    if (maskOffset > dib.size())
        return std::nullopt;
    // Some writers leave the mask out; the image is then opaque (or uses its alpha).
    const bool hasMask = maskOffset + maskStride * height <= dib.size();

    ZorIconImage result;
    result.bitsPerPixel = bpp;
    QImage image(width, height, QImage::Format_ARGB32);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const qsizetype row = colorOffset + colorStride * (height - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            QRgb pixel = 0;
            switch (bpp) {
            case 32: {
                const std::uint32_t v = readLe(dib, row + qsizetype(x) * 4, 4);
                pixel = v; // 0xAARRGGBB, as the file's bytes are B, G, R, A
                anyAlpha = anyAlpha || (v >> 24) != 0;
                break;
            }
            case 24: {
                const std::uint32_t v = readLe(dib, row + qsizetype(x) * 3, 3);
                pixel = 0xFF000000u | v;
                break;
            }
            case 16: {
                const std::uint32_t v = readLe(dib, row + qsizetype(x) * 2, 2);
                const int r = int((v >> 10) & 0x1F), g = int((v >> 5) & 0x1F), b = int(v & 0x1F);
                pixel = qRgb((r << 3) | (r >> 2), (g << 3) | (g >> 2), (b << 3) | (b >> 2));
                break;
            }
            default: {
                const int perByte = 8 / bpp;
                const auto byte = static_cast<unsigned char>(dib[row + x / perByte]);
                const int shift = 8 - bpp * (x % perByte + 1);
                const std::size_t index = (byte >> shift) & ((1u << bpp) - 1);
                pixel = index < palette.size() ? palette[index] : qRgb(0, 0, 0);
                break;
            }
            }
            out[x] = pixel;
        }
    }
    if (bpp != 32 || !anyAlpha) {
        for (int y = 0; y < height; ++y) {
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
            const qsizetype row = maskOffset + maskStride * (height - 1 - y);
            for (int x = 0; x < width; ++x) {
                const bool transparent = hasMask
                    && ((static_cast<unsigned char>(dib[row + x / 8]) >> (7 - x % 8)) & 1);
                // FIXME: the platform inverts the screen where the mask is set and the colour
                // is not black; such pixels are drawn transparent here.
                out[x] = transparent ? 0u : (out[x] | 0xFF000000u);
            }
        }
    }
    result.image = image;
    return result;
}

std::optional<ZorIconImage> decodeEntry(const QByteArray& data)
{
    if (isPng(data)) {
        QImage image = QImage::fromData(data, "PNG");
        if (image.isNull())
            return std::nullopt;
        ZorIconImage result;
        result.bitsPerPixel = 32;
        result.image = image.convertToFormat(QImage::Format_ARGB32);
        return result;
    }
    return decodeDib(data);
}

// Every image of an icon or cursor file: an ICO or CUR directory (reserved 0, type 1 for
// icons and 2 for cursors, count, then 16-byte entries whose two words after the colour count
// are the hot spot in a cursor file), or a single PNG or other image file whose hot spot is its
// centre.
std::vector<ZorIconImage> decodeIconFile(const QByteArray& bytes)
{
    std::vector<ZorIconImage> images;
    if (bytes.size() >= 6 && readLe(bytes, 0, 2) == 0
        && (readLe(bytes, 2, 2) == 1 || readLe(bytes, 2, 2) == 2)) {
        const bool cursor = readLe(bytes, 2, 2) == 2;
        const int count = static_cast<int>(readLe(bytes, 4, 2));
        for (int i = 0; i < count; ++i) {
            const qsizetype entry = 6 + qsizetype(i) * 16;
            if (entry + 16 > bytes.size())
                break;
            const std::uint32_t size = readLe(bytes, entry + 8, 4);
            const std::uint32_t offset = readLe(bytes, entry + 12, 4);
            if (size == 0 || offset >= static_cast<std::uint32_t>(bytes.size())
                || size > static_cast<std::uint32_t>(bytes.size()) - offset)
                continue;
            std::optional<ZorIconImage> image = decodeEntry(bytes.mid(offset, size));
            if (!image)
                continue;
            if (cursor) {
                image->hotSpot = QPoint(static_cast<int>(readLe(bytes, entry + 4, 2)),
                    static_cast<int>(readLe(bytes, entry + 6, 2)));
            } else {
                image->hotSpot = QPoint(image->image.width() / 2, image->image.height() / 2);
            }
            images.push_back(*image);
        }
        return images;
    }
    QImage image = QImage::fromData(bytes);
    if (!image.isNull()) {
        ZorIconImage single;
        single.image = image.convertToFormat(QImage::Format_ARGB32);
        single.bitsPerPixel = image.hasAlphaChannel() ? 32 : image.depth();
        single.hotSpot = QPoint(image.width() / 2, image.height() / 2);
        images.push_back(single);
    }
    return images;
}

// The image that serves a size best: the deepest of those exactly that size, else the
// smallest larger one, else the largest; null when there are none.
const ZorIconImage* bestImage(const std::vector<ZorIconImage>& images, int size)
{
    const ZorIconImage* best = nullptr;
    auto extent = [](const ZorIconImage& i) { return std::max(i.image.width(), i.image.height()); };
    for (const ZorIconImage& candidate : images) {
        if (!best) {
            best = &candidate;
            continue;
        }
        const int c = extent(candidate);
        const int b = extent(*best);
        if (c == size && b == size) {
            if (candidate.bitsPerPixel > best->bitsPerPixel)
                best = &candidate;
        } else if (c == size) {
            best = &candidate;
        } else if (b == size) {
            continue;
        } else if (c > size && (b < size || c < b)) {
            best = &candidate;
        } else if (c < size && b < size && c > b) {
            best = &candidate;
        }
    }
    return best;
}

QImage imageAtSize(const ZorIconImage& image, int cx, int cy)
{
    if (image.image.width() == cx && image.image.height() == cy)
        return image.image;
    return image.image.scaled(cx, cy, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

// The standard application icon: a plain window (white client area, black frame, a caption in
// the classic caption colour) on a transparent ground, at the platform's sizes.
ZorIconImage genericWindowImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const int inset = std::max(1, size / 16);
    const int top = inset + size / 8;
    const int bottom = size - inset - size / 16;
    const int left = inset;
    const int right = size - inset;
    const int caption = std::max(2, size / 8);
    for (int y = top; y < bottom; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = left; x < right; ++x) {
            const bool frame = y == top || y == bottom - 1 || x == left || x == right - 1;
            if (frame)
                row[x] = qRgb(0, 0, 0);
            else if (y < top + 1 + caption)
                row[x] = qRgb(10, 36, 106);
            else
                row[x] = qRgb(255, 255, 255);
        }
    }
    ZorIconImage result;
    result.image = image;
    result.hotSpot = QPoint(size / 2, size / 2);
    return result;
}

HICON applicationIcon()
{
    static HICON icon = [] {
        auto* made = new ZorIcon;
        for (int size : {16, 32, 48})
            made->images.push_back(genericWindowImage(size));
        made->decoded = true;
        return made;
    }();
    return icon;
}

// The standard cursors by identifier, as the desktop's cursor shapes.
Qt::CursorShape standardCursorShape(UINT id)
{
    switch (id) {
    case 32512:
        return Qt::ArrowCursor; // IDC_ARROW
    case 32513:
        return Qt::IBeamCursor; // IDC_IBEAM
    case 32514:
        return Qt::WaitCursor; // IDC_WAIT
    case 32515:
        return Qt::CrossCursor; // IDC_CROSS
    case 32516:
        return Qt::UpArrowCursor; // IDC_UPARROW
    case 32642:
        return Qt::SizeFDiagCursor; // IDC_SIZENWSE
    case 32643:
        return Qt::SizeBDiagCursor; // IDC_SIZENESW
    case 32644:
        return Qt::SizeHorCursor; // IDC_SIZEWE
    case 32645:
        return Qt::SizeVerCursor; // IDC_SIZENS
    case 32646:
        return Qt::SizeAllCursor; // IDC_SIZEALL
    case 32648:
        return Qt::ForbiddenCursor; // IDC_NO
    case 32649:
        return Qt::PointingHandCursor; // IDC_HAND
    case 32650:
        return Qt::BusyCursor; // IDC_APPSTARTING
    case 32651:
        return Qt::WhatsThisCursor; // IDC_HELP
    default:
        return Qt::BitmapCursor;
    }
}

HCURSOR standardCursor(UINT id)
{
    const Qt::CursorShape shape = standardCursorShape(id);
    if (shape == Qt::BitmapCursor)
        return nullptr;
    // Made once each and kept, under the tables' lock like every other handle.
    static auto* cursors = new std::map<Qt::CursorShape, HCURSOR>;
    const std::lock_guard<std::mutex> guard(resourceTables().lock);
    HCURSOR& cursor = (*cursors)[shape];
    if (!cursor) {
        cursor = new ZorCursor;
        cursor->shape = shape;
        cursor->decoded = true;
    }
    return cursor;
}

// The identifier a Load call names: an integer resource, or "#123".
std::optional<UINT> resourceId(const char* name)
{
    const auto value = reinterpret_cast<std::uintptr_t>(name);
    if (value >> 16 == 0)
        return static_cast<UINT>(value);
    if (name[0] != '#' || name[1] == '\0')
        return std::nullopt;
    char* end = nullptr;
    const unsigned long id = std::strtoul(name + 1, &end, 10);
    if (*end != '\0' || id > 0xFFFF)
        return std::nullopt;
    return static_cast<UINT>(id);
}

std::string upperType(const char* type)
{
    const auto value = reinterpret_cast<std::uintptr_t>(type);
    if (value >> 16 == 0)
        return "#" + std::to_string(value);
    std::string upper = type;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

// Decodes on first use; the caller holds the tables' lock.
void decode(ZorIcon* icon)
{
    if (icon->decoded)
        return;
    icon->images = decodeIconFile(icon->bytes);
    icon->decoded = true;
}

void decode(ZorCursor* cursor)
{
    if (cursor->decoded)
        return;
    cursor->images = decodeIconFile(cursor->bytes);
    cursor->decoded = true;
}

bool haveGuiApplication()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// --- SetCursor -----------------------------------------------------------------------------

// The cursor set last by SetCursor; shared by the whole program as the platform's current
// cursor is.
std::atomic<HCURSOR> s_currentCursor {nullptr};
std::atomic<bool> s_cursorSet {false};

// Watches the application's mouse events: it knows the widget the mouse is over (the one that
// received the latest mouse event), puts the set cursor on that widget, and gives the widget
// its own cursor back when the mouse leaves it or moves on without the cursor being set again
// while that move is handled (the window layer asks the window with WM_SETCURSOR on each move,
// and a window that wants to keep its cursor sets it again, as on the platform).
class CursorKeeper : public QObject
{
public:
    static CursorKeeper& instance()
    {
        // Lives as long as the program: it watches widgets that may outlive any static.
        static auto* keeper = new CursorKeeper;
        keeper->install();
        return *keeper;
    }

    // The widget the mouse is over: the one that grabbed it, else the one that received the
    // latest mouse event, else the one under the mouse's position.
    QWidget* widgetUnderMouse() const
    {
        if (QWidget* grabber = QWidget::mouseGrabber())
            return grabber;
        if (m_mouseWidget && m_mouseWidget->isVisible())
            return m_mouseWidget;
        return QApplication::widgetAt(QCursor::pos());
    }

    void apply(QWidget* widget, const QCursor& cursor)
    {
        if (m_widget != widget) {
            restore();
            m_widget = widget;
            m_hadOwnCursor = widget->testAttribute(Qt::WA_SetCursor);
            m_ownCursor = widget->cursor();
        }
        m_cursor = cursor;
        m_stale = false;
        widget->setCursor(cursor);
    }

    void restore()
    {
        m_stale = false;
        if (!m_widget)
            return;
        // Someone else may have set the widget's cursor meanwhile; that one stays.
        if (sameCursor(m_widget->cursor(), m_cursor)) {
            if (m_hadOwnCursor)
                m_widget->setCursor(m_ownCursor);
            else
                m_widget->unsetCursor();
        }
        m_widget = nullptr;
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Enter:
            // Entered widgets hear of it from the outermost to the innermost.
            if (watched->isWidgetType())
                m_mouseWidget = static_cast<QWidget*>(watched);
            break;
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
            if (!watched->isWidgetType())
                break;
            auto* widget = static_cast<QWidget*>(watched);
            const auto* mouse = static_cast<const QMouseEvent*>(event);
            // A mouse event a widget ignores goes on to its parent as a copy; the widget the
            // mouse is over is the first receiver, and each move counts once.
            const bool propagated = m_mouseWidget && event->type() == m_lastType
                && mouse->timestamp() == m_lastTimestamp && mouse->globalPosition() == m_lastGlobal
                && widget != m_mouseWidget && widget->isAncestorOf(m_mouseWidget);
            if (propagated)
                break;
            m_mouseWidget = widget;
            m_lastType = event->type();
            m_lastTimestamp = mouse->timestamp();
            m_lastGlobal = mouse->globalPosition();
            if (event->type() == QEvent::MouseMove && m_widget && !m_stale) {
                // Unless the move's handling sets the cursor again, it goes after the move.
                m_stale = true;
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        if (m_stale)
                            restore();
                    },
                    Qt::QueuedConnection);
            }
            break;
        }
        case QEvent::Leave:
            if (watched == m_widget)
                restore();
            if (watched == m_mouseWidget)
                m_mouseWidget = m_mouseWidget->isWindow() ? nullptr : m_mouseWidget->parentWidget();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void install()
    {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app || m_installedOn == app)
            return;
        m_installedOn = app;
        app->installEventFilter(this);
    }

    static bool sameCursor(const QCursor& a, const QCursor& b)
    {
        if (a.shape() != b.shape())
            return false;
        return a.shape() != Qt::BitmapCursor
            || (a.pixmap().cacheKey() == b.pixmap().cacheKey() && a.hotSpot() == b.hotSpot());
    }

    QPointer<QCoreApplication> m_installedOn;
    QPointer<QWidget> m_mouseWidget;
    // The latest mouse event that was not a parent's copy.
    QEvent::Type m_lastType {QEvent::None};
    quint64 m_lastTimestamp {0};
    QPointF m_lastGlobal;
    QPointer<QWidget> m_widget;
    bool m_hadOwnCursor {false};
    QCursor m_ownCursor;
    QCursor m_cursor;
    bool m_stale {false};
};

// The keeper watches from the start of every application, so it knows where the mouse is
// before the first cursor is set.
void installCursorKeeper()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        CursorKeeper::instance();
}
Q_COREAPP_STARTUP_FUNCTION(installCursorKeeper)

// Gives the device clip of a context (held as protected state of CDC).
struct DcClip : CDC
{
    static QRegion of(const CDC& dc) { return (dc.*&DcClip::effectiveClip)(); }
};

} // namespace

// --- tables ----------------------------------------------------------------------------------

CIconTableRegistrar::CIconTableRegistrar(
    HMODULE module, std::initializer_list<ZorResourceEntry> entries)
    : m_module(module)
{
    for (const ZorResourceEntry& entry : entries) {
        if (!entry.data || entry.size == 0)
            continue;
        auto* icon = new ZorIcon;
        icon->bytes = QByteArray(
            reinterpret_cast<const char*>(entry.data), static_cast<qsizetype>(entry.size));
        m_icons[entry.id] = icon;
    }
    ResourceTables& all = resourceTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    all.icons.push_back(this);
}

CIconTableRegistrar::~CIconTableRegistrar()
{
    ResourceTables& all = resourceTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    std::erase(all.icons, this);
    for (const auto& [id, icon] : m_icons)
        all.retiredIcons.push_back(icon);
}

HICON CIconTableRegistrar::find(UINT id) const
{
    const auto it = m_icons.find(id);
    return it == m_icons.end() ? nullptr : it->second;
}

CCursorTableRegistrar::CCursorTableRegistrar(
    HMODULE module, std::initializer_list<ZorResourceEntry> entries)
    : m_module(module)
{
    for (const ZorResourceEntry& entry : entries) {
        if (!entry.data || entry.size == 0)
            continue;
        auto* cursor = new ZorCursor;
        cursor->bytes = QByteArray(
            reinterpret_cast<const char*>(entry.data), static_cast<qsizetype>(entry.size));
        m_cursors[entry.id] = cursor;
    }
    ResourceTables& all = resourceTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    all.cursors.push_back(this);
}

CCursorTableRegistrar::~CCursorTableRegistrar()
{
    ResourceTables& all = resourceTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    std::erase(all.cursors, this);
    for (const auto& [id, cursor] : m_cursors)
        all.retiredCursors.push_back(cursor);
}

HCURSOR CCursorTableRegistrar::find(UINT id) const
{
    const auto it = m_cursors.find(id);
    return it == m_cursors.end() ? nullptr : it->second;
}

CDataTableRegistrar::CDataTableRegistrar(
    HMODULE module, std::initializer_list<ZorDataEntry> entries)
    : m_module(module)
{
    for (const ZorDataEntry& entry : entries) {
        if (!entry.type)
            continue;
        // An empty resource is a resource all the same.
        std::string bytes;
        if (entry.data && entry.size > 0)
            bytes.assign(reinterpret_cast<const char*>(entry.data), entry.size);
        m_data[{upperType(entry.type), entry.id}] = std::move(bytes);
    }
    ResourceTables& all = resourceTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    all.data.push_back(this);
}

CDataTableRegistrar::~CDataTableRegistrar()
{
    ResourceTables& all = resourceTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    std::erase(all.data, this);
}

const std::string* CDataTableRegistrar::find(const char* type, UINT id) const
{
    if (!type)
        return nullptr;
    const auto it = m_data.find({upperType(type), id});
    return it == m_data.end() ? nullptr : &it->second;
}

// --- loading -------------------------------------------------------------------------------

HICON LoadIconA(HINSTANCE hInstance, const char* lpIconName)
{
    if (!lpIconName)
        return nullptr;
    const std::optional<UINT> id = resourceId(lpIconName);
    return id ? LoadIconA(hInstance, *id) : nullptr;
}

HICON LoadIconA(HINSTANCE hInstance, UINT id)
{
    if (!hInstance && id == 32512)
        return applicationIcon();
    const HMODULE module = hInstance ? hInstance : GetModuleHandleA(nullptr);
    if (!module)
        return nullptr;
    ResourceTables& all = resourceTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    for (const CIconTableRegistrar* table : all.icons) {
        if (table->module() != module)
            continue;
        if (HICON icon = table->find(id))
            return icon;
    }
    return nullptr;
}

HCURSOR LoadCursorA(HINSTANCE hInstance, const char* lpCursorName)
{
    if (!lpCursorName)
        return nullptr;
    const std::optional<UINT> id = resourceId(lpCursorName);
    return id ? LoadCursorA(hInstance, *id) : nullptr;
}

HCURSOR LoadCursorA(HINSTANCE hInstance, UINT id)
{
    if (!hInstance) {
        if (HCURSOR cursor = standardCursor(id))
            return cursor;
    }
    const HMODULE module = hInstance ? hInstance : GetModuleHandleA(nullptr);
    if (!module)
        return nullptr;
    ResourceTables& all = resourceTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    for (const CCursorTableRegistrar* table : all.cursors) {
        if (table->module() != module)
            continue;
        if (HCURSOR cursor = table->find(id))
            return cursor;
    }
    return nullptr;
}

HCURSOR SetCursor(HCURSOR hCursor)
{
    const HCURSOR previous = GetCursor();
    s_currentCursor = hCursor;
    s_cursorSet = true;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return previous;
    CursorKeeper& keeper = CursorKeeper::instance();
    if (QWidget* widget = keeper.widgetUnderMouse())
        keeper.apply(widget, hCursor ? zorQCursor(hCursor) : QCursor(Qt::BlankCursor));
    return previous;
}

HCURSOR GetCursor()
{
    if (!s_cursorSet)
        return standardCursor(32512);
    return s_currentCursor;
}

// --- what handles stand for -------------------------------------------------------------------

QIcon zorQIcon(HICON icon)
{
    if (!icon || !haveGuiApplication())
        return {};
    const std::lock_guard<std::mutex> guard(resourceTables().lock);
    decode(icon);
    if (!icon->icon) {
        QIcon made;
        // One pixmap per size: the deepest image of that size.
        std::map<int, const ZorIconImage*> bySize;
        for (const ZorIconImage& image : icon->images) {
            const int size = std::max(image.image.width(), image.image.height());
            const ZorIconImage*& chosen = bySize[size];
            if (!chosen || image.bitsPerPixel > chosen->bitsPerPixel)
                chosen = &image;
        }
        for (const auto& [size, image] : bySize)
            made.addPixmap(QPixmap::fromImage(image->image));
        icon->icon = made;
    }
    return *icon->icon;
}

QCursor zorQCursor(HCURSOR cursor)
{
    if (!cursor)
        return QCursor(Qt::ArrowCursor);
    if (cursor->shape != Qt::BitmapCursor)
        return QCursor(cursor->shape);
    if (!haveGuiApplication())
        return QCursor(Qt::ArrowCursor);
    const std::lock_guard<std::mutex> guard(resourceTables().lock);
    decode(cursor);
    if (!cursor->cursor) {
        const ZorIconImage* image = bestImage(cursor->images, c_standardSize);
        if (!image)
            cursor->cursor = QCursor(Qt::ArrowCursor);
        else
            cursor->cursor
                = QCursor(QPixmap::fromImage(image->image), image->hotSpot.x(), image->hotSpot.y());
    }
    return *cursor->cursor;
}

QImage zorIconImage(HICON icon, int size)
{
    if (!icon || size <= 0)
        return {};
    const std::lock_guard<std::mutex> guard(resourceTables().lock);
    decode(icon);
    const ZorIconImage* image = bestImage(icon->images, size);
    return image ? imageAtSize(*image, size, size) : QImage();
}

// --- drawing -------------------------------------------------------------------------------

BOOL DrawIcon(CDC* pDC, int x, int y, HICON hIcon)
{
    return DrawIconEx(pDC, x, y, hIcon, c_standardSize, c_standardSize);
}

BOOL DrawIconEx(CDC* pDC, int x, int y, HICON hIcon, int cx, int cy)
{
    if (!pDC || !hIcon)
        return FALSE;
    QImage* target = pDC->targetImage();
    if (!target || target->isNull())
        return FALSE;
    // A size of 0 is the standard size.
    if (cx <= 0)
        cx = c_standardSize;
    if (cy <= 0)
        cy = c_standardSize;

    CRect device(x, y, x + cx, y + cy);
    pDC->LPtoDP(&device);
    device.NormalizeRect();
    const int width = device.Width();
    const int height = device.Height();
    if (width <= 0 || height <= 0)
        return TRUE;
    QImage image;
    {
        const std::lock_guard<std::mutex> guard(resourceTables().lock);
        decode(hIcon);
        const ZorIconImage* best = bestImage(hIcon->images, std::max(width, height));
        if (!best)
            return FALSE;
        image = imageAtSize(*best, width, height);
    }

    const CBitmap* bitmap = pDC->GetCurrentBitmap();
    const bool monochrome = bitmap && bitmap->isMonochrome();
    const QRect area(device.left, device.top, width, height);
    const QRegion clip = DcClip::of(*pDC).intersected(target->rect()).intersected(area);
    // Each pixel is the icon's colour over the target's by the icon's alpha.
    for (const QRect& r : clip) {
        for (int py = r.top(); py <= r.bottom(); ++py) {
            auto* dst = reinterpret_cast<QRgb*>(target->scanLine(py));
            const auto* src = reinterpret_cast<const QRgb*>(image.constScanLine(py - area.top()));
            for (int px = r.left(); px <= r.right(); ++px) {
                const QRgb s = src[px - area.left()];
                const int a = qAlpha(s);
                if (a == 0)
                    continue;
                const QRgb d = dst[px];
                auto mix = [a](int sc, int dc) { return (sc * a + dc * (255 - a) + 127) / 255; };
                QRgb out = qRgb(
                    mix(qRed(s), qRed(d)), mix(qGreen(s), qGreen(d)), mix(qBlue(s), qBlue(d)));
                if (monochrome)
                    out = qRed(out) + qGreen(out) + qBlue(out) > 382 ? qRgb(255, 255, 255)
                                                                     : qRgb(0, 0, 0);
                dst[px] = out;
            }
        }
    }
    return TRUE;
}

// --- data ----------------------------------------------------------------------------------

const std::string* zorFindData(HMODULE hModule, const char* type, UINT id)
{
    if (!type)
        return nullptr;
    const HMODULE module = hModule ? hModule : GetModuleHandleA(nullptr);
    if (!module)
        return nullptr;
    ResourceTables& all = resourceTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    for (const CDataTableRegistrar* table : all.data) {
        if (table->module() != module)
            continue;
        if (const std::string* bytes = table->find(type, id))
            return bytes;
    }
    return nullptr;
}
