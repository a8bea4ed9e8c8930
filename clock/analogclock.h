#pragma once

// The clock's face: lays out and paints the dial of the clock control. Five-minute and minute
// marks, hour and minute hands as shadowed filled polygons, a second hand drawn in exclusive-or
// mode so that it moves once a second without the rest being painted again, an "AM" or "PM"
// marker, a line with the long date and the 24-hour time, and a title. All directions come
// from the module's 60-entry direction table: no trigonometry at run time.
//
// The face knows nothing of zones: its owner hands it the time to show, the colours, flags,
// title and font, and forwards size changes and paints to it.
//
// Choices of this implementation:
// - A module without its direction table reports "Can't load cosine table" once and the face
//   stays blank (only the border box is drawn); the host process goes on.
// - The second hand is drawn after the texts, so that drawing it twice always restores every
//   pixel (a text drawn over an exclusive-or line would otherwise leave marks on it when the
//   hand moves on).
// - After a layout, and before the first time, there is no previous time: the first update
//   always repaints in full, even in the minute after midnight. A time of another day with the
//   same hour and minute also repaints in full, so the date line is never stale.
// - An invalid time is not shown (it has no hour, minute or second to draw).
// - The digital flag draws a plain digital face: the time as "%H:%M:%S", large, centred in the
//   dial's square in the foreground colour over a shadow, with the date line and the title as
//   on the analog face (no "AM"/"PM": the time is in 24-hour form). A digital face repaints in
//   full on every update; changing the flag makes the next update repaint in full.

#include "clock/clockgeometry.h"
#include "platform/gdi/logfont.h"
#include "platform/module/module.h"
#include "platform/ole/propexchange.h"
#include "platform/types/oledatetime.h"

#include <string>

class CClockOwner;
class CDC;

class CAnalogClock
{
public:
    // Finds the "CosineTable" data resource of the module.
    CAnalogClock(CClockOwner& owner, HMODULE module);
    ~CAnalogClock();
    CAnalogClock(const CAnalogClock&) = delete;
    CAnalogClock& operator=(const CAnalogClock&) = delete;

    void layout(int left, int top, int right, int bottom);
    // Shows `time`: within the same minute the second hand moves on the owner's client
    // context; otherwise the owner is invalidated.
    void update(const COleDateTime& time);
    // Draws with the face's own layout (not the owner's bounds).
    void draw(CDC* pdc, bool border);

    // Each stores its value; nothing is drawn or laid out again (a new font height counts at
    // the next layout).
    void setBackground(OLE_COLOR color) { m_background = color; }
    void setForeground(OLE_COLOR color) { m_foreground = color; }
    void setShadow(OLE_COLOR color) { m_shadow = color; }
    void setDigital(bool digital);
    void setShowTexts(bool show) { m_showTexts = show; }
    void setZone(LONG minutes) { m_zone = minutes; }
    void setTitle(const std::string& title) { m_title = title; }
    void setFont(const LOGFONT& font) { m_font = font; }

    bool tableLoaded() const { return m_tableLoaded; }
    const ZorClockLayout& geometry() const { return m_layout; }
    const COleDateTime& currentTime() const { return m_current; }
    bool timeSet() const { return m_timeSet; }
    bool digital() const { return m_digital; }
    bool showTexts() const { return m_showTexts; }
    LONG zone() const { return m_zone; }
    const LOGFONT& font() const { return m_font; }

private:
    void drawMarks(CDC* pdc) const;
    void drawHand(CDC* pdc, int position, int halfWidth, int tip, int tail) const;
    void drawSecondHand(CDC* pdc, int second, int mode) const;
    void drawTexts(CDC* pdc) const;
    void drawDigital(CDC* pdc) const;
    // The pixels a second hand in that position may cover.
    CRect secondHandArea(int second) const;

    CClockOwner& m_owner;
    bool m_tableLoaded {false};
    ZorClockTable m_table {};
    ZorClockLayout m_layout;
    COleDateTime m_current;
    // Null until a time has been shown since the last layout.
    COleDateTime m_previous;
    bool m_digital {false};
    bool m_showTexts {true};
    bool m_timeSet {false};
    OLE_COLOR m_background {0xC0C0C0};
    OLE_COLOR m_foreground {0x800000};
    OLE_COLOR m_shadow {0xFFFFFF};
    // A copy of the owner's offset minutes; the face does not read it.
    LONG m_zone {0};
    std::string m_title;
    LOGFONT m_font;
};
