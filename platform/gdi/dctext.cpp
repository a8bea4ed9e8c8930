// The text members of the device context: DrawText, TextOut, ExtTextOut, the extents, the text
// metrics and the face name.
//
// Text is laid out in device pixels with the whole-pixel advances of the font service, so an
// extent is exactly the sum of the advances and every glyph starts at a whole pixel; glyphs are
// drawn with QPainter at device coordinates (identity transform) in the text colour, clipped to
// the context's clip. With the OPAQUE background mode each line's cell is filled with the
// background colour first. The mix mode does not apply to text, as on the platform.
//
// DrawText follows the platform's layout: lines break at "\r\n", "\n" and "\r" (not with
// DT_SINGLELINE); DT_WORDBREAK breaks between words at blanks and lets a word longer than the
// line stand alone; the vertical flags apply to a single line only; "&x" draws x underlined
// (one row below the baseline row) and "&&" draws "&" unless DT_NOPREFIX; tabs expand to every
// 8 average characters with DT_EXPANDTABS (DT_TABSTOP takes the count from bits 8 to 15 and
// then ignores the flags there); DT_END_ELLIPSIS (and DT_WORD_ELLIPSIS, handled the same way)
// shortens each line that does not fit and appends "...". The result is the height of the text,
// or with DT_VCENTER / DT_BOTTOM on a single line the offset from the rectangle's top to the
// bottom of the text, in logical units.

#include "platform/gdi/dc.h"
#include "platform/gdi/fonts.h"

#include <QtGui/QGlyphRun>
#include <QtGui/QPainter>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int c_maxFontPixels = 8192;

LOGFONT defaultLogFont()
{
    LOGFONT logFont;
    std::strcpy(logFont.lfFaceName, "MS Sans Serif");
    logFont.lfWeight = FW_NORMAL;
    return logFont;
}

// The face of the selected font at its height in device pixels: the logical height goes
// through the context's vertical scale first. No font selected means the default font.
std::shared_ptr<const ZorFontFace> selectedFace(const CDC& dc)
{
    const CFont* font = dc.GetCurrentFont();
    const LOGFONT logFont
        = font != nullptr && font->isCreated() ? font->logFont() : defaultLogFont();
    int height = 0;
    if (logFont.lfHeight != 0) {
        CSize size(0, std::abs(static_cast<int>(logFont.lfHeight)));
        dc.LPtoDP(&size);
        // Glyphs taller than any picture show nothing more and take the font service long
        // to make.
        height = std::clamp(std::abs(static_cast<int>(size.cy)), 1, c_maxFontPixels);
        if (logFont.lfHeight < 0)
            height = -height;
    }
    return zorRealizeFont(logFont, height);
}

int logicalWidth(const CDC& dc, int width)
{
    CSize size(width, 0);
    dc.DPtoLP(&size);
    return std::abs(static_cast<int>(size.cx));
}

int logicalHeight(const CDC& dc, int height)
{
    CSize size(0, height);
    dc.DPtoLP(&size);
    return std::abs(static_cast<int>(size.cy));
}

