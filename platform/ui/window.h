#pragma once

// Windows: the suite's window object over a QWidget.
//
// A CWnd owns (or, for widgets it did not make, attaches to) one QWidget and gives it what the
// suite's code expects of a window: a handle (HWND), a control identifier, a text, style bits,
// show/enable, invalidate/update, timers, capture, a cursor, a system menu, and messages. Qt's
// events of the widget are turned into the platform's messages and go through WindowProc, so a
// derived window overrides the same virtual handlers the suite's code is written against
// (OnPaint, OnSize, OnTimer, OnNcHitTest, OnGetMinMaxInfo, OnSysCommand, ...).
//
// Geometry: a top-level window's rectangle is its client area in screen coordinates. The
// frame and caption belong to the desktop's window manager, so the suite never sizes them;
// GetWindowRect and GetClientRect of a top-level window have the same size. A child window's
// rectangle is its widget's geometry in its parent's client coordinates.
//
// Painting: OnPaint draws with a CPaintDC, a CDC over the window's paint image (the GDI pixel
// rules of platform/gdi), which is then put on the screen, so a window and a control draw with
// the same rules. OnEraseBkgnd first fills the invalid area with the window's background.
//
// Commands: a child control reports to its parent with WM_COMMAND (notification code in the
// high word, control id in the low word, the child's handle as lParam) or WM_NOTIFY (an NMHDR).
// The parent first offers the message back to the child (reflection: the child's
// OnChildNotify), then to the handlers registered with onCommand/onNotify, then to OnCmdMsg.
//
// The system menu opens on Alt+Space and on a right click on the window's background (a point
// not covered by a child control). Its items are the standard ones (Restore, Move, Size,
// Minimize, Maximize, Close, enabled according to the window's state and styles) and whatever
// the window appended; choosing one sends WM_SYSCOMMAND with the item's identifier.
//
// Everything here runs on the thread that owns the QApplication.

#include "platform/gdi/dc.h"
#include "platform/types/rect.h"
#include "platform/types/wintypes.h"
#include "platform/ui/menu.h"
#include "platform/ui/message.h"
#include "platform/ui/metrics.h"
#include "platform/ui/showcommands.h"
#include "platform/ui/windowplacement.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QEvent;
class QImage;
class QObject;
class QWidget;
class CDC;
class CWnd;
class CMenu;

// An icon and a cursor: opaque handles of the resource service (platform/ui/resources.h).
struct ZorIcon;
using HICON = ZorIcon*;
struct ZorCursor;
using HCURSOR = ZorCursor*;

// --- messages ----------------------------------------------------------------------------
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUERYENDSESSION = 0x0011;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_GETMINMAXINFO = 0x0024;
constexpr UINT WM_QUERYDRAGICON = 0x0037;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_NCHITTEST = 0x0084;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_VSCROLL = 0x0115;
constexpr UINT WM_MOUSEFIRST = 0x0200;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSELAST = 0x0209;
constexpr UINT WM_CONTEXTMENU = 0x007B;

// Mouse key flags (wParam of mouse messages).
constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_RBUTTON = 0x0002;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;
constexpr UINT MK_MBUTTON = 0x0010;

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;

// Extended styles.
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_STATICEDGE = 0x00020000;

// WM_SIZE kinds.
constexpr UINT SIZE_RESTORED = 0;
constexpr UINT SIZE_MINIMIZED = 1;
constexpr UINT SIZE_MAXIMIZED = 2;
constexpr UINT SIZE_MAXSHOW = 3;
constexpr UINT SIZE_MAXHIDE = 4;

// Hit-test answers.
constexpr LRESULT HTERROR = -2;
constexpr LRESULT HTTRANSPARENT = -1;
constexpr LRESULT HTNOWHERE = 0;
constexpr LRESULT HTCLIENT = 1;
constexpr LRESULT HTCAPTION = 2;
constexpr LRESULT HTRIGHT = 11;
constexpr LRESULT HTBOTTOM = 15;
constexpr LRESULT HTBOTTOMRIGHT = 17;

// System commands.
constexpr UINT SC_SIZE = 0xF000;
constexpr UINT SC_MOVE = 0xF010;
constexpr UINT SC_MINIMIZE = 0xF020;
constexpr UINT SC_MAXIMIZE = 0xF030;
constexpr UINT SC_CLOSE = 0xF060;
constexpr UINT SC_RESTORE = 0xF120;

// SetWindowPos flags and special insert-after handles.
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
inline HWND const HWND_TOP = nullptr;

// GetWindow relations.
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;

// The notification header of WM_NOTIFY.
struct NMHDR
{
    HWND hwndFrom {nullptr};
    UINT_PTR idFrom {0};
    UINT code {0};
};

