#pragma once

// CWaitBar: the wait window's progress bar, a sunken box filled from the left in the
// highlight colour to the position (0 to 100).

#include "platform/ui/window.h"

class CWaitBar : public CWnd
{
public:
    CWaitBar() = default;

    // Clamps to 0..100; repaints when the position changes.
    void setPos(int nPos);
    int pos() const { return m_nPos; }
    // The filled part of a bar of that client rectangle at a position.
    static CRect filledRect(const CRect& client, int nPos);

    void OnPaint() override;

private:
    int m_nPos {0};
};
