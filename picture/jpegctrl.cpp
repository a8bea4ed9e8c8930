#include "picture/jpegctrl.h"

#include "framework/drawing/drawbox.h"
#include "framework/drawing/syscolor.h"
#include "picture/picturegeometry.h"
#include "picture/pictureids.h"
#include "picture/picturerecord.h"
#include "picture/picturetypelib.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/dcguard.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/gdi/syscolor.h"

#include <algorithm>
#include <climits>
#include <filesystem>

namespace {

// The stock colour form: the top bit set and the system colour's index in the low byte.
constexpr OLE_COLOR c_clrStockSystemFlag = 0x80000000;

const char* name(DISPID dispid)
{
    return zorJPEGPropertyName(dispid);
}

bool fileExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

} // namespace

COLORREF zorTranslateBackColor(OLE_COLOR color)
{
    if ((color & 0xFF000000) == c_clrStockSystemFlag)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return CSysColor::getColor(color);
}

CJPEGCtrl::CJPEGCtrl()
{
    setTypeInfo(zorJPEGTypeInfo());
    addInterface(DIID__DJPEG);

    // Each of the seven own properties runs the change step: File loaded afresh, then the
    // control marked modified and repainted. BackColor only repaints.
    const auto reload = [this] { reloadFile(); };
    bindProperty(eJPEG_BOXBORDER, m_boxBorder, reload);
    bindProperty(eJPEG_BORDERCOLOR, m_borderColor, reload);
    bindProperty(eJPEG_FILE, m_file, reload);
    bindProperty(eJPEG_STRETCH, m_stretch, reload);
    bindProperty(eJPEG_KEEPASPECTRATIO, m_keepAspectRatio, reload);
    bindProperty(eJPEG_BACKCOLOR, m_backColor);
    bindProperty(eJPEG_BORDER, m_border, reload);
    bindProperty(eJPEG_RESIZEWINDOW, m_resizeWindow, reload);

    addDeclaredMethod(eJPEG_SELECTFILE, [this](const DISPPARAMS& params, COleVariant* result) {
        const bool loaded = selectFile(params.args.at(0).bstrVal);
        if (result)
            *result = COleVariant::makeBool(loaded);
        return S_OK;
    });
    addDeclaredMethod(eJPEG_SETIMAGEDATA, [this](const DISPPARAMS& params, COleVariant*) {
        setImageData(params.args.at(0).lVal, params.args.at(1).bstrVal);
        return S_OK;
    });
    addDeclaredMethod(eJPEG_SETIMAGE, [this](const DISPPARAMS& params, COleVariant*) {
        return setImage(params.args.at(0).bstrVal);
    });

    OnResetState();
    SetModifiedFlag(FALSE);
}

CJPEGCtrl::~CJPEGCtrl() = default;

std::vector<CLSID> CJPEGCtrl::GetPropPageIDs() const
{
    return {CLSID_JPEGPropPage};
}

void CJPEGCtrl::DoPropExchange(CPropExchange* pPX)
{
    DWORD version = c_dwJPEGVersion;
    pPX->ExchangeVersion(version, c_dwJPEGVersion, true);
    PX_Bool(pPX, name(eJPEG_BORDER), m_border, FALSE);
    PX_Bool(pPX, name(eJPEG_BOXBORDER), m_boxBorder, TRUE);
    PX_Color(pPX, name(eJPEG_BORDERCOLOR), m_borderColor, 0);
    PX_String(pPX, name(eJPEG_FILE), m_file, std::string());
    PX_Bool(pPX, name(eJPEG_STRETCH), m_stretch, TRUE);
    PX_Bool(pPX, name(eJPEG_KEEPASPECTRATIO), m_keepAspectRatio, TRUE);
    PX_Bool(pPX, name(eJPEG_RESIZEWINDOW), m_resizeWindow, TRUE);
    // The box border wins over the flat one, on loading and on saving alike.
    if (m_boxBorder)
        m_border = FALSE;
    PX_Color(pPX, name(eJPEG_BACKCOLOR), m_backColor, c_clrAmbientBack);
    exchangeStockProps(pPX);
}

// --- loading and fitting ------------------------------------------------------------------------

bool CJPEGCtrl::loadFileAndFit()
{
    m_image.clear();
    if (!fileExists(m_file) || m_image.loadFile(m_file) != eIS_OK)
        return false;
    fit();
    return true;
}

