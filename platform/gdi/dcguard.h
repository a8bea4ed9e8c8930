#pragma once

// Puts a device context's drawing objects back when a piece of drawing leaves its scope, as a
// painter's save and restore do: every pen, brush, font and bitmap selected through the guard
// returns to the object that was selected before the guard's first selection of that kind.
// Optionally the guard saves the whole state (objects, colours, mapping, clip) with SaveDC and
// restores it at the end too.

class CDC;
class CPen;
class CBrush;
class CFont;
class CBitmap;

class CDCGuard
{
public:
    enum State { objectsOnly, wholeState };

    explicit CDCGuard(CDC* pDC, State state = objectsOnly);
    ~CDCGuard();
    CDCGuard(const CDCGuard&) = delete;
    CDCGuard& operator=(const CDCGuard&) = delete;

    // Select an object into the context; each gives what was selected before (nullptr when the
    // context refused the object, which then changes nothing and is not restored).
    CPen* select(CPen* pPen);
    CBrush* select(CBrush* pBrush);
    CFont* select(CFont* pFont);
    CBitmap* select(CBitmap* pBitmap);

private:
    CDC* m_dc;
    int m_savedLevel {0};
    CPen* m_oldPen {nullptr};
    CBrush* m_oldBrush {nullptr};
    CFont* m_oldFont {nullptr};
    CBitmap* m_oldBitmap {nullptr};
};
