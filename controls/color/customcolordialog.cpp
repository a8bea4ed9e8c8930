#include "controls/color/customcolordialog.h"

#include "controls/color/colordialoganswer.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/ui/controls.h"

#include <QtGui/QColor>

#include <cstdlib>
#include <string>

namespace {
constexpr UINT IDD_CUSTOMCOLOR = 409;
constexpr int IDC_USEWINDOWS = 3036;
constexpr int IDC_DEFINE = 719;
constexpr int IDC_ADDCUSTOM = 712;
constexpr int IDC_HUE = 703;
constexpr int IDC_SAT = 704;
constexpr int IDC_LUM = 705;
constexpr int IDC_RED = 706;
constexpr int IDC_GREEN = 707;
constexpr int IDC_BLUE = 708;
constexpr int IDC_CUSTOMHELP = 1038;

// The basic colours, row by row, as the standard chooser shows them.
constexpr COLORREF c_basic[48] = {0x8080FF, 0x80FFFF, 0x80FF80, 0x80FF00, 0xFFFF80, 0xFF8000,
    0xC080FF, 0xFF80FF, 0x0000FF, 0x00FFFF, 0x00FF80, 0x40FF00, 0xFFFF00, 0xC08000, 0xC08080,
    0xFF00FF, 0x404080, 0x4080FF, 0x00FF00, 0x808000, 0x804000, 0xFF8080, 0x400080, 0x8000FF,
    0x000080, 0x0080FF, 0x008000, 0x408000, 0xFF0000, 0xA00000, 0x800080, 0xFF0080, 0x000040,
    0x004080, 0x004000, 0x404000, 0x800000, 0x400000, 0x400040, 0x800040, 0x000000, 0x008080,
    0x408080, 0x808080, 0x808040, 0xC0C0C0, 0x400040, 0xFFFFFF};

constexpr int c_gridX = 7;
constexpr int c_basicY = 18;
constexpr int c_customY = 118;
constexpr int c_cell = 18;

COLORREF s_custom[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
    0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};

DialogItem edit(int id, int x, int y)
{
    return {eDLG_EDIT, id, "", x, y, 24, 12, ES_NUMBER | WS_TABSTOP};
}

int fieldValue(const CDialog* dialog, int id, int maxValue)
{
    const int value = std::atoi(dialog->GetDlgItemText(id).c_str());
    return value < 0 ? 0 : (value > maxValue ? maxValue : value);
}

} // namespace

ZOR_DIALOG_TABLE({
    {IDD_CUSTOMCOLOR, "Color", 300, 190, "MS Sans Serif", 8, DS_MODALFRAME | WS_POPUP | WS_CAPTION,
        {{eDLG_STATIC, -1, "&Basic colors:", 4, 4, 140, 9, SS_LEFT},
            {eDLG_STATIC, -1, "&Custom colors:", 4, 106, 140, 9, SS_LEFT},
            {eDLG_BUTTON, IDC_DEFINE, "&Define Custom Colors >>", 4, 150, 138, 14, WS_TABSTOP, 0,
                false, true},
            {eDLG_BUTTON, IDOK, "OK", 4, 168, 44, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
            {eDLG_BUTTON, IDCANCEL, "Cancel", 52, 168, 44, 14, WS_TABSTOP},
            {eDLG_BUTTON, IDC_CUSTOMHELP, "&Help", 100, 168, 44, 14, WS_TABSTOP, 0, false, true},
            {eDLG_STATIC, -1, "Hu&e:", 152, 110, 20, 8, SS_RIGHT}, edit(IDC_HUE, 174, 108),
            {eDLG_STATIC, -1, "&Sat:", 152, 126, 20, 8, SS_RIGHT}, edit(IDC_SAT, 174, 124),
            {eDLG_STATIC, -1, "&Lum:", 152, 142, 20, 8, SS_RIGHT}, edit(IDC_LUM, 174, 140),
            {eDLG_STATIC, -1, "&Red:", 204, 110, 24, 8, SS_RIGHT}, edit(IDC_RED, 230, 108),
            {eDLG_STATIC, -1, "&Green:", 204, 126, 24, 8, SS_RIGHT}, edit(IDC_GREEN, 230, 124),
            {eDLG_STATIC, -1, "Bl&ue:", 204, 142, 24, 8, SS_RIGHT}, edit(IDC_BLUE, 230, 140),
            {eDLG_BUTTON, IDC_ADDCUSTOM, "&Add to Custom Colors", 152, 168, 142, 14, WS_TABSTOP},
            {eDLG_BUTTON, IDC_USEWINDOWS, "&Use Windows System Colors", 152, 4, 142, 14,
                WS_TABSTOP}}},
});

CCustomColorDialog::CCustomColorDialog(COLORREF initial, CWnd* pParent)
    : CDialog(IDD_CUSTOMCOLOR, pParent), m_color(initial & 0xFFFFFF)
{
    onCommand(IDC_USEWINDOWS, BN_CLICKED, [this] {
        m_switched = true;
        EndDialog(IDCANCEL);
    });
    onCommand(IDC_ADDCUSTOM, BN_CLICKED, [this] {
        s_custom[m_nextCustom] = m_color;
        m_nextCustom = (m_nextCustom + 1) % 16;
        Invalidate();
    });
    for (int id : {IDC_RED, IDC_GREEN, IDC_BLUE})
        onCommand(static_cast<UINT>(id), EN_CHANGE, [this] { onRgbChange(); });
    for (int id : {IDC_HUE, IDC_SAT, IDC_LUM})
        onCommand(static_cast<UINT>(id), EN_CHANGE, [this] { onHslChange(); });
}

COLORREF* CCustomColorDialog::customColors()
{
    return s_custom;
}

INT_PTR CCustomColorDialog::DoModal()
{
    if (zorWidgetsDialogAnswerer())
        return zorRunColorDialog(this, IDD_CUSTOMCOLOR);
    return CDialog::DoModal();
}

BOOL CCustomColorDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    setColor(m_color, false);
    return TRUE;
}

