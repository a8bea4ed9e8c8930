#include "platform/gdi/fonts.h"

#include "platform/types/muldiv.h"

#include <QtCore/QFile>
#include <QtGui/QFontDatabase>
#include <QtGui/QFontInfo>
#include <QtGui/QFontMetrics>
#include <QtGui/QGuiApplication>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <mutex>
#include <tuple>

namespace {

const char* const c_bitmapFace = "MS Sans Serif";
const char* const c_bitmapFaceFile = "/usr/share/wine/fonts/ms_sans_serif.ttf";
const char* const c_sansFamily = "Liberation Sans";

// The strikes of the bitmap face: cell height and the character (em) height the platform gives
// the matching raster sizes (8, 10 and 12 points at 96 dots per inch).
struct Strike
{
    int cell;
    int em;
};
constexpr Strike c_strikes[] = {{13, 11}, {16, 13}, {20, 16}};
// The next raster size (14 points) would have these; requests from there on use the outline
// sans face instead.
constexpr int c_firstOutlineEm = 19;
constexpr int c_firstOutlineCell = 24;

// The substitution table: face name (compared without regard to case), the family that draws
// it, the name GetTextFace reports and the pitch and family bits.
struct Substitute
{
    const char* face;
    const char* family;
    const char* reported;
    BYTE family_bits;
};
const Substitute c_substitutes[] = {
    {"MS Sans Serif", c_bitmapFace, "MS Sans Serif", FF_SWISS},
    {"System", c_bitmapFace, "MS Sans Serif", FF_SWISS},
    {"", c_bitmapFace, "MS Sans Serif", FF_SWISS},
    {"Arial", c_sansFamily, "Arial", FF_SWISS},
    {"Helvetica", c_sansFamily, "Arial", FF_SWISS},
    {"Times New Roman", "Liberation Serif", "Times New Roman", FF_ROMAN},
    {"Times", "Liberation Serif", "Times New Roman", FF_ROMAN},
    {"Courier New", "Liberation Mono", "Courier New", FF_MODERN},
    {"Courier", "Liberation Mono", "Courier New", FF_MODERN},
};

// Windows-1252 codes 0x80 to 0x9F; the five codes the page leaves undefined keep their value.
constexpr char16_t c_cp1252High[32]
    = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t fromCodePage(unsigned char c)
{
    if (c >= 0x80 && c < 0xA0)
        return c_cp1252High[c - 0x80];
    return c;
}

bool sameFace(const char* a, const std::string& b)
{
    const std::size_t n = std::strlen(a);
    if (n != b.size())
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i]))
            != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

const Substitute* findSubstitute(const std::string& face)
{
    for (const Substitute& s : c_substitutes) {
        if (sameFace(s.face, face))
            return &s;
    }
    return nullptr;
}

std::string faceOf(const LOGFONT& logFont)
{
    const char* name = logFont.lfFaceName;
    return std::string(name, strnlen(name, LF_FACESIZE));
}

int defaultDeviceHeight()
{
    return -MulDiv(8, 96, 72);
}

// The service's shared state: the bitmap face's file and the faces made so far. Fonts are made
// on the thread that draws, so the cache is locked.
class FontCache
{
public:
    // Never destroyed: the faces hold font engines of the GUI application, which must not be
    // released after Qt's own statics at exit. The faces are dropped instead when the
    // application they were made for goes away.
    static FontCache& instance()
    {
        static FontCache* cache = new FontCache;
        return *cache;
    }

    std::shared_ptr<const ZorFontFace> realize(const LOGFONT& logFont, int deviceHeight);

private:
    using Key = std::tuple<std::string, int, int, bool, bool, bool>;

    bool loadBitmapFace();
    std::shared_ptr<ZorFontFace> makeBitmapFace(int cell, int em) const;
    std::shared_ptr<ZorFontFace> makeOutlineFace(
        const QString& family, int deviceHeight, int weight, bool italic) const;
    static void fillGlyphs(ZorFontFace& face);

    void forgetFaces();

    std::mutex m_mutex;
    QCoreApplication* m_application {nullptr}; // the application the faces were made for
    bool m_triedBitmapFace {false};
    QByteArray m_bitmapFaceData;
    std::map<Key, std::shared_ptr<const ZorFontFace>> m_faces;
};

bool FontCache::loadBitmapFace()
{
    if (!m_triedBitmapFace) {
        m_triedBitmapFace = true;
        QFile file(QString::fromLatin1(c_bitmapFaceFile));
        if (file.open(QIODevice::ReadOnly))
            m_bitmapFaceData = file.readAll();
        // Registered as well, so that Qt widgets can name the face.
        if (!m_bitmapFaceData.isEmpty())
            QFontDatabase::addApplicationFontFromData(m_bitmapFaceData);
    }
    return !m_bitmapFaceData.isEmpty();
}

