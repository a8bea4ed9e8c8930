#pragma once

// The file-name picker: a path in a framed text field with a square "..." button at its right
// end. A left click on the button runs the open-file dialog set up from the control's
// properties (LookupFile) with the button shown pressed, and a confirmed choice becomes File.
// After the dialog the control posts a button-click command to its parent; the container
// reflects it back and the control fires Click then, after the dialog has closed. A click
// elsewhere and double clicks do nothing.
//
// Choices of this implementation:
// - The stock BackColor and ForeColor are exposed and persisted but not painted with; they
//   default to the suite's usual button face (0x0F000000) and window text (0x08000000). The
//   stock Font draws the path and the button's label.
// - The dialog is the platform's (platform/ui/filedialog.h): a DefaultPath such as ".\" is the
//   current directory, "\" and "/" both separate folders (as CPath splits them) and a drive
//   letter is dropped, since this platform has no drives.
// - DefaultFile longer than the dialog's 519-character file-name box is cut to the box; a path
//   chosen that is longer than the box leaves File unchanged, as a failed dialog does.
// - A button press while the dialog from an earlier press still runs is ignored, and the
//   control holds a reference to itself for the time of the dialog, so a container that lets
//   go of it meanwhile does not pull it away under the click.

#include "platform/ole/control.h"
#include "platform/ole/factory.h"

#include <string>

class CPathPickCtrl : public COleControl
{
public:
    CPathPickCtrl();
    ~CPathPickCtrl() override;

    void OnDraw(CDC* pdc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    std::vector<CLSID> GetPropPageIDs() const override;
    BOOL CreateControlWindow(CWnd* pParent, const CRect& rect, UINT nID) override;

    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    void OnOcmCommand(WPARAM wParam, LPARAM lParam) override;

    // Dispatch method: runs the dialog; the path chosen, or an empty text.
    std::string LookupFile();

    // The dialog's file-name box and initial folder hold 519 characters.
    static constexpr DWORD c_nFileNameLimit = 519;

private:
    void drawTextField(CDC* pdc, CRect text);
    void drawButton(CDC* pdc, const CRect& button);
    // The folder the dialog opens in: drive and directory of File, or of DefaultPath while
    // File is empty.
    std::string initialFolder() const;

    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    std::string m_file;
    std::string m_defaultPath;
    std::string m_defaultFile;
    std::string m_defaultFilePrompt;
    std::string m_dialogTitle;
    DWORD m_backColor {0};
    DWORD m_foreColor {0};
    // The button is shown pressed while the dialog of a click runs.
    bool m_pressed {false};
    // Where the text and the button were last painted; the button is the target of clicks.
    CRect m_rcText;
    CRect m_rcButton;
};
