#pragma once

// CWaitServer: the object behind "zorWaitServer.29". A program shows it while it starts up:
//
//   1 show(icon, style, owner, mode)  opens the non-modal wait window owned by the owner window
//                                     (an integer window handle; 0 or a handle that names no
//                                     live window: no owner) with the program's icon resource
//                                     of that id (0: the standard icon). Style and mode are
//                                     accepted as callers pass them (1, 1) and change nothing.
//                                     Calling it again while shown only changes icon and owner
//                                     of a new window: the old one is taken down first.
//   2 text(text)                      the line of text in the window.
//   3 close()                         takes the window down (nothing when none is shown).
//   4 progress(value)                 the bar's position, clamped to 0..100.
//
// Read-only properties that tell a caller (and the suite's tests) the state the calls left:
//   5 ProgressValue (long), 6 CurrentText (BSTR), 7 IsShown (bool: a window exists; with
//   ZORVEX_SERVER_NOSHOW=1 it exists hidden).
//
// Text and progress given before show are kept and appear when the window opens.

#include "platform/ole/dispatchimpl.h"
#include "servers/zorwait29/waitdialog.h"

#include <memory>
#include <string>

// The dispatch identifiers of the wait server.
constexpr DISPID c_dispidWaitShow = 1;
constexpr DISPID c_dispidWaitText = 2;
constexpr DISPID c_dispidWaitClose = 3;
constexpr DISPID c_dispidWaitProgress = 4;
constexpr DISPID c_dispidWaitProgressValue = 5;
constexpr DISPID c_dispidWaitCurrentText = 6;
constexpr DISPID c_dispidWaitIsShown = 7;

class CWaitServer : public CDispatchImpl
{
public:
    CWaitServer();
    ~CWaitServer() override;

    // Every call runs with this module current, so the window finds its template.
    HRESULT Invoke(
        DISPID dispid, WORD wFlags, const DISPPARAMS& params, COleVariant* pVarResult) override;

    void show(const COleVariant& icon, const COleVariant& owner);
    void text(const std::string& text);
    void close();
    void progress(long value);

    int progressValue() const { return m_nProgress; }
    const std::string& currentText() const { return m_text; }
    bool isShown() const { return m_dialog != nullptr; }

    // The class's type information.
    static const ZorTypeInfo& typeInfo();

private:
    std::unique_ptr<CWaitDialog> m_dialog;
    std::string m_text;
    int m_nProgress {0};
};
