#pragma once

// The font service: turns a logical font into a face ready to draw at a size in device pixels.
//
// Faces the suite names are substituted by a fixed table (fonts.cpp):
//   "MS Sans Serif", "System", ""      -> the "MS Sans Serif" bitmap face of fonts-wine
//                                         (/usr/share/wine/fonts/ms_sans_serif.ttf, loaded by
//                                         the service itself: fontconfig does not list it)
//   "Arial", "Helvetica"               -> "Liberation Sans" (metric-compatible with Arial)
//   "Times New Roman", "Times"         -> "Liberation Serif"
//   "Courier New", "Courier"           -> "Liberation Mono"
//   any other face                     -> whatever fontconfig chooses for it
// The bitmap face has three strikes (cells of 13, 16 and 20 pixels: the 8, 10 and 12 point
// sizes at 96 dots per inch); a request above the largest strike (a character height of 19
// pixels or more, or a cell of 24 or more) is drawn with "Liberation Sans" at the asked size,
// as the platform would scale up to a bigger raster size.
//
// Text is single-byte (the Windows-1252 code page); every face keeps a glyph and a whole-pixel
// advance for each of the 256 codes, so measuring a text is a sum of integers and drawing places
// each glyph at a whole pixel, as the platform's device contexts do.

#include "platform/gdi/logfont.h"
#include "platform/types/rect.h"
#include "platform/types/wintypes.h"

#include <QtGui/QFont>
#include <QtGui/QRawFont>

#include <array>
#include <memory>
#include <string>

// Pitch and family bits of TEXTMETRIC::tmPitchAndFamily (the low bit set means variable pitch,
// as the platform defines it).
constexpr BYTE TMPF_FIXED_PITCH = 0x01;
constexpr BYTE TMPF_VECTOR = 0x02;
constexpr BYTE TMPF_TRUETYPE = 0x04;
constexpr BYTE FF_ROMAN = 0x10;
constexpr BYTE FF_SWISS = 0x20;
constexpr BYTE FF_MODERN = 0x30;

// A logical font realised at one size: the raw face, its metrics in device pixels and the
// per-code glyphs and advances. Shared and never changed once made.
struct ZorFontFace
{
    QRawFont raw;
    std::string faceName; // the name GetTextFace reports
    bool bitmap {false}; // the raster face: no antialiasing, synthetic bold
    bool fakeBold {false}; // drawn twice, one pixel apart, each advance one pixel wider
    int height {0}; // ascent + descent
    int ascent {0};
    int descent {0};
    int internalLeading {0};
    int externalLeading {0};
    int aveCharWidth {0};
    int maxCharWidth {0};
    int weight {400};
    bool italic {false};
    bool underline {false};
    bool strikeOut {false};
    BYTE pitchAndFamily {0};
    int underlineOffset {1}; // rows below the baseline
    int lineThickness {1};
    int strikeOutOffset {3}; // rows above the baseline
    std::array<quint32, 256> glyphs {};
    std::array<int, 256> advances {};

    int advance(char c) const { return advances[static_cast<unsigned char>(c)]; }
    // Width in pixels of n bytes of text, without tab expansion.
    int textWidth(const char* text, int n) const;
};

// The face that draws the logical font at the given height in device pixels (the font's
// lfHeight after the context's mapping: negative = character height, positive = cell height,
// 0 = the default size). Null when no GUI application exists (fonts need one).
std::shared_ptr<const ZorFontFace> zorRealizeFont(const LOGFONT& logFont, int deviceHeight);

// The font family that stands in for a face name (the table above); empty for a face left to
// fontconfig.
std::string zorSubstituteFace(const std::string& faceName);

// A Qt font for the logical font at the given device height: the substituted family and the
// pixel size the service chose, with weight, italic, underline and strike-out.
QFont zorQtFont(const LOGFONT& logFont, int deviceHeight);

// The dialog base units of a dialog font given by face and size in points, measured as the
// platform does: horizontal = (width of "A".."Z" "a".."z" / 26 + 1) / 2, vertical = the cell
// height. "MS Sans Serif" 8 points gives 6 x 13 at 96 dots per inch.
CSize zorDialogBaseUnits(const std::string& faceName, int pointSize, int dpiY = 96);

// Single-byte text (Windows-1252) to Qt's text.
QString zorFromCodePage(const char* text, int n);
QString zorFromCodePage(const std::string& text);
// Qt's text to single-byte text (Windows-1252); characters it cannot hold become '?'.
std::string zorToCodePage(const QString& text);