void FontCache::fillGlyphs(ZorFontFace& face)
{
    QString codes(256, QChar(u' '));
    for (int c = 0; c < 256; ++c)
        codes[c] = QChar(fromCodePage(static_cast<unsigned char>(c)));
    const QList<quint32> glyphs = face.raw.glyphIndexesForString(codes);
    if (glyphs.size() != 256)
        return;
    const QList<QPointF> advances = face.raw.advancesForGlyphIndexes(glyphs);
    for (int c = 0; c < 256; ++c) {
        face.glyphs[c] = glyphs[c];
        face.advances[c] = qRound(advances.value(c).x()) + (face.fakeBold ? 1 : 0);
    }
}

std::shared_ptr<ZorFontFace> FontCache::makeBitmapFace(int cell, int em) const
{
    auto face = std::make_shared<ZorFontFace>();
    face->raw = QRawFont(m_bitmapFaceData, cell, QFont::PreferNoHinting);
    if (!face->raw.isValid())
        return nullptr;
    face->bitmap = true;
    face->ascent = qRound(face->raw.ascent());
    face->descent = qRound(face->raw.descent());
    face->height = face->ascent + face->descent;
    face->internalLeading = std::max(0, face->height - em);
    face->externalLeading = 0;
    // The raster face draws its underline one row below the baseline row, one pixel thick.
    face->underlineOffset = 1;
    face->lineThickness = 1;
    face->strikeOutOffset = std::max(1, qRound(face->raw.xHeight() / 2));
    return face;
}

std::shared_ptr<ZorFontFace> FontCache::makeOutlineFace(
    const QString& family, int deviceHeight, int weight, bool italic) const
{
    QFont font(family);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferFullHinting);
    int pixelSize = std::max(1, std::abs(deviceHeight));
    font.setPixelSize(pixelSize);
    if (deviceHeight > 0) {
        // A cell height: the pixel size whose ascent + descent equals it, or the largest one
        // below it.
        auto cellOf = [&font](int px) {
            font.setPixelSize(px);
            const QFontMetrics metrics(font);
            return metrics.ascent() + metrics.descent();
        };
        // Start from the cell's ratio at the asked size, so only a few steps are left: each
        // step loads a font of that size.
        if (const int cell = cellOf(pixelSize); cell > 0)
            pixelSize = std::max(1, int(std::llround(double(pixelSize) * deviceHeight / cell)));
        while (pixelSize > 1 && cellOf(pixelSize) > deviceHeight)
            --pixelSize;
        while (cellOf(pixelSize + 1) <= deviceHeight)
            ++pixelSize;
        font.setPixelSize(pixelSize);
    }
    auto face = std::make_shared<ZorFontFace>();
    face->raw = QRawFont::fromFont(font);
    if (!face->raw.isValid())
        return nullptr;
    const QFontMetrics metrics(font);
    face->ascent = metrics.ascent();
    face->descent = metrics.descent();
    face->height = face->ascent + face->descent;
    face->internalLeading = std::max(0, face->height - pixelSize);
    face->externalLeading = std::max(0, metrics.leading());
    face->lineThickness = std::max(1, qRound(face->raw.lineThickness()));
    face->underlineOffset = std::clamp(
        qRound(face->raw.underlinePosition()), 1, std::max(1, face->descent - face->lineThickness));
    face->strikeOutOffset = std::max(1, qRound(face->raw.xHeight() / 2));
    face->faceName = QFontInfo(font).family().toStdString();
    return face;
}

void FontCache::forgetFaces()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_faces.clear();
    m_application = nullptr;
    m_triedBitmapFace = false;
    m_bitmapFaceData.clear();
}

