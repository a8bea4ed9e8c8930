#pragma once

// Fonts of controls: the font description a control keeps (stock Font, its own persisted
// fonts), and the font object the dispatch interface hands out for it (IFontDisp: Name, Size,
// Bold, Italic, Underline, Strikethrough, Weight, Charset as properties with the platform's
// dispids 0, 2, 3, 4, 5, 6, 7, 8).

#include "platform/gdi/logfont.h"
#include "platform/ole/com.h"

#include <functional>
#include <memory>
#include <string>

struct FONTDESC
{
    std::string lpstrName {"MS Sans Serif"};
    // Points in ten-thousandths (8.25 points = 82500), as the platform's currency value.
    LONGLONG cySize {80000};
    SHORT sWeight {400};
    SHORT sCharset {0};
    BOOL fItalic {FALSE};
    BOOL fUnderline {FALSE};
    BOOL fStrikethrough {FALSE};
    bool operator==(const FONTDESC& o) const;
};

extern const IID IID_IFontDisp;

// The font of a control property: its description, the change notification and a logical font
// for drawing at the device's resolution.
class CFontHolder
{
public:
    CFontHolder() = default;
    explicit CFontHolder(const FONTDESC& desc) : m_desc(desc) { }
    // A copy has the description and notification, not the font objects of the original.
    CFontHolder(const CFontHolder& other) : m_desc(other.m_desc), m_notify(other.m_notify) { }
    CFontHolder& operator=(const CFontHolder& other);
    // Font objects that outlive the holder keep their last description and stop editing.
    ~CFontHolder();

    const FONTDESC& desc() const { return m_desc; }
    void setDesc(const FONTDESC& desc);
    // Called after every change (a control marks itself modified and repaints).
    void setNotify(std::function<void()> notify) { m_notify = std::move(notify); }
    // A logical font of the description at dpiY dots per inch (height = -points * dpi / 72).
    LOGFONT logFont(int dpiY = 96) const;
    // A new font object (reference count 1) that edits this holder's description.
    IDispatch* createFontDispatch();

private:
    FONTDESC m_desc;
    std::function<void()> m_notify;
    // Shared with this holder's font objects, cleared when the holder goes.
    std::shared_ptr<CFontHolder*> m_self;
};

// "MS Sans Serif,8.25,400,0,0,1,0": face, points, weight, charset, italic, underline,
// strike-through; the property-bag text of a font. False on text that does not parse.
std::string zorFontDescText(const FONTDESC& desc);
bool zorFontDescFromText(const std::string& text, FONTDESC* desc);
