// Dialog data exchange and validation: the DDX_ and DDV_ calls of dialog.h.
//
// Texts are read and parsed as the platform's exchange reads them: an integer may have blanks
// around it and a sign, and is decimal digits only; a number is a decimal with an optional
// exponent. A value that does not read, or does not fit its type, fails with the platform's
// standard message. Numbers are read and written in the C conventions (a decimal point),
// whatever the process's locale, as the suite's dialogs were written for.

#include "platform/ui/dialog.h"

#include "platform/gdi/fonts.h"
#include "platform/ui/controls.h"
#include "platform/ui/controls_p.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/winapp.h"

#include <QtCore/QtGlobal>

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

namespace {

// The platform's double precision for DDX_Text (DBL_DIG).
constexpr int c_doubleDigits = 15;

// Shows the standard message over the dialog and ends the exchange.
[[noreturn]] void failWith(CDataExchange* pDX, const std::string& text)
{
    const CWinApp* app = AfxGetApp();
    const std::string caption = app ? app->m_pszAppName : std::string();
    MessageBoxA(pDX->m_pDlgWnd ? pDX->m_pDlgWnd->GetSafeHwnd() : nullptr, text.c_str(),
        caption.c_str(), MB_ICONEXCLAMATION | MB_OK);
    pDX->Fail();
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A text trimmed of the blanks the platform's exchange allows around a value.
std::string trimmed(const std::string& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// An integer in [low, high]: an optional sign (no minus when negative values are no option),
// then decimal digits only. Overflow is a failure.
bool parseInteger(const std::string& text, long long low, long long high, long long& value)
{
    const std::string t = trimmed(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    if (i == t.size())
        return false;
    unsigned long long magnitude = 0;
    const unsigned long long limit = static_cast<unsigned long long>(
        negative ? -static_cast<unsigned long long>(low) : static_cast<unsigned long long>(high));
    if (negative && low >= 0)
        return false;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return false;
        magnitude = magnitude * 10 + static_cast<unsigned long long>(t[i] - '0');
        if (magnitude > limit)
            return false;
    }
    value = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    return true;
}

// A decimal number with an optional sign, fraction and exponent; nothing else (no "inf",
// no hexadecimal), and it must fit a double.
bool parseNumber(const std::string& text, double& value)
{
    const std::string t = trimmed(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    if (i == t.size() || !((t[i] >= '0' && t[i] <= '9') || t[i] == '.'))
        return false;
    double parsed = 0.0;
    const char* first = t.data() + i;
    const char* last = t.data() + t.size();
    const auto [end, error] = std::from_chars(first, last, parsed, std::chars_format::general);
    if (error != std::errc() || end != last)
        return false;
    value = negative ? -parsed : parsed;
    return true;
}

// The value's text as %.*g would write it with the given precision in the C locale.
std::string numberText(double value, int precision)
{
    char buffer[64];
    const auto result = std::to_chars(
        buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
    return std::string(buffer, result.ptr);
}

// The shortest text that reads back as the value, in the %g style.
std::string shortestNumberText(double value)
{
    char buffer[64];
    const auto result
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general);
    return std::string(buffer, result.ptr);
}

void setTextIfChanged(CWnd* wnd, const std::string& text)
{
    // Only a different text is written, as the platform's exchange does (the control would
    // report a change, and flicker).
    if (wnd->GetWindowText() != text)
        wnd->SetWindowText(text);
}

// DDX_Text of an integer type held in [low, high].
template<class T>
void exchangeInteger(CDataExchange* pDX, int nIDC, T& value, long long low, long long high)
{
    CWnd* wnd = pDX->PrepareEditCtrl(nIDC);
    if (!wnd)
        return;
    if (!pDX->m_bSaveAndValidate) {
        setTextIfChanged(wnd, std::to_string(value));
        return;
    }
    long long parsed = 0;
    if (!parseInteger(wnd->GetWindowText(), low, high, parsed))
        failWith(pDX, "Please enter an integer.");
    value = static_cast<T>(parsed);
}

template<class T> void failOutsideRange(CDataExchange* pDX, T value, T minVal, T maxVal)
{
    // Values are checked on the way out only; what the program puts in is its own business.
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    failWith(pDX,
        "Please enter an integer between " + std::to_string(minVal) + " and "
            + std::to_string(maxVal) + ".");
}

} // namespace

// --- CDataExchange -----------------------------------------------------------------------

CDataExchange::CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{ }

CWnd* CDataExchange::PrepareCtrl(int nIDC)
{
    CWnd* wnd = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(nIDC) : nullptr;
    Q_ASSERT_X(wnd, "CDataExchange::PrepareCtrl", "the dialog has no control of this id");
    m_idLastControl = nIDC;
    m_bEditLastControl = false;
    return wnd;
}

CWnd* CDataExchange::PrepareEditCtrl(int nIDC)
{
    CWnd* wnd = PrepareCtrl(nIDC);
    m_bEditLastControl = true;
    return wnd;
}

void CDataExchange::Fail()
{
    // The offending control gets the focus back, an edit box with its whole text selected.
    if (m_bSaveAndValidate && m_idLastControl != 0 && m_pDlgWnd)
        zorFocusControl(m_pDlgWnd->GetDlgItem(m_idLastControl), m_bEditLastControl);
    throw CUserException();
}

// --- DDX ---------------------------------------------------------------------------------

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value)
{
    CWnd* wnd = pDX->PrepareEditCtrl(nIDC);
    if (!wnd)
        return;
    if (pDX->m_bSaveAndValidate)
        value = wnd->GetWindowText();
    else
        setTextIfChanged(wnd, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    exchangeInteger(
        pDX, nIDC, value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    exchangeInteger(pDX, nIDC, value, 0, std::numeric_limits<UINT>::max());
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    // The platform's long is 32 bits wide; a text beyond that does not read.
    exchangeInteger(pDX, nIDC, value, std::numeric_limits<std::int32_t>::min(),
        std::numeric_limits<std::int32_t>::max());
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    CWnd* wnd = pDX->PrepareEditCtrl(nIDC);
    if (!wnd)
        return;
    if (!pDX->m_bSaveAndValidate) {
        setTextIfChanged(wnd, numberText(value, c_doubleDigits));
        return;
    }
    double parsed = 0.0;
    if (!parseNumber(wnd->GetWindowText(), parsed))
        failWith(pDX, "Please enter a number.");
    value = parsed;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    CWnd* wnd = pDX->PrepareCtrl(nIDC);
    if (!wnd)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = zorButtonCheck(wnd);
    } else {
        if (value < 0 || value > static_cast<int>(BST_INDETERMINATE))
            value = BST_UNCHECKED;
        zorSetButtonCheck(wnd, value);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    // nIDC is the first radio button of its group; the group runs to the next WS_GROUP.
    CWnd* wnd = pDX->PrepareCtrl(nIDC);
    if (!wnd)
        return;
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    do {
        if (zorIsRadioButton(wnd)) {
            if (pDX->m_bSaveAndValidate) {
                if (zorButtonCheck(wnd) != BST_UNCHECKED && value == -1)
                    value = index;
            } else {
                zorSetButtonCheck(wnd, index == value ? BST_CHECKED : BST_UNCHECKED);
            }
            ++index;
        }
        wnd = wnd->GetWindow(GW_HWNDNEXT);
    } while (wnd && !(wnd->GetStyle() & WS_GROUP));
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    auto* combo = zorControlOf<CComboWidget>(pDX->PrepareCtrl(nIDC));
    if (!combo)
        return;
    if (pDX->m_bSaveAndValidate)
        index = combo->curSel();
    else
        combo->setCurSel(index);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, std::string& value)
{
    CWnd* wnd = pDX->PrepareCtrl(nIDC);
    if (!wnd)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = wnd->GetWindowText();
        return;
    }
    // The first item that begins with the text is selected; when none does, a drop-down
    // combo box shows the text in its edit box.
    auto* combo = zorControlOf<CComboWidget>(wnd);
    if (combo && combo->selectString(-1, zorFromCodePage(value)) != CB_ERR)
        return;
    setTextIfChanged(wnd, value);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    auto* list = zorControlOf<CListBoxWidget>(pDX->PrepareCtrl(nIDC));
    if (!list)
        return;
    if (pDX->m_bSaveAndValidate)
        index = list->curSel();
    else
        list->setCurSel(index);
}

void DDX_DateTimeCtrl(CDataExchange* pDX, int nIDC, COleDateTime& value)
{
    CWnd* wnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        zorPickerTime(wnd, value);
    else
        zorSetPickerTime(wnd, value);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    CWnd* wnd = pDX->PrepareCtrl(nIDC);
    if (!wnd)
        return;
    const BOOL subclassed = rControl.SubclassWindow(wnd->m_hWnd);
    Q_ASSERT_X(subclassed, "DDX_Control", "the control could not be subclassed");
    Q_UNUSED(subclassed);
}

// --- DDV ---------------------------------------------------------------------------------

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    failOutsideRange(pDX, value, minVal, maxVal);
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    failOutsideRange(pDX, value, minVal, maxVal);
}

void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    failOutsideRange(pDX, value, minVal, maxVal);
}

void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    failWith(pDX,
        "Please enter a number between " + shortestNumberText(minVal) + " and "
            + shortestNumberText(maxVal) + ".");
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars)
{
    if (pDX->m_bSaveAndValidate && static_cast<int>(value.size()) > nChars)
        failWith(pDX, "Please enter no more than " + std::to_string(nChars) + " characters.");
    // An edit box just exchanged is limited to the length, so the user cannot type more.
    if (pDX->lastWasEdit() && pDX->m_pDlgWnd) {
        if (auto* edit
            = zorControlOf<CEditWidget>(pDX->m_pDlgWnd->GetDlgItem(pDX->lastControlId())))
            edit->setLimit(nChars);
    }
}