// What WM_GETMINMAXINFO asks and a window may change.
struct MINMAXINFO
{
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

// The window object.
class CWnd
{
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The window of a handle; for a handle of a widget the suite did not create, an attached
    // window object lives as long as the widget. Null for a null or dead handle.
    static CWnd* FromHandle(HWND hWnd);
    // The window object of a widget (attaching one when it has none); null for null.
    static CWnd* fromWidget(QWidget* widget);

    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND m_hWnd {nullptr};
    QWidget* widget() const;

    // Creates the window as a child (WS_CHILD) or top-level window around a widget made by the
    // caller (taken over: the window destroys it) or, with null, a plain drawing widget.
    BOOL CreateEx(DWORD dwExStyle, const char* lpszClassName, const char* lpszWindowName,
        DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, QWidget* widget = nullptr);
    // Attaches to a widget made elsewhere; the widget is not destroyed by this object.
    BOOL Attach(QWidget* widget);
    QWidget* Detach();
    // Makes this object the window object of an existing window (the dialog's own object for
    // that control is retired), so that this class handles its messages and reflections.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    virtual BOOL DestroyWindow();

    // --- identity and text --------------------------------------------------------------
    int GetDlgCtrlID() const { return m_nID; }
    int SetDlgCtrlID(int nID);
    // The class name: "#32770" for dialogs, "Edit", "Static", "Button", "ListBox", "ComboBox",
    // "msctls_updown32", "SysDateTimePick32", "tooltips_class32", or the name given to CreateEx.
    std::string GetClassName() const { return m_className; }
    // Texts go through WM_SETTEXT (lParam: the const char* text) and WM_GETTEXT (lParam: a
    // std::string* to fill), so a control that keeps its text in its widget handles both in
    // its DefWindowProc; plain windows keep it in the object, top-level ones in the title.
    void SetWindowText(const char* lpszString);
    void SetWindowText(const std::string& text) { SetWindowText(text.c_str()); }
    std::string GetWindowText() const;
    int GetWindowTextLength() const { return static_cast<int>(GetWindowText().size()); }
    // The style bits, with visible, disabled, minimised and maximised as the window is now.
    DWORD GetStyle() const;
    DWORD GetExStyle() const { return m_exStyle; }
    // Changes style bits; the bits with a meaning here (visible, disabled, tab stop) take
    // effect at once.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    // --- relations ----------------------------------------------------------------------
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    void SetOwner(CWnd* pOwnerWnd);
    // The top-level window this window is in (itself when top-level).
    CWnd* GetTopLevelParent() const;
    CWnd* GetDlgItem(int nID) const;
    // Children in creation order; GW_CHILD of a window gives its first child, GW_HWNDNEXT of a
    // child its next sibling, GW_OWNER the owner.
    CWnd* GetWindow(UINT nCmd) const;
    std::vector<CWnd*> children() const;
    BOOL IsChild(const CWnd* pWnd) const;

    // --- state --------------------------------------------------------------------------
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    BOOL SetForegroundWindow();
    void BringWindowToTop();

    // --- geometry -----------------------------------------------------------------------
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl);
    // Asks the window for its tracking sizes again (WM_GETMINMAXINFO) and applies them; the
    // layer does so when the window is shown and before each resize.
    void updateTrackSizes();