QColor toQColor(COLORREF color)
{
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

// Tab stops measured from the start of a line: the listed stops, then every `spacing` pixels.
struct TabStops
{
    const int* stops {nullptr};
    int count {0};
    int spacing {0};

    // The position a tab at x moves to; a stop exactly at x is passed, as on the platform.
    int next(int x) const
    {
        for (int i = 0; i < count; ++i) {
            if (stops[i] > x)
                return stops[i];
        }
        if (spacing <= 0)
            return x;
        return spacing * (x / spacing + 1);
    }
};

int measure(const ZorFontFace& face, const char* text, int n, const TabStops* tabs)
{
    int x = 0;
    for (int i = 0; i < n; ++i) {
        if (tabs != nullptr && text[i] == '\t')
            x = tabs->next(x);
        else
            x += face.advance(text[i]);
    }
    return x;
}

// Draws n bytes of text with the cell's top at (x, top); `underlined` (may be null) marks the
// characters that carry a prefix underline.
void drawRun(QPainter& painter, const ZorFontFace& face, const char* text, int n, int x, int top,
    const TabStops* tabs, const char* underlined, const QColor& color)
{
    QList<quint32> glyphs;
    QList<QPointF> positions;
    glyphs.reserve(n);
    positions.reserve(n);
    const int baseline = top + face.ascent;
    int cx = x;
    for (int i = 0; i < n; ++i) {
        const char c = text[i];
        if (tabs != nullptr && c == '\t') {
            cx = x + tabs->next(cx - x);
            continue;
        }
        glyphs.append(face.glyphs[static_cast<unsigned char>(c)]);
        positions.append(QPointF(cx, baseline));
        if (underlined != nullptr && underlined[i] != 0)
            painter.fillRect(
                QRect(cx, baseline + face.underlineOffset, face.advance(c), face.lineThickness),
                color);
        cx += face.advance(c);
    }
    if (!glyphs.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(face.raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter.setPen(color);
        painter.drawGlyphRun(QPointF(0, 0), run);
        if (face.fakeBold)
            painter.drawGlyphRun(QPointF(1, 0), run);
    }
    if (face.underline)
        painter.fillRect(
            QRect(x, baseline + face.underlineOffset, cx - x, face.lineThickness), color);
    if (face.strikeOut)
        painter.fillRect(
            QRect(x, baseline - face.strikeOutOffset, cx - x, face.lineThickness), color);
}

bool beginPainter(QPainter& painter, QImage* target, const QRegion& clip, const ZorFontFace& face)
{
    if (target == nullptr || target->isNull() || !painter.begin(target))
        return false;
    painter.setClipRegion(clip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, !face.bitmap);
    return true;
}

// One line of DrawText after prefix processing, breaking and shortening.
struct TextLine
{
    std::string text;
    std::string underlined; // one byte per character, non-zero under a prefixed character
    int width {0};
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

int CDC::DrawText(const std::string& str, LPRECT lpRect, UINT nFormat)
{
    return DrawText(str.data(), static_cast<int>(str.size()), lpRect, nFormat);
}

int CDC::DrawText(const char* lpszString, int nCount, LPRECT lpRect, UINT nFormat)
{
    if (lpszString == nullptr || lpRect == nullptr)
        return 0;
    if (nCount < 0)
        nCount = static_cast<int>(std::strlen(lpszString));
    const auto facePtr = selectedFace(*this);
    if (!facePtr)
        return 0;
    const ZorFontFace& face = *facePtr;

    UINT flags = nFormat;
    TabStops tabs;
    if (flags & DT_TABSTOP) {
        tabs.spacing = static_cast<int>((flags >> 8) & 0xFF) * face.aveCharWidth;
        flags &= ~0xFF00u;
    } else {
        tabs.spacing = 8 * face.aveCharWidth;
    }
    const TabStops* tabsUsed = (flags & DT_EXPANDTABS) ? &tabs : nullptr;
    const bool singleLine = (flags & DT_SINGLELINE) != 0;
    const int lineHeight = face.height + ((flags & DT_EXTERNALLEADING) ? face.externalLeading : 0);

    if (nCount == 0) {
        if (flags & DT_CALCRECT) {
            lpRect->right = lpRect->left;
            lpRect->bottom = lpRect->top + (singleLine ? logicalHeight(*this, lineHeight) : 0);
        }
        return 0;
    }

    CRect device(*lpRect);
    LPtoDP(&device);
    device.NormalizeRect();

    // Prefix characters.
    std::string text;
    std::string underlined;
    text.reserve(static_cast<std::size_t>(nCount));
    if (flags & DT_NOPREFIX) {
        text.assign(lpszString, static_cast<std::size_t>(nCount));
        underlined.assign(text.size(), 0);
    } else {
        bool pending = false;
        for (int i = 0; i < nCount; ++i) {
            const char c = lpszString[i];
            if (c == '&') {
                if (i + 1 < nCount && lpszString[i + 1] == '&') {
                    text += '&';
                    underlined += static_cast<char>(pending ? 1 : 0);
                    pending = false;
                    ++i;
                } else {
                    pending = true;
                }
                continue;
            }
            text += c;
            underlined += static_cast<char>(pending && c != '\r' && c != '\n' ? 1 : 0);
            pending = false;
        }
    }

    const int width = device.Width();
    std::vector<TextLine> lines;
    auto addLine = [&](std::size_t begin, std::size_t end) {
        TextLine line;
        line.text = text.substr(begin, end - begin);
        line.underlined = underlined.substr(begin, end - begin);
        line.width = measure(face, line.text.data(), static_cast<int>(line.text.size()), tabsUsed);
        lines.push_back(std::move(line));
    };
    auto measureRange = [&](std::size_t begin, std::size_t end) {
        return measure(face, text.data() + begin, static_cast<int>(end - begin), tabsUsed);
    };
    auto wrap = [&](std::size_t begin, std::size_t end) {
        if (!(flags & DT_WORDBREAK)) {
            addLine(begin, end);
            return;
        }
        std::size_t pos = begin;
        do {
            std::size_t accepted = std::string::npos;
            std::size_t i = pos;
            while (i < end) {
                while (i < end && isBlank(text[i]))
                    ++i;
                if (i >= end)
                    break;
                std::size_t wordEnd = i;
                while (wordEnd < end && !isBlank(text[wordEnd]))
                    ++wordEnd;
                const bool fits = measureRange(pos, wordEnd) <= width;
                if (!fits && accepted != std::string::npos)
                    break;
                accepted = wordEnd;
                i = wordEnd;
                if (!fits)
                    break;
            }
            if (accepted == std::string::npos) {
                // Only blanks are left: a line of its own only when nothing came before.
                if (pos == begin)
                    addLine(pos, end);
                break;
            }
            addLine(pos, accepted);
            pos = accepted;
            while (pos < end && isBlank(text[pos]))
                ++pos;
        } while (pos < end);
    };

    if (singleLine) {
        wrap(0, text.size());
    } else {
        std::size_t begin = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size()) {
                wrap(begin, i);
                break;
            }
            if (text[i] == '\r' || text[i] == '\n') {
                wrap(begin, i);
                if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                    ++i;
                begin = i + 1;
                if (begin == text.size())
                    break; // a final line break starts no further line
            }
        }
    }

    if (flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS)) {
        const int ellipsis = face.textWidth("...", 3);
        for (TextLine& line : lines) {
            if (line.width <= width)
                continue;
            while (!line.text.empty()
                && measure(face, line.text.data(), static_cast<int>(line.text.size()), tabsUsed)
                        + ellipsis
                    > width) {
                line.text.pop_back();
                line.underlined.pop_back();
            }
            line.text += "...";
            line.underlined.append(3, 0);
            line.width
                = measure(face, line.text.data(), static_cast<int>(line.text.size()), tabsUsed);
        }
    }

    int maxWidth = 0;
    for (const TextLine& line : lines)
        maxWidth = std::max(maxWidth, line.width);
    const int totalHeight = static_cast<int>(lines.size()) * lineHeight;

    int y = device.top;
    if (singleLine) {
        if (flags & DT_VCENTER)
            y = device.top + (device.Height() - lineHeight) / 2;
        else if (flags & DT_BOTTOM)
            y = device.bottom - lineHeight;
    }
    const int result = singleLine && (flags & (DT_VCENTER | DT_BOTTOM))
        ? logicalHeight(*this, y + lineHeight - device.top)
        : logicalHeight(*this, totalHeight);

    if (flags & DT_CALCRECT) {
        lpRect->right = lpRect->left + logicalWidth(*this, maxWidth);
        lpRect->bottom = lpRect->top + logicalHeight(*this, totalHeight);
        return logicalHeight(*this, totalHeight);
    }

    QRegion clip = effectiveClip();
    if (!(flags & DT_NOCLIP))
        clip &= QRegion(QRect(device.left, device.top, device.Width(), device.Height()));
    QPainter painter;
    if (!beginPainter(painter, m_target, clip, face))
        return result;
    const QColor textColor = toQColor(m_state.textColor);
    const QColor bkColor = toQColor(m_state.bkColor);
    const bool prefixes = !(flags & DT_NOPREFIX);
    for (const TextLine& line : lines) {
        int x = device.left;
        if (flags & DT_CENTER)
            x = device.left + (device.Width() - line.width) / 2;
        else if (flags & DT_RIGHT)
            x = device.right - line.width;
        if (m_state.bkMode == OPAQUE && line.width > 0)
            painter.fillRect(QRect(x, y, line.width, face.height), bkColor);
        drawRun(painter, face, line.text.data(), static_cast<int>(line.text.size()), x, y, tabsUsed,
            prefixes ? line.underlined.data() : nullptr, textColor);
        y += lineHeight;
    }
    return result;
}

