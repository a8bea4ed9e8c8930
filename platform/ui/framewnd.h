#pragma once

// CFrameWnd: a top-level frame window of a program, with caption, system menu, sizing border
// and the minimise and maximise boxes.
//
// The frame turns the desktop's own minimise (the window manager's button or key) into the
// system command a program sees when the user minimises a window: WM_SYSCOMMAND with
// SC_MINIMIZE is posted to the frame, so a derived frame that handles the command (hiding
// itself instead, say) behaves the same however the user minimised it. The standard handling
// of the system commands (minimise, maximise, restore, close) is CWnd's.
//
// A frame is made on the heap, by new or from its class information (CreateObject), and
// deletes itself after its window is destroyed (m_bAutoDelete); a frame that is the
// application's main window stops being it then, which ends the message pump.

#include "platform/types/rect.h"
#include "platform/ui/runtimeclass.h"
#include "platform/ui/window.h"

constexpr DWORD WS_OVERLAPPEDWINDOW
    = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

class CFrameWnd : public CWnd, public CObject
{
    ZOR_DECLARE_DYNCREATE(CFrameWnd, RUNTIME_CLASS(CObject))

public:
    CFrameWnd();
    ~CFrameWnd() override;

    // An empty rectangle: the frame takes its default size (c_defaultSize) at the default
    // position.
    static const CRect rectDefault;
    static constexpr int c_defaultWidth = 480;
    static constexpr int c_defaultHeight = 320;

    // Creates the frame's window: top-level (owned by pParentWnd when given), not yet visible
    // unless dwStyle has WS_VISIBLE. The class name names the window's class ("CFrameWnd"'s
    // run-time name when null). lpszMenuName: frames here have no menu bar; it is ignored.
    virtual BOOL Create(const char* lpszClassName, const char* lpszWindowName,
        DWORD dwStyle = WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
        CWnd* pParentWnd = nullptr, const char* lpszMenuName = nullptr, DWORD dwExStyle = 0);

    // Deletes the object after its window is destroyed; a frame made on the stack sets it to
    // FALSE before its window is destroyed.
    BOOL m_bAutoDelete {TRUE};

protected:
    void OnSysCommand(UINT nID, LPARAM lParam) override;
    void OnClose() override;
    void OnDestroy() override;
    void PostNcDestroy() override;

private:
    class MinimizeWatch;
    MinimizeWatch* m_minimizeWatch {nullptr};
};
