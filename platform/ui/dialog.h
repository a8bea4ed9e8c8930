#pragma once

// Dialogs: windows built from a dialog template (platform/ui/dialogtemplate.h).
//
// Create makes the dialog modeless; DoModal runs it modally in a nested message loop until
// EndDialog, and returns the result given to EndDialog (-1 when the template is missing).
// Creating a dialog makes every control of its template as a child window with the row's id,
// then sends WM_INITDIALOG (OnInitDialog); the base OnInitDialog fills the controls with
// UpdateData(FALSE). Enter presses the default push button (IDOK when there is none) and
// Escape sends IDCANCEL; OnOK validates with UpdateData(TRUE) and ends the dialog with IDOK,
// OnCancel ends it with IDCANCEL.
//
// Data exchange: DoDataExchange links controls to members with the DDX_ calls; DDV_ calls check
// the value just exchanged. When a value does not convert or check, the exchange shows the
// standard message ("Please enter an integer between 500 and 5000.", "Please enter an
// integer.", ...) with an exclamation icon, puts the focus on the control, and UpdateData
// returns FALSE.

#include "platform/types/oledatetime.h"
#include "platform/ui/dialogtemplate.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/window.h"

#include <memory>
#include <string>
#include <vector>

class QEventLoop;

class CDialog : public CWnd
{
public:
    // A dialog of the template identifier (looked up when the dialog is created).
    explicit CDialog(UINT nIDTemplate = 0, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    // Creates the dialog modeless (shown when its template has WS_VISIBLE); TRUE on success.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL Create() { return Create(m_nIDTemplate, m_pParentWnd); }
    // Creates the dialog from a template given directly.
    BOOL CreateIndirect(const DialogTemplate& tmpl, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);
    // True while DoModal runs.
    bool isModal() const { return m_loop != nullptr; }
    int result() const { return m_nModalResult; }

    UINT templateId() const { return m_nIDTemplate; }
    // The template the dialog was made from; null before creation.
    const DialogTemplate* dialogTemplate() const { return m_template; }
    // Dialog units to pixels for this dialog's font.
    CRect MapDialogRect(const CRect& dialogUnits) const;

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(class CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();

    // Control values by id.
    BOOL SetDlgItemText(int nID, const char* lpszString);
    std::string GetDlgItemText(int nID) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const;
    // The id of the default push button (IDOK when the template marks none).
    int defaultButtonId() const { return m_defaultButtonId; }

    BOOL OnCmdMsg(UINT nID, int nCode) override;
    BOOL DestroyWindow() override;
    void OnClose() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Enter and Escape of a top-level dialog: the default button and IDCANCEL.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // Creates the window and controls from the template, sends WM_INITDIALOG.
    BOOL createFromTemplate(const DialogTemplate& tmpl, CWnd* pParentWnd, bool asChild);

    UINT m_nIDTemplate {0};
    CWnd* m_pParentWnd {nullptr};

private:
    const DialogTemplate* m_template {nullptr};
    DialogTemplate m_ownTemplate;
    // The window objects of the template's controls.
    std::vector<std::unique_ptr<CWnd>> m_controls;
    bool m_ended {false};
    QEventLoop* m_loop {nullptr};
    int m_nModalResult {-1};
    int m_defaultButtonId {IDOK};
    CSize m_baseUnits;
};

// A page of a property sheet: a dialog created as a child of the sheet from its template.
class CPropertyPage : public CDialog
{
public:
    explicit CPropertyPage(UINT nIDTemplate = 0, UINT nIDCaption = 0);

    // Creates the page as a child window of the parent (the sheet's page area).
    BOOL createPage(CWnd* pParentWnd);
    // The page's caption: the string resource nIDCaption when given, else the template's.
    std::string caption() const;

    void SetModified(BOOL bChanged = TRUE);
    bool isModified() const { return m_bModified; }
    virtual BOOL OnSetActive() { return TRUE; }
    virtual BOOL OnKillActive() { return UpdateData(TRUE); }
    // Apply: the base validates and clears the modified flag.
    virtual BOOL OnApply();
    virtual void OnReset() { }
    void OnOK() override;
    void OnCancel() override;

private:
    UINT m_nIDCaption {0};
    bool m_bModified {false};
};

// The exchange in progress: direction, the dialog and the control last exchanged.
class CDataExchange
{
public:
    CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate {FALSE};
    CDialog* m_pDlgWnd {nullptr};

    // Makes the control the one later DDV_ calls check; returns its window.
    CWnd* PrepareCtrl(int nIDC);
    CWnd* PrepareEditCtrl(int nIDC);
    // Puts the focus on the last prepared control (selecting an edit box's text) and ends
    // the exchange: UpdateData returns FALSE.
    [[noreturn]] void Fail();

    int lastControlId() const { return m_idLastControl; }
    bool lastWasEdit() const { return m_bEditLastControl; }

private:
    int m_idLastControl {0};
    bool m_bEditLastControl {false};
};

// Thrown by CDataExchange::Fail, caught by UpdateData.
struct CUserException
{
};

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, std::string& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_DateTimeCtrl(CDataExchange* pDX, int nIDC, COleDateTime& value);
// Binds a control member to the dialog's control of the id (on the first exchange).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal);
void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars);