void CJPEGCtrl::reloadFile()
{
    // An empty File leaves the picture there is, from memory or a record.
    if (!m_file.empty())
        loadFileAndFit();
}

void CJPEGCtrl::fit()
{
    const unsigned fit = ++m_fits;
    if (!m_stretch || !m_image.hasPixels())
        return;
    CSize size = zorPictureFitSize(m_image.width(), m_image.height(), m_client.Width(),
        m_client.Height(), m_keepAspectRatio != 0);
    if (m_resizeWindow) {
        // Asked even when the size is already right. A size change it causes loads File and
        // fits it anew; this fit then has nothing left to do.
        SetControlSize(size.cx, size.cy);
        if (fit != m_fits)
            return;
    }
    if (hasBorder()) {
        size.cx -= 2 * c_nPictureBorder;
        size.cy -= 2 * c_nPictureBorder;
    }
    if (size.cx <= 0 || size.cy <= 0)
        return;
    m_image.resample(static_cast<UINT>(size.cx), static_cast<UINT>(size.cy));
}

bool CJPEGCtrl::selectFile(const std::string& a_sFile)
{
    // File changes without marking the control modified, and nothing is repainted here: a
    // size change that the fit asks for repaints through the container.
    m_file = a_sFile;
    return loadFileAndFit();
}

void CJPEGCtrl::setImageData(LONG a_nLen, const std::string& a_pData)
{
    const std::size_t length = std::min<std::size_t>(std::max<LONG>(a_nLen, 0), a_pData.size());
    m_image.clear();
    if (length == 0)
        return;
    if (m_image.loadMemory(reinterpret_cast<const BYTE*>(a_pData.data()),
            static_cast<UINT>(std::min<std::size_t>(length, UINT_MAX)))
        == eIS_OK)
        fit();
}

HRESULT CJPEGCtrl::setImage(const std::string& a_pImage)
{
    UINT width = 0;
    UINT height = 0;
    const BYTE* pixels = nullptr;
    if (!zorReadPictureRecord(a_pImage, &width, &height, &pixels))
        return E_INVALIDARG;
    m_image.copy(width, height, pixels);
    return S_OK;
}

// --- window -----------------------------------------------------------------------------------

int CJPEGCtrl::OnCreate()
{
    if (COleControl::OnCreate() == -1)
        return -1;
    GetClientRect(&m_client);
    reloadFile();
    return 0;
}

void CJPEGCtrl::OnSize(UINT nType, int cx, int cy)
{
    GetClientRect(&m_client);
    COleControl::OnSize(nType, cx, cy);
    reloadFile();
}

// --- painting -----------------------------------------------------------------------------------

void CJPEGCtrl::OnDraw(CDC* pdc, const CRect&, const CRect&)
{
    // The client rectangle, not the bounds, is what the control fills; the clip that the
    // borders set ends with the guard.
    CDCGuard guard(pdc, CDCGuard::wholeState);
    drawBackground(pdc);
    drawBorder(pdc);
    drawPicture(pdc);
}

void CJPEGCtrl::drawBackground(CDC* pdc) const
{
    pdc->FillSolidRect(&m_client, zorTranslateBackColor(m_backColor));
}

void CJPEGCtrl::drawBorder(CDC* pdc) const
{
    CRect inner = m_client;
    inner.DeflateRect(c_nPictureBorder, c_nPictureBorder);
    if (m_border) {
        CBrush brush(CSysColor::getColor(m_borderColor));
        const CRect ring[] = {
            CRect(m_client.left, m_client.top, m_client.right, inner.top),
            CRect(m_client.left, inner.bottom, m_client.right, m_client.bottom),
            CRect(m_client.left, inner.top, inner.left, inner.bottom),
            CRect(inner.right, inner.top, m_client.right, inner.bottom),
        };
        for (const CRect& part : ring)
            pdc->FillRect(&part, &brush);
    } else if (m_boxBorder) {
        // The box fills its inside with the window colour, over the background.
        drawBox(pdc, m_client, c_nPictureBorder, false);
    } else {
        return;
    }
    pdc->IntersectClipRect(&inner);
}

void CJPEGCtrl::drawPicture(CDC* pdc) const
{
    if (!m_image.hasPixels())
        return;
    const CPoint at = zorPicturePosition(m_client, m_image.width(), m_image.height());
    m_image.draw(pdc, at.x, at.y);
}
