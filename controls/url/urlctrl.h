#pragma once

// The link: a web address drawn underlined; a click on it opens the address with the desktop's
// handler, after which the link shows in its visited colour.

#include "platform/ole/control.h"
#include "platform/ole/factory.h"
#include "platform/ui/tooltipctrl.h"

class CUrlCtrl : public COleControl
{
public:
    CUrlCtrl();
    ~CUrlCtrl() override;

    void OnDraw(CDC* pdc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    std::vector<CLSID> GetPropPageIDs() const override;
    int OnCreate() override;
    void OnDestroy() override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;

    // The tool tip's text.
    static const char* tipText();
    bool visited() const { return m_visited; }
    const CRect& textRect() const { return m_textRect; }

private:
    bool overText() const;

    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    std::string m_url;
    LONG m_box {0};
    OLE_COLOR m_color {0xFF0000};
    OLE_COLOR m_visitedColor {0x800080};
    OLE_COLOR m_backgroundColor {0x0F000000};
    LONG m_justify {1};
    // Persisted with the properties to keep the stream layout; not drawn with.
    CFontHolder m_persistedFont;

    bool m_visited {false};
    CRect m_textRect;
    CPoint m_mouse {-1, -1};
    CToolTipCtrl m_toolTip;
};
