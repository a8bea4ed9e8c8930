#pragma once

// The tooltip control: texts for the tools (windows) of one owner window.
//
// A tool shows its text when the mouse rests on it while the control is active, as the
// desktop shows tooltips (Qt's tooltip events of the tool's widget). Relayed mouse messages
// hide a shown tip on a button press, as on the platform; the control counts them so that
// callers and tests can see what was relayed. A maximum tip width wraps long texts into lines
// no wider than that many pixels.

#include "platform/ui/window.h"

#include <map>
#include <string>

class QObject;
class QEvent;

class CToolTipCtrl : public CWnd
{
public:
    CToolTipCtrl();
    ~CToolTipCtrl() override;

    // Creates the control for the owner window; TRUE on success.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    BOOL DestroyWindow() override;
    BOOL AddTool(CWnd* pWnd, const char* lpszText);
    void DelTool(CWnd* pWnd);
    void UpdateTipText(const char* lpszText, CWnd* pWnd);
    int GetToolCount() const;
    // The text of a tool; empty when the window is not a tool.
    std::string GetText(const CWnd* pWnd) const;
    void Activate(BOOL bActivate);
    bool isActive() const { return m_active; }
    void RelayEvent(MSG* pMsg);
    int relayedCount() const { return m_relayed; }
    int SetMaxTipWidth(int iWidth);
    int GetMaxTipWidth() const { return m_maxTipWidth; }
    // The text as it is shown: wrapped to the maximum tip width with the tip font.
    std::string shownText(const CWnd* pWnd) const;
    // Shows the tip of a tool at once (what resting the mouse on it does).
    bool showTip(CWnd* pWnd);

private:
    class Filter;
    bool eventFromTool(QObject* watched, QEvent* event);

    // The texts by the tools' handles: a handle outlives its window object and follows it when
    // the window is subclassed, and is never reused.
    std::map<HWND, std::string> m_tools;
    bool m_active {true};
    int m_relayed {0};
    int m_maxTipWidth {-1};
    Filter* m_filter {nullptr};
};