void CCustomColorDialog::setColor(COLORREF color, bool fromHsl)
{
    m_color = color & 0xFFFFFF;
    m_updating = true;
    SetDlgItemInt(IDC_RED, GetRValue(m_color));
    SetDlgItemInt(IDC_GREEN, GetGValue(m_color));
    SetDlgItemInt(IDC_BLUE, GetBValue(m_color));
    if (!fromHsl) {
        // The chooser's scale: hue 0 to 239, saturation and luminance 0 to 240.
        const QColor c(GetRValue(m_color), GetGValue(m_color), GetBValue(m_color));
        const int hue = c.hslHue() < 0 ? 160 : c.hslHue() * 240 / 360;
        SetDlgItemInt(IDC_HUE, static_cast<UINT>(hue));
        SetDlgItemInt(IDC_SAT, static_cast<UINT>(c.hslSaturation() * 240 / 255));
        SetDlgItemInt(IDC_LUM, static_cast<UINT>(c.lightness() * 240 / 255));
    }
    m_updating = false;
    Invalidate();
}

void CCustomColorDialog::onRgbChange()
{
    if (m_updating)
        return;
    setColor(RGB(fieldValue(this, IDC_RED, 255), fieldValue(this, IDC_GREEN, 255),
                 fieldValue(this, IDC_BLUE, 255)),
        false);
}

void CCustomColorDialog::onHslChange()
{
    if (m_updating)
        return;
    const QColor c = QColor::fromHsl(fieldValue(this, IDC_HUE, 239) * 360 / 240,
        fieldValue(this, IDC_SAT, 240) * 255 / 240, fieldValue(this, IDC_LUM, 240) * 255 / 240);
    setColor(RGB(c.red(), c.green(), c.blue()), true);
}

void CCustomColorDialog::OnOK()
{
    m_color = RGB(fieldValue(this, IDC_RED, 255), fieldValue(this, IDC_GREEN, 255),
        fieldValue(this, IDC_BLUE, 255));
    EndDialog(IDOK);
}

CRect CCustomColorDialog::basicCell(int index) const
{
    const CRect origin = MapDialogRect(CRect(c_gridX, c_basicY, c_gridX, c_basicY));
    const int x = origin.left + (index % 8) * c_cell;
    const int y = origin.top + (index / 8) * c_cell;
    return CRect(x, y, x + c_cell - 4, y + c_cell - 4);
}

CRect CCustomColorDialog::customCell(int index) const
{
    const CRect origin = MapDialogRect(CRect(c_gridX, c_customY, c_gridX, c_customY));
    const int x = origin.left + (index % 8) * c_cell;
    const int y = origin.top + (index / 8) * c_cell;
    return CRect(x, y, x + c_cell - 4, y + c_cell - 4);
}

void CCustomColorDialog::OnPaint()
{
    CPaintDC dc(this);
    for (int i = 0; i < 48; ++i) {
        const CRect cell = basicCell(i);
        dc.FillSolidRect(&cell, c_basic[i]);
    }
    for (int i = 0; i < 16; ++i) {
        const CRect cell = customCell(i);
        dc.FillSolidRect(&cell, s_custom[i]);
    }
    // The current colour beside the fields.
    const CRect sample = MapDialogRect(CRect(152, 24, 294, 100));
    dc.FillSolidRect(&sample, m_color);
}

void CCustomColorDialog::OnLButtonDown(UINT nFlags, CPoint point)
{
    for (int i = 0; i < 48; ++i) {
        if (basicCell(i).PtInRect(point)) {
            setColor(c_basic[i], false);
            return;
        }
    }
    for (int i = 0; i < 16; ++i) {
        if (customCell(i).PtInRect(point)) {
            setColor(s_custom[i], false);
            return;
        }
    }
    CDialog::OnLButtonDown(nFlags, point);
}