BOOL CDC::TextOut(int x, int y, const std::string& str)
{
    return ExtTextOut(x, y, 0, nullptr, str);
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const std::string& str)
{
    const auto facePtr = selectedFace(*this);
    if (!facePtr)
        return FALSE;
    const ZorFontFace& face = *facePtr;
    const UINT align = m_state.textAlign;
    const bool updateCp = (align & TA_UPDATECP) != 0;

    CPoint origin = updateCp ? m_state.position : CPoint(x, y);
    LPtoDP(&origin, 1);
    const int n = static_cast<int>(str.size());
    const int width = face.textWidth(str.data(), n);

    int left = origin.x;
    if ((align & TA_CENTER) == TA_CENTER)
        left -= width / 2;
    else if (align & TA_RIGHT)
        left -= width;
    int top = origin.y;
    if ((align & TA_BASELINE) == TA_BASELINE)
        top -= face.ascent;
    else if (align & TA_BOTTOM)
        top -= face.height;

    if (updateCp) {
        const int advance = logicalWidth(*this, width);
        if ((align & TA_CENTER) == TA_CENTER) {
        } else if (align & TA_RIGHT) {
            m_state.position.x -= advance;
        } else {
            m_state.position.x += advance;
        }
    }

    QRegion clip = effectiveClip();
    CRect box;
    if (lpRect != nullptr) {
        box = *lpRect;
        LPtoDP(&box);
        box.NormalizeRect();
    }
    const QRect boxRect(box.left, box.top, box.Width(), box.Height());
    if (lpRect != nullptr && (nOptions & ETO_CLIPPED))
        clip &= QRegion(boxRect);

    QPainter painter;
    if (!beginPainter(painter, m_target, clip, face))
        return TRUE;
    const QColor bkColor = toQColor(m_state.bkColor);
    if (lpRect != nullptr && (nOptions & ETO_OPAQUE))
        painter.fillRect(boxRect, bkColor);
    if (m_state.bkMode == OPAQUE && width > 0)
        painter.fillRect(QRect(left, top, width, face.height), bkColor);
    drawRun(painter, face, str.data(), n, left, top, nullptr, nullptr, toQColor(m_state.textColor));
    return TRUE;
}

