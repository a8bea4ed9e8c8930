#pragma once

// Control bars and the toolbar.
//
// A control bar is a child window that takes a strip of its parent's client area: aligned to
// the top, it is as wide as the parent and as high as its own layout asks (CalcFixedLayout).
// RepositionBars places the bars of an identifier range inside a client rectangle, one below
// the other, and gives what is left to one remaining window; with reposQuery it places nothing
// and only reports what would be left.
//
// The toolbar shows one button per command identifier of its toolbar resource. A toolbar
// resource is a module's list of command identifiers (ID_SEPARATOR for a gap between groups)
// with the size of one button image, and a bitmap resource of the same identifier holding the
// images side by side, one per button in order (separators have none). A module declares its
// toolbars once, at namespace scope in one of its sources:
//
//     ZOR_TOOLBAR_TABLE({{IDR_LISTS, 16, 15, {ID_FILE_NEW, ID_SEPARATOR, ID_SORT_UP}}});
//
// A button's image is drawn transparent where the bitmap has the standard light grey
// (192, 192, 192), so the button face shows through, as the platform maps that grey to the face
// colour.
//
// A click on a button sends WM_COMMAND with the button's identifier and BN_CLICKED to the
// bar's owner (its parent unless another owner was set). With CBRS_TOOLTIPS, the mouse resting
// on a button asks the owner for the tip's text with WM_NOTIFY TTN_NEEDTEXTA, then
// TTN_NEEDTEXTW when the first gave nothing (the header's hwndFrom is the bar's tooltip
// control, idFrom the button's command identifier); the tip shows the text given. With
// CBRS_FLYBY, the mouse entering a button sends WM_SETMESSAGESTRING with its identifier to the
// owner, and leaving it WM_SETMESSAGESTRING with AFX_IDS_IDLEMESSAGE.
//
// Buttons are updated by the idle pass (platform/ui/cmdui.h): WM_IDLEUPDATECMDUI to the bar
// updates each button against the bar's command target, its owner.

#include "platform/ui/cmdui.h"
#include "platform/ui/tooltipctrl.h"
#include "platform/ui/window.h"

#include <QtGui/QImage>

#include <initializer_list>
#include <string>
#include <vector>

// Control bar styles.
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;

// The standard identifiers of control bars.
constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
constexpr UINT AFX_IDW_CONTROLBAR_FIRST = 0xE800;
constexpr UINT AFX_IDW_CONTROLBAR_LAST = 0xE8FF;

// A gap between button groups in a toolbar resource.
constexpr UINT ID_SEPARATOR = 0;

// RepositionBars modes.
constexpr UINT reposDefault = 0;
constexpr UINT reposQuery = 1;
constexpr UINT reposExtra = 2;

// Button styles and states, as GetButtonStyle reports them.
constexpr UINT TBBS_BUTTON = 0x0000;
constexpr UINT TBBS_SEPARATOR = 0x0001;
constexpr UINT TBBS_CHECKBOX = 0x0002;
constexpr UINT TBBS_CHECKED = 0x00010000;
constexpr UINT TBBS_PRESSED = 0x00020000;
constexpr UINT TBBS_DISABLED = 0x00040000;
constexpr UINT TBBS_INDETERMINATE = 0x00100000;

// Tooltip text requests.
constexpr UINT TTN_NEEDTEXTA = static_cast<UINT>(-520);
constexpr UINT TTN_NEEDTEXTW = static_cast<UINT>(-530);
// The tool is named by its window handle in idFrom, not by a command identifier.
constexpr UINT TTF_IDISHWND = 0x0001;

// What TTN_NEEDTEXTA and TTN_NEEDTEXTW carry: the answer goes into szText (or lpszText points
// at it).
struct TOOLTIPTEXTA
{
    NMHDR hdr;
    char* lpszText {nullptr};
    char szText[80] {};
    HINSTANCE hinst {nullptr};
    UINT uFlags {0};
    LPARAM lParam {0};
};

struct TOOLTIPTEXTW
{
    NMHDR hdr;
    char16_t* lpszText {nullptr};
    char16_t szText[80] {};
    HINSTANCE hinst {nullptr};
    UINT uFlags {0};
    LPARAM lParam {0};
};

// --- toolbar resources ---------------------------------------------------------------------

struct ZorToolBarEntry
{
    UINT id {0};
    // The size of one button image in the bitmap.
    int cx {16};
    int cy {15};
    std::vector<UINT> items;
};

