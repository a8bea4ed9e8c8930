#pragma once

// A dialog the user can resize.
//
// Each registered control (addAnchor) keeps the offsets of its two corners from the points of
// the client area that its anchors name (framework/dialogs/anchors.h), so controls move and
// grow with the dialog. A size grip is drawn in the lower right corner and answers as the
// bottom-right sizing border; minimum and maximum tracking sizes and a maximised rectangle can
// be imposed; and the dialog's normal rectangle can be stored in the application's settings
// store when the dialog closes and restored when it opens again.
//
// Tracking sizes are client sizes: a top-level window's rectangle is its client area here.
//
// The settings store is the application object's (a CWinApp that is also a CProfile, as the
// application frame CzorApp is). Without such an application object nothing is stored or
// restored.

#include "framework/dialogs/anchors.h"
#include "framework/dialogs/tooltipdialog.h"

#include <string>
#include <vector>

class CResizableDialog : public CToolTipDialog
{
    // Made with template 0 and no parent.
    ZOR_DECLARE_DYNCREATE(CResizableDialog, RUNTIME_CLASS(CToolTipDialog))

public:
    // One anchored control.
    struct LayoutItem
    {
        HWND hWnd {nullptr};
        // Set for list boxes: whether a move may have scrolled its text out of place.
        BOOL bAdjustHScroll {FALSE};
        // Invalidated and updated after each arrangement.
        BOOL bRepaint {FALSE};
        CSize tlAnchor;
        CSize tlMargin;
        CSize brAnchor;
        CSize brMargin;
    };

    explicit CResizableDialog(UINT nIDTemplate = 0, CWnd* pParentWnd = nullptr);
    ~CResizableDialog() override;

    // Runs the base, places the grip, takes the window's size as the minimum tracking size
    // and marks the layout ready. Returns 1.
    BOOL OnInitDialog() override;

    const std::vector<LayoutItem>& layout() const { return m_layout; }
    const CRect& gripRect() const { return m_rcGrip; }
    const CSize& minTrackSize() const { return m_szMinTrackSize; }
    BOOL isLayoutReady() const { return m_bInitDone; }

protected:
    // Registers a control at its current (designed) position; called after OnInitDialog.
    void addAnchor(UINT nID, CSize tlAnchor, CSize brAnchor = anchorNone);
    void addAnchor(HWND hWnd, CSize tlAnchor, CSize brAnchor = anchorNone);
    // Moves every registered control for the current client size, all at once.
    void arrangeLayout();

    void showSizeGrip(BOOL bShow);
    void setMinTrackSize(const CSize& size);
    void resetMinTrackSize();
    void setMaxTrackSize(const CSize& size);
    void resetMaxTrackSize();
    void setMaximizedRect(const CRect& rc);
    void resetMaximizedRect();
    // Names where the normal rectangle is stored, turns saving on and restores the stored
    // rectangle at once.
    void enableSaveRestore(const char* pszSection, const char* pszEntry);

    LRESULT OnNcHitTest(CPoint point) override;
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnDestroy() override;
    void OnPaint() override;

private:
    // Sets the flags and grip metrics to their initial values.
    void construct();
    void placeGrip();
    void loadWindowRect();
    void saveWindowRect();

    BOOL m_bShowGrip {TRUE};
    BOOL m_bUseMaxTrack {FALSE};
    BOOL m_bUseMinTrack {TRUE};
    BOOL m_bUseMaxRect {FALSE};
    BOOL m_bEnableSaveRestore {FALSE};
    std::string m_sSection;
    std::string m_sEntry;
    BOOL m_bInitDone {FALSE};
    int m_nGripWidth {0};
    int m_nGripHeight {0};
    CRect m_rcGrip;
    CSize m_szMinTrackSize;
    CSize m_szMaxTrackSize;
    CPoint m_ptMaxPos;
    CSize m_szMaxSize;
    std::vector<LayoutItem> m_layout;
};