CSize CDC::GetTextExtent(const std::string& str) const
{
    return GetTextExtent(str.data(), static_cast<int>(str.size()));
}

CSize CDC::GetTextExtent(const char* lpszString, int nCount) const
{
    const auto face = selectedFace(*this);
    if (!face || lpszString == nullptr)
        return CSize(0, 0);
    if (nCount < 0)
        nCount = static_cast<int>(std::strlen(lpszString));
    return CSize(logicalWidth(*this, face->textWidth(lpszString, nCount)),
        logicalHeight(*this, face->height));
}

CSize CDC::GetTabbedTextExtent(
    const std::string& str, int nTabPositions, const int* lpnTabStopPositions) const
{
    const auto face = selectedFace(*this);
    if (!face)
        return CSize(0, 0);
    // No stops: every 8 average characters; one: every that many pixels; more: those stops,
    // then every 8 average characters.
    TabStops tabs;
    tabs.spacing = 8 * face->aveCharWidth;
    if (lpnTabStopPositions != nullptr && nTabPositions == 1) {
        tabs.spacing = lpnTabStopPositions[0];
    } else if (lpnTabStopPositions != nullptr && nTabPositions > 1) {
        tabs.stops = lpnTabStopPositions;
        tabs.count = nTabPositions;
    }
    const int width = measure(*face, str.data(), static_cast<int>(str.size()), &tabs);
    return CSize(logicalWidth(*this, width), logicalHeight(*this, face->height));
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* lpMetrics) const
{
    if (lpMetrics == nullptr)
        return FALSE;
    const auto face = selectedFace(*this);
    if (!face)
        return FALSE;
    TEXTMETRIC tm;
    tm.tmHeight = logicalHeight(*this, face->height);
    tm.tmAscent = logicalHeight(*this, face->ascent);
    tm.tmDescent = logicalHeight(*this, face->descent);
    tm.tmInternalLeading = logicalHeight(*this, face->internalLeading);
    tm.tmExternalLeading = logicalHeight(*this, face->externalLeading);
    tm.tmAveCharWidth = logicalWidth(*this, face->aveCharWidth);
    tm.tmMaxCharWidth = logicalWidth(*this, face->maxCharWidth);
    tm.tmWeight = face->fakeBold ? FW_BOLD : face->weight;
    tm.tmOverhang = 0;
    tm.tmDigitizedAspectX = m_dpiX;
    tm.tmDigitizedAspectY = m_dpiY;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = static_cast<char>(0xFF);
    tm.tmDefaultChar = static_cast<char>(0x80);
    tm.tmBreakChar = 0x20;
    tm.tmItalic = face->italic ? 1 : 0;
    tm.tmUnderlined = face->underline ? 1 : 0;
    tm.tmStruckOut = face->strikeOut ? 1 : 0;
    tm.tmPitchAndFamily = face->pitchAndFamily;
    tm.tmCharSet = ANSI_CHARSET;
    *lpMetrics = tm;
    return TRUE;
}

int CDC::GetTextFace(int nCount, char* lpszFacename) const
{
    const auto face = selectedFace(*this);
    const std::string name = face ? face->faceName : std::string("MS Sans Serif");
    // Without a buffer: the size needed, terminator included; otherwise the characters copied,
    // terminator included.
    if (lpszFacename == nullptr)
        return static_cast<int>(name.size()) + 1;
    if (nCount <= 0)
        return 0;
    const std::size_t copied = std::min(name.size(), static_cast<std::size_t>(nCount - 1));
    name.copy(lpszFacename, copied);
    lpszFacename[copied] = '\0';
    return static_cast<int>(copied) + 1;
}