// One module's toolbar table, registered for as long as the object lives.
class CToolBarTableRegistrar
{
public:
    CToolBarTableRegistrar(HMODULE module, std::initializer_list<ZorToolBarEntry> entries);
    ~CToolBarTableRegistrar();
    CToolBarTableRegistrar(const CToolBarTableRegistrar&) = delete;
    CToolBarTableRegistrar& operator=(const CToolBarTableRegistrar&) = delete;

    HMODULE module() const { return m_module; }
    const ZorToolBarEntry* find(UINT id) const;

private:
    HMODULE m_module {nullptr};
    std::vector<ZorToolBarEntry> m_entries;
};

#define ZOR_TOOLBAR_TABLE(...)                                                                     \
    namespace {                                                                                    \
    const CToolBarTableRegistrar zorModuleToolBarTable(ZOR_THIS_MODULE(), __VA_ARGS__);            \
    }                                                                                              \
    static_assert(true, "")

// The toolbar resource of the identifier: in the current resource module, then the program,
// then any loaded module; null when none has it. The module it was found in goes to *module.
const ZorToolBarEntry* zorFindToolBar(UINT id, HMODULE* module = nullptr);

// --- control bars -------------------------------------------------------------------------

class CControlBar : public CWnd
{
public:
    DWORD GetBarStyle() const { return m_dwBarStyle; }
    void SetBarStyle(DWORD dwStyle);

    // The size the bar needs: with bStretch, a horizontal bar as wide as its parent's client
    // area; its height is its own.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // Updates the bar's items against the target (see cmdui.h).
    virtual void OnUpdateCmdUI(CWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    // WM_IDLEUPDATECMDUI: when the bar is visible, updates its items against its owner.
    virtual LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Called when the bar style changes.
    virtual void barStyleChanged() { }

    DWORD m_dwBarStyle {0};
};

// Places the control bars with identifiers nIDFirst..nIDLast among the window's children
// (aligned to the top, in creation order) inside the client rectangle (the whole client area
// when null) and gives the rest to the child nIDLeftOver (none when 0). With reposQuery nothing
// moves and lpRectParam receives the rectangle that remains; with reposExtra lpRectParam holds
// extra borders taken from the client rectangle first.
void RepositionBars(CWnd* pWnd, UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver,
    UINT nFlag = reposDefault, LPRECT lpRectParam = nullptr, LPCRECT lpRectClient = nullptr,
    BOOL bStretch = TRUE);

// --- the toolbar --------------------------------------------------------------------------

class CToolBarWidget;

class CToolBar : public CControlBar
{
public:
    CToolBar();
    ~CToolBar() override;

    // Creates the bar as a child of the parent with the window and bar styles of dwStyle.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
        UINT nID = AFX_IDW_TOOLBAR);
    // Loads the buttons and images of a toolbar resource; FALSE when the resource or its
    // bitmap is missing.
    BOOL LoadToolBar(UINT nIDResource);
    // Sets the buttons (ID_SEPARATOR for a gap), without images.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    // The button size and the image size; buttons are 7 x 6 pixels larger than their image
    // unless set otherwise.
    void SetSizes(CSize sizeButton, CSize sizeImage);
    CSize buttonSize() const { return m_sizeButton; }
    CSize imageSize() const { return m_sizeImage; }

    int GetCount() const { return static_cast<int>(m_buttons.size()); }
    UINT GetItemID(int nIndex) const;
    int CommandToIndex(UINT nIDFind) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    // The button's rectangle in the bar's client coordinates.
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    CToolTipCtrl* GetToolTips() { return m_toolTip.GetSafeHwnd() ? &m_toolTip : nullptr; }

    // Presses the button as a click does (sends its command to the owner).
    void pressButton(int nIndex);
    // Asks for the button's tip text as resting the mouse on it does; the text the owner
    // gave (empty when none). Without CBRS_TOOLTIPS nothing is asked.
    std::string requestToolTipText(int nIndex);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CWnd* pTarget, BOOL bDisableIfNoHndler) override;
    BOOL DestroyWindow() override;

    // The space around the buttons.
    static constexpr int c_cxBorder = 4;
    static constexpr int c_cyBorder = 2;

private:
    friend class CToolBarWidget;
    friend class CToolCmdUI;

    struct Button
    {
        UINT id {ID_SEPARATOR};
        UINT style {TBBS_BUTTON};
        int image {-1};
    };

    CToolBarWidget* toolBarWidget() const;
    void rebuildButtons();
    void sendFlyBy(int nIndex, bool entering);
    void barStyleChanged() override;

    std::vector<Button> m_buttons;
    std::vector<QImage> m_images;
    CSize m_sizeButton {23, 22};
    CSize m_sizeImage {16, 15};
    CToolTipCtrl m_toolTip;
};
