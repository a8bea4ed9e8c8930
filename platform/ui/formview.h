#pragma once

// A form view: a window made from a dialog template as a child of a frame or another window,
// showing the template's controls as a view of a document rather than as a dialog.
//
// It is a dialog created as a child (the template's controls, data exchange and command
// handlers work as in a dialog), but it never ends: OK and Cancel end nothing, and Enter and
// Escape are not the dialog's keys. Like every view, the object belongs to its window: when the
// window is destroyed, PostNcDestroy deletes the object (it must then have been made with new).
// A class whose objects are owned elsewhere overrides PostNcDestroy to do nothing.
//
// FIXME: a view smaller than its template is not scrolled; the controls outside it are cut.

#include "platform/ui/dialog.h"

class CFormView : public CDialog
{
public:
    explicit CFormView(UINT nIDTemplate);
    ~CFormView() override;

    using CDialog::Create;
    // Creates the view from its template as a child of the parent with the identifier and
    // window styles, on the rectangle (the template's size at the top-left corner when the
    // rectangle is empty). The class and window names and the context are accepted for the
    // platform's sake. TRUE on success.
    virtual BOOL Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle,
        const RECT& rect, CWnd* pParentWnd, UINT nID, void* pContext = nullptr);

    // The template's size in pixels.
    CSize GetTotalSize() const;

    BOOL DestroyWindow() override;
    void OnOK() override { }
    void OnCancel() override { }

protected:
    // Asks for the object to be deleted once its window is gone.
    void PostNcDestroy() override;

private:
    bool m_bDeleteWithWindow {false};
};