std::shared_ptr<const ZorFontFace> FontCache::realize(const LOGFONT& logFont, int deviceHeight)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (qobject_cast<QGuiApplication*>(application) == nullptr)
        return nullptr;

    const std::string faceName = faceOf(logFont);
    const int weight = logFont.lfWeight <= 0 ? 400 : static_cast<int>(logFont.lfWeight);
    const bool italic = logFont.lfItalic != 0;
    const int height = deviceHeight == 0 ? defaultDeviceHeight() : deviceHeight;
    const Key key {
        faceName, height, weight, italic, logFont.lfUnderline != 0, logFont.lfStrikeOut != 0};

    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_application != application) {
        m_faces.clear();
        m_triedBitmapFace = false;
        m_bitmapFaceData.clear();
        m_application = application;
        QObject::connect(application, &QObject::destroyed, [this] { forgetFaces(); });
    }
    if (auto found = m_faces.find(key); found != m_faces.end())
        return found->second;

    const Substitute* substitute = findSubstitute(faceName);
    std::shared_ptr<ZorFontFace> face;
    if (substitute != nullptr && substitute->family == c_bitmapFace && loadBitmapFace()) {
        const bool tooLarge
            = height < 0 ? -height >= c_firstOutlineEm : height >= c_firstOutlineCell;
        if (!tooLarge) {
            const Strike* chosen = &c_strikes[0];
            for (const Strike& s : c_strikes) {
                if ((height < 0 ? s.em <= -height : s.cell <= height))
                    chosen = &s;
            }
            face = makeBitmapFace(chosen->cell, chosen->em);
            // FIXME: the bitmap face has no slanted strikes; italic text is drawn upright.
            if (face)
                face->fakeBold = weight > 550;
        }
    }
    if (!face) {
        QString family;
        if (substitute != nullptr)
            family = QString::fromLatin1(
                substitute->family == c_bitmapFace ? c_sansFamily : substitute->family);
        else
            family = QString::fromStdString(faceName);
        face = makeOutlineFace(family, height, weight, italic);
    }
    if (!face)
        return nullptr;

    fillGlyphs(*face);
    if (substitute != nullptr)
        face->faceName = substitute->reported;
    face->weight = weight;
    face->italic = italic;
    face->underline = logFont.lfUnderline != 0;
    face->strikeOut = logFont.lfStrikeOut != 0;
    face->aveCharWidth = face->advance('x');
    face->maxCharWidth = *std::max_element(face->advances.begin() + 32, face->advances.end());
    const bool fixedPitch = face->advance('i') == face->advance('W');
    const BYTE familyBits = substitute != nullptr ? substitute->family_bits : 0;
    face->pitchAndFamily = static_cast<BYTE>(familyBits | (fixedPitch ? 0 : TMPF_FIXED_PITCH)
        | (face->bitmap ? 0 : TMPF_VECTOR | TMPF_TRUETYPE));

    m_faces.emplace(key, face);
    return face;
}

} // namespace

int ZorFontFace::textWidth(const char* text, int n) const
{
    int width = 0;
    for (int i = 0; i < n; ++i)
        width += advance(text[i]);
    return width;
}

std::shared_ptr<const ZorFontFace> zorRealizeFont(const LOGFONT& logFont, int deviceHeight)
{
    return FontCache::instance().realize(logFont, deviceHeight);
}

std::string zorSubstituteFace(const std::string& faceName)
{
    const Substitute* substitute = findSubstitute(faceName);
    return substitute != nullptr ? std::string(substitute->family) : std::string();
}

QFont zorQtFont(const LOGFONT& logFont, int deviceHeight)
{
    QFont font;
    const auto face = zorRealizeFont(logFont, deviceHeight);
    if (face) {
        font.setFamily(face->raw.familyName());
        font.setPixelSize(std::max(1, qRound(face->raw.pixelSize())));
        font.setWeight(static_cast<QFont::Weight>(std::clamp(face->weight, 1, 1000)));
        font.setItalic(face->italic);
    } else {
        const std::string family = zorSubstituteFace(faceOf(logFont));
        font.setFamily(QString::fromStdString(family.empty() ? faceOf(logFont) : family));
        const int height = deviceHeight == 0 ? defaultDeviceHeight() : deviceHeight;
        font.setPixelSize(std::max(1, std::abs(height)));
        const int weight = logFont.lfWeight <= 0 ? 400 : static_cast<int>(logFont.lfWeight);
        font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
        font.setItalic(logFont.lfItalic != 0);
    }
    font.setUnderline(logFont.lfUnderline != 0);
    font.setStrikeOut(logFont.lfStrikeOut != 0);
    return font;
}

CSize zorDialogBaseUnits(const std::string& faceName, int pointSize, int dpiY)
{
    LOGFONT logFont;
    logFont.lfHeight = -MulDiv(pointSize, dpiY, 72);
    logFont.lfWeight = 400;
    faceName.copy(logFont.lfFaceName, LF_FACESIZE - 1);
    const auto face = zorRealizeFont(logFont, logFont.lfHeight);
    if (!face)
        return CSize(0, 0);
    const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const int width = face->textWidth(letters, 52);
    return CSize((width / 26 + 1) / 2, face->height);
}

std::string zorToCodePage(const QString& text)
{
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        char c = '?';
        if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
            c = static_cast<char>(u);
        } else {
            for (int i = 0; i < 32; ++i) {
                if (c_cp1252High[i] == u) {
                    c = static_cast<char>(0x80 + i);
                    break;
                }
            }
        }
        result += c;
    }
    return result;
}

QString zorFromCodePage(const std::string& text)
{
    return zorFromCodePage(text.data(), static_cast<int>(text.size()));
}

QString zorFromCodePage(const char* text, int n)
{
    QString result(n, QChar(u' '));
    for (int i = 0; i < n; ++i)
        result[i] = QChar(fromCodePage(static_cast<unsigned char>(text[i])));
    return result;
}
