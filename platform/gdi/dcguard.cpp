#include "platform/gdi/dcguard.h"

#include "platform/gdi/dc.h"

namespace {

// Selects the object and remembers the first object it replaced.
template<class T> T* selectRemembering(CDC* pDC, T* object, T*& firstOld)
{
    T* old = pDC->SelectObject(object);
    if (old != nullptr && firstOld == nullptr)
        firstOld = old;
    return old;
}

} // namespace

CDCGuard::CDCGuard(CDC* pDC, State state) : m_dc(pDC)
{
    if (state == wholeState)
        m_savedLevel = m_dc->SaveDC();
}

CDCGuard::~CDCGuard()
{
    if (m_oldBitmap != nullptr)
        m_dc->SelectObject(m_oldBitmap);
    if (m_oldFont != nullptr)
        m_dc->SelectObject(m_oldFont);
    if (m_oldBrush != nullptr)
        m_dc->SelectObject(m_oldBrush);
    if (m_oldPen != nullptr)
        m_dc->SelectObject(m_oldPen);
    if (m_savedLevel > 0)
        m_dc->RestoreDC(m_savedLevel);
}

CPen* CDCGuard::select(CPen* pPen)
{
    return selectRemembering(m_dc, pPen, m_oldPen);
}

CBrush* CDCGuard::select(CBrush* pBrush)
{
    return selectRemembering(m_dc, pBrush, m_oldBrush);
}

CFont* CDCGuard::select(CFont* pFont)
{
    return selectRemembering(m_dc, pFont, m_oldFont);
}

CBitmap* CDCGuard::select(CBitmap* pBitmap)
{
    return selectRemembering(m_dc, pBitmap, m_oldBitmap);
}