    // --- painting -----------------------------------------------------------------------
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, UINT flags = 0);
    // How many times the window has painted; tests read repaint decisions from it.
    int paintCount() const { return m_paintCount; }
    // Draws the window (and its children) as it looks now into an image of its client size.
    QImage grabClient();

    // --- timers, capture, cursor --------------------------------------------------------
    UINT_PTR SetTimer(
        UINT_PTR nIDEvent, UINT nElapse, void (*lpfnTimer)(HWND, UINT, UINT_PTR, DWORD) = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);
    CWnd* SetCapture();
    static CWnd* GetCapture();
    // The cursor shown while the mouse is over this window (null: the standard arrow).
    void setWindowCursor(HCURSOR cursor);

    // --- messages -----------------------------------------------------------------------
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Queued: delivered by the message pump after the current message.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Sends WM_COMMAND with the code and this control's id and handle to the parent.
    void notifyParent(UINT code);
    // Sends WM_NOTIFY with the header (its hwndFrom and idFrom filled from this control).
    LRESULT notifyParent(NMHDR* header);

    // The system menu; appended items are shown after the standard ones. With bRevert the
    // appended items are removed and null is returned.
    CMenu* GetSystemMenu(BOOL bRevert);
    // Opens the system menu at the screen point (the window's top-left corner for Alt+Space).
    void openSystemMenu(const POINT& screenPoint);

    // --- the message handlers -----------------------------------------------------------
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default handling of a message (what the platform's window procedure would do).
    LRESULT Default();
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A notification this control sent to its parent, offered back to it first; true when
    // the control handled it (the parent's handlers then do not see it).
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Commands by id and code after the registered handlers; true when handled.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);
    virtual void PostNcDestroy() { }

    virtual int OnCreate() { return 0; }
    virtual void OnDestroy() { }
    virtual void OnClose();
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(CDC* pDC);
    virtual void OnSize(UINT nType, int cx, int cy);
    virtual void OnMove(int, int) { }
    virtual void OnTimer(UINT_PTR nIDEvent);
    virtual LRESULT OnNcHitTest(CPoint point);
    virtual void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    virtual void OnSysCommand(UINT nID, LPARAM lParam);
    virtual void OnSetFocus(CWnd*) { }
    virtual void OnKillFocus(CWnd*) { }
    virtual void OnMouseMove(UINT nFlags, CPoint point);
    virtual void OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnLButtonUp(UINT nFlags, CPoint point);
    virtual void OnLButtonDblClk(UINT nFlags, CPoint point);
    virtual void OnRButtonDown(UINT nFlags, CPoint point);
    virtual void OnRButtonUp(UINT nFlags, CPoint point);
    virtual BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    virtual HCURSOR OnQueryDragIcon() { return nullptr; }
    virtual BOOL OnQueryEndSession() { return TRUE; }
    virtual void OnShowWindow(BOOL, UINT) { }

    // Registers a handler for a command (WM_COMMAND with the control id and notification code,
    // e.g. BN_CLICKED, EN_CHANGE, EN_KILLFOCUS, CBN_SELCHANGE) or a range of ids.
    void onCommand(UINT nID, UINT nCode, std::function<void()> handler);
    void onCommandRange(UINT nFirst, UINT nLast, UINT nCode, std::function<void(UINT)> handler);
    // Registers a handler for a WM_NOTIFY of a control (e.g. UDN_DELTAPOS,
    // DTN_DATETIMECHANGE); it may set *pResult.
    void onNotify(UINT nID, UINT nCode, std::function<void(NMHDR*, LRESULT*)> handler);
    // Whether a handler is registered for the command (the command-interface update asks it
    // without running the handler).
    bool hasCommandHandler(UINT nID, UINT nCode) const;

protected:
    // Class name and style given by the maker (control kinds and dialogs set them).
    void setClassName(const std::string& name) { m_className = name; }
    void setStyleBits(DWORD style, DWORD exStyle);

private:
    friend class ZorWindowWidget;
    friend struct ZorWindowPrivate;
    friend class CPaintDC;
    friend bool zorTranslateWindowEvent(CWnd* wnd, QObject* watched, QEvent* event);

    bool dispatchCommand(UINT nID, UINT nCode);
    bool dispatchNotify(NMHDR* header, LRESULT* pResult);

    int m_nID {0};
    // The text of windows that keep no text in their widget (see SetWindowText).
    std::string m_text;
    std::string m_className;
    DWORD m_style {0};
    DWORD m_exStyle {0};
    int m_paintCount {0};
    bool m_ownsWidget {false};
    std::unique_ptr<struct ZorWindowPrivate> d;

    struct CommandHandler
    {
        UINT first {0};
        UINT last {0};
        UINT code {0};
        std::function<void(UINT)> handler;
    };
    std::vector<CommandHandler> m_commandHandlers;
    std::map<std::pair<UINT, UINT>, std::function<void(NMHDR*, LRESULT*)>> m_notifyHandlers;
    std::unique_ptr<CMenu> m_systemMenu;

protected:
    // The message being handled, for Default().
    const MSG* m_pCurrentMsg {nullptr};
};

// The context OnPaint draws with: a CDC over the window's paint image, which is put on the
// screen when the paint ends. rcPaint is the area being painted (client coordinates). Made
// outside a paint (a handler called directly), it draws into a scratch image of the client
// size that is then thrown away.
class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    CRect rcPaint;

private:
    QImage* m_scratch {nullptr};
};

// The platform's free window calls.
BOOL IsWindow(HWND hWnd);
BOOL ReleaseCapture();
HWND GetFocus();
BOOL IsIconic(HWND hWnd);
BOOL ShowWindow(HWND hWnd, int nCmdShow);
BOOL SetForegroundWindow(HWND hWnd);
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL DestroyWindow(HWND hWnd);
// The mouse cursor's position in screen coordinates.
BOOL GetCursorPos(LPPOINT lpPoint);

// Deferred positioning: moves collected and carried out together by EndDeferWindowPos.
struct ZorDeferredMoves;
using HDWP = ZorDeferredMoves*;
HDWP BeginDeferWindowPos(int nNumWindows);
HDWP DeferWindowPos(
    HDWP hWinPosInfo, HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags);
BOOL EndDeferWindowPos(HDWP hWinPosInfo);

// A thread timer without a window: the procedure runs on the GUI thread after the time, and
// again each period until killed. Returns the timer's identifier (never 0).
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc);
BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent);
