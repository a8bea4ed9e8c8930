#include "platform/ui/toolbar.h"

#include "platform/gdi/fonts.h"
#include "platform/module/module.h"
#include "platform/ui/bitmaps.h"
#include "platform/ui/controls.h"

#include <QtCore/QEvent>
#include <QtGui/QHelpEvent>
#include <QtGui/QIcon>
#include <QtGui/QPixmap>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFrame>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QToolTip>
#include <QtWidgets/QWidget>

#include <algorithm>
#include <mutex>

// --- toolbar resources ---------------------------------------------------------------------

namespace {

// The tables of all loaded modules; modules load and unload on any thread, so the list is
// guarded, and it is never destroyed (tables of modules unloaded at exit may still remove
// themselves after every other static is gone).
struct ToolBarTables
{
    std::mutex lock;
    std::vector<const CToolBarTableRegistrar*> tables;
};

ToolBarTables& toolBarTables()
{
    static auto* tables = new ToolBarTables;
    return *tables;
}

// The light grey of toolbar bitmaps that stands for the button face.
constexpr QRgb c_faceGrey = qRgb(192, 192, 192);
// The width of a gap between button groups.
constexpr int c_separatorWidth = 8;

// The button images of a strip: one per cx pixels, the face grey made transparent.
std::vector<QImage> splitStrip(const QImage& strip, int cx, int cy)
{
    std::vector<QImage> images;
    if (strip.isNull() || cx <= 0 || cy <= 0)
        return images;
    const QImage argb = strip.convertToFormat(QImage::Format_ARGB32);
    for (int x = 0; x + cx <= argb.width(); x += cx) {
        QImage image = argb.copy(x, 0, cx, std::min(cy, argb.height()));
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int i = 0; i < image.width(); ++i) {
                if (qRgb(qRed(line[i]), qGreen(line[i]), qBlue(line[i])) == c_faceGrey)
                    line[i] = 0;
            }
        }
        images.push_back(std::move(image));
    }
    return images;
}

// Qt hides its tip a moment after it is asked to; a button without a tip hides it at once.
void hideToolTipNow()
{
    QToolTip::hideText();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->inherits("QTipLabel") && window->isVisible())
            window->hide();
    }
}

} // namespace

CToolBarTableRegistrar::CToolBarTableRegistrar(
    HMODULE module, std::initializer_list<ZorToolBarEntry> entries)
    : m_module(module), m_entries(entries)
{
    ToolBarTables& all = toolBarTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    all.tables.push_back(this);
}

CToolBarTableRegistrar::~CToolBarTableRegistrar()
{
    ToolBarTables& all = toolBarTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    std::erase(all.tables, this);
}

const ZorToolBarEntry* CToolBarTableRegistrar::find(UINT id) const
{
    for (const ZorToolBarEntry& entry : m_entries) {
        if (entry.id == id)
            return &entry;
    }
    return nullptr;
}

const ZorToolBarEntry* zorFindToolBar(UINT id, HMODULE* module)
{
    ToolBarTables& all = toolBarTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    const auto findIn = [&](HMODULE wanted) -> const ZorToolBarEntry* {
        for (const CToolBarTableRegistrar* table : all.tables) {
            if (wanted && table->module() != wanted)
                continue;
            if (const ZorToolBarEntry* entry = table->find(id)) {
                if (module)
                    *module = table->module();
                return entry;
            }
        }
        return nullptr;
    };
    for (HMODULE first : {AfxGetResourceHandle(), GetModuleHandleA(nullptr)}) {
        if (first) {
            if (const ZorToolBarEntry* entry = findIn(first))
                return entry;
        }
    }
    return findIn(nullptr);
}

// --- control bars -------------------------------------------------------------------------

void CControlBar::SetBarStyle(DWORD dwStyle)
{
    if (m_dwBarStyle == dwStyle)
        return;
    m_dwBarStyle = dwStyle;
    barStyleChanged();
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL)
{
    CRect rc;
    if (bStretch && GetParent())
        GetParent()->GetClientRect(&rc);
    else
        GetWindowRect(&rc);
    CRect own;
    GetWindowRect(&own);
    return CSize(rc.Width(), own.Height());
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (IsWindowVisible()) {
        if (CWnd* pTarget = GetOwner())
            OnUpdateCmdUI(pTarget, static_cast<BOOL>(wParam));
    }
    return 0;
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_IDLEUPDATECMDUI)
        return OnIdleUpdateCmdUI(wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

void RepositionBars(CWnd* pWnd, UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag,
    LPRECT lpRectParam, LPCRECT lpRectClient, BOOL bStretch)
{
    if (!pWnd || !pWnd->GetSafeHwnd())
        return;
    CRect layout;
    if (lpRectClient)
        layout = *lpRectClient;
    else
        pWnd->GetClientRect(&layout);
    if (nFlag == reposExtra && lpRectParam) {
        layout.left += lpRectParam->left;
        layout.top += lpRectParam->top;
        layout.right -= lpRectParam->right;
        layout.bottom -= lpRectParam->bottom;
    }

    for (CWnd* pChild : pWnd->children()) {
        auto* pBar = dynamic_cast<CControlBar*>(pChild);
        const UINT nID = static_cast<UINT>(pChild->GetDlgCtrlID());
        if (!pBar || nID < nIDFirst || nID > nIDLast || !(pBar->GetStyle() & WS_VISIBLE))
            continue;
        const CSize size = pBar->CalcFixedLayout(bStretch, TRUE);
        const int cx = bStretch ? layout.Width() : size.cx;
        CRect rcBar;
        if (pBar->GetBarStyle() & CBRS_ALIGN_BOTTOM) {
            rcBar = CRect(layout.left, layout.bottom - size.cy, layout.left + cx, layout.bottom);
            layout.bottom -= size.cy;
        } else {
            rcBar = CRect(layout.left, layout.top, layout.left + cx, layout.top + size.cy);
            layout.top += size.cy;
        }
        if (nFlag != reposQuery)
            pBar->MoveWindow(&rcBar);
    }

    if (nFlag == reposQuery) {
        if (lpRectParam)
            *lpRectParam = layout;
        return;
    }
    if (nIDLeftOver != 0) {
        if (CWnd* pLeftOver = pWnd->GetDlgItem(static_cast<int>(nIDLeftOver)))
            pLeftOver->MoveWindow(&layout);
    }
}

// --- the toolbar's widget -----------------------------------------------------------------

// A row of tool buttons with gaps between the groups; each button's tip, fly-by and click go
// to the bar's window object.
class CToolBarWidget : public QWidget
{
public:
    explicit CToolBarWidget(CToolBar* bar) : m_bar(bar)
    {
        m_layout = new QHBoxLayout(this);
        m_layout->setContentsMargins(
            CToolBar::c_cxBorder, CToolBar::c_cyBorder, CToolBar::c_cxBorder, CToolBar::c_cyBorder);
        m_layout->setSpacing(0);
        setAutoFillBackground(true);
    }

    void detachBar() { m_bar = nullptr; }

    void rebuild(const std::vector<CToolBar::Button>& buttons, const std::vector<QImage>& images,
        const CSize& sizeButton, const CSize& sizeImage)
    {
        for (QWidget* item : m_items)
            delete item;
        m_items.clear();
        while (QLayoutItem* item = m_layout->takeAt(0))
            delete item;
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            const CToolBar::Button& button = buttons[i];
            if (button.style & TBBS_SEPARATOR) {
                auto* gap = new QFrame(this);
                gap->setFrameStyle(QFrame::VLine | QFrame::Sunken);
                gap->setFixedSize(c_separatorWidth, sizeButton.cy);
                m_layout->addWidget(gap);
                m_items.push_back(gap);
                continue;
            }
            auto* tool = new QToolButton(this);
            tool->setAutoRaise(true);
            tool->setFocusPolicy(Qt::NoFocus);
            tool->setFixedSize(sizeButton.cx, sizeButton.cy);
            tool->setIconSize(QSize(sizeImage.cx, sizeImage.cy));
            if (button.image >= 0 && static_cast<std::size_t>(button.image) < images.size())
                tool->setIcon(
                    QIcon(QPixmap::fromImage(images[static_cast<std::size_t>(button.image)])));
            tool->setProperty("zorIndex", static_cast<int>(i));
            tool->installEventFilter(this);
            const int index = static_cast<int>(i);
            connect(tool, &QToolButton::clicked, this, [this, index] {
                if (m_bar)
                    m_bar->pressButton(index);
            });
            m_layout->addWidget(tool);
            m_items.push_back(tool);
        }
        m_layout->addStretch(1);
        applyStates(buttons);
    }

    void applyStates(const std::vector<CToolBar::Button>& buttons)
    {
        for (std::size_t i = 0; i < buttons.size() && i < m_items.size(); ++i) {
            auto* tool = qobject_cast<QToolButton*>(m_items[i]);
            if (!tool)
                continue;
            const UINT style = buttons[i].style;
            tool->setEnabled(!(style & TBBS_DISABLED));
            tool->setCheckable((style & TBBS_CHECKBOX) || (style & TBBS_CHECKED));
            tool->setChecked(style & TBBS_CHECKED);
        }
    }

    QWidget* item(int index) const
    {
        return index >= 0 && static_cast<std::size_t>(index) < m_items.size()
            ? m_items[static_cast<std::size_t>(index)]
            : nullptr;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* tool = qobject_cast<QToolButton*>(watched);
        if (!tool || !m_bar)
            return false;
        const int index = tool->property("zorIndex").toInt();
        switch (event->type()) {
        case QEvent::ToolTip: {
            const std::string text = m_bar->requestToolTipText(index);
            if (text.empty())
                hideToolTipNow();
            else
                QToolTip::showText(
                    static_cast<QHelpEvent*>(event)->globalPos(), zorFromCodePage(text), tool);
            return true;
        }
        case QEvent::Enter:
            m_bar->sendFlyBy(index, true);
            return false;
        case QEvent::Leave:
            m_bar->sendFlyBy(index, false);
            return false;
        default:
            return false;
        }
    }

private:
    CToolBar* m_bar {nullptr};
    QHBoxLayout* m_layout {nullptr};
    std::vector<QWidget*> m_items;
};

// --- the toolbar's command items ----------------------------------------------------------

class CToolCmdUI : public CCmdUI
{
public:
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        auto* bar = static_cast<CToolBar*>(m_pOther);
        UINT style = bar->GetButtonStyle(static_cast<int>(m_nIndex)) & ~TBBS_DISABLED;
        if (!bOn)
            style |= TBBS_DISABLED;
        bar->SetButtonStyle(static_cast<int>(m_nIndex), style);
    }

    void SetCheck(int nCheck) override
    {
        auto* bar = static_cast<CToolBar*>(m_pOther);
        UINT style = bar->GetButtonStyle(static_cast<int>(m_nIndex))
            & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
        if (nCheck == 1)
            style |= TBBS_CHECKED;
        else if (nCheck == 2)
            style |= TBBS_INDETERMINATE;
        bar->SetButtonStyle(static_cast<int>(m_nIndex), style);
    }
};

// --- the toolbar --------------------------------------------------------------------------

CToolBar::CToolBar() = default;

CToolBar::~CToolBar()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

CToolBarWidget* CToolBar::toolBarWidget() const
{
    return dynamic_cast<CToolBarWidget*>(widget());
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    if (GetSafeHwnd() || !pParentWnd || !pParentWnd->GetSafeHwnd())
        return FALSE;
    m_dwBarStyle = dwStyle & (CBRS_ALIGN_ANY | 0x0FFF);
    auto* bar = new CToolBarWidget(this);
    const DWORD windowStyle = (dwStyle & (WS_VISIBLE | WS_DISABLED)) | WS_CHILD;
    CRect rc;
    pParentWnd->GetClientRect(&rc);
    rc.bottom = rc.top + CalcFixedLayout(FALSE, TRUE).cy;
    if (!CreateEx(0, "ToolbarWindow32", "", windowStyle, rc, pParentWnd, nID, bar))
        return FALSE;
    // The bar's tips come from a tooltip control of its own, as the platform's bars have.
    m_toolTip.Create(this);
    rebuildButtons();
    return TRUE;
}

BOOL CToolBar::DestroyWindow()
{
    if (CToolBarWidget* bar = toolBarWidget())
        bar->detachBar();
    m_toolTip.DestroyWindow();
    return CControlBar::DestroyWindow();
}

BOOL CToolBar::LoadToolBar(UINT nIDResource)
{
    HMODULE module = nullptr;
    const ZorToolBarEntry* entry = zorFindToolBar(nIDResource, &module);
    if (!entry)
        return FALSE;
    const QImage strip = zorLoadBitmapImage(module, nIDResource);
    if (strip.isNull())
        return FALSE;
    m_images = splitStrip(strip, entry->cx, entry->cy);
    m_sizeImage = CSize(entry->cx, entry->cy);
    m_sizeButton = CSize(entry->cx + 7, entry->cy + 6);
    return SetButtons(entry->items.data(), static_cast<int>(entry->items.size()));
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    if (nIDCount < 0 || (nIDCount > 0 && !lpIDArray))
        return FALSE;
    m_buttons.clear();
    int image = 0;
    for (int i = 0; i < nIDCount; ++i) {
        Button button;
        button.id = lpIDArray[i];
        if (button.id == ID_SEPARATOR)
            button.style = TBBS_SEPARATOR;
        else
            button.image = image++;
        m_buttons.push_back(button);
    }
    rebuildButtons();
    return TRUE;
}

void CToolBar::SetSizes(CSize sizeButton, CSize sizeImage)
{
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    rebuildButtons();
}

void CToolBar::rebuildButtons()
{
    if (CToolBarWidget* bar = toolBarWidget())
        bar->rebuild(m_buttons, m_images, m_sizeButton, m_sizeImage);
}

UINT CToolBar::GetItemID(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return ID_SEPARATOR;
    return m_buttons[static_cast<std::size_t>(nIndex)].id;
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    for (int i = 0; i < GetCount(); ++i) {
        if (m_buttons[static_cast<std::size_t>(i)].id == nIDFind)
            return i;
    }
    return -1;
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return 0;
    return m_buttons[static_cast<std::size_t>(nIndex)].style;
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    Button& button = m_buttons[static_cast<std::size_t>(nIndex)];
    if (button.style == nStyle)
        return;
    // A separator stays a separator and a button a button.
    if ((button.style ^ nStyle) & TBBS_SEPARATOR)
        return;
    button.style = nStyle;
    if (CToolBarWidget* bar = toolBarWidget())
        bar->applyStates(m_buttons);
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    *lpRect = RECT {0, 0, 0, 0};
    const CToolBarWidget* bar = toolBarWidget();
    const QWidget* item = bar ? bar->item(nIndex) : nullptr;
    if (!item)
        return;
    const QRect r = item->geometry();
    *lpRect = RECT {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL)
{
    int cx = 2 * c_cxBorder;
    for (const Button& button : m_buttons)
        cx += (button.style & TBBS_SEPARATOR) ? c_separatorWidth : m_sizeButton.cx;
    if (bStretch) {
        if (CWnd* pParent = GetParent()) {
            CRect rc;
            pParent->GetClientRect(&rc);
            cx = rc.Width();
        }
    }
    return CSize(cx, m_sizeButton.cy + 2 * c_cyBorder);
}

void CToolBar::OnUpdateCmdUI(CWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    for (int i = 0; i < GetCount(); ++i) {
        const Button& button = m_buttons[static_cast<std::size_t>(i)];
        if (button.style & TBBS_SEPARATOR)
            continue;
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nID = button.id;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

void CToolBar::pressButton(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    Button& button = m_buttons[static_cast<std::size_t>(nIndex)];
    if (button.style & (TBBS_SEPARATOR | TBBS_DISABLED))
        return;
    if (button.style & TBBS_CHECKBOX) {
        button.style ^= TBBS_CHECKED;
        if (CToolBarWidget* bar = toolBarWidget())
            bar->applyStates(m_buttons);
    }
    const HWND self = GetSafeHwnd();
    if (CWnd* pOwner = GetOwner())
        pOwner->SendMessage(
            WM_COMMAND, MAKEWPARAM(button.id, BN_CLICKED), reinterpret_cast<LPARAM>(self));
}

std::string CToolBar::requestToolTipText(int nIndex)
{
    if (!(m_dwBarStyle & CBRS_TOOLTIPS) || nIndex < 0 || nIndex >= GetCount())
        return {};
    const Button& button = m_buttons[static_cast<std::size_t>(nIndex)];
    CWnd* pOwner = GetOwner();
    if (!pOwner || (button.style & TBBS_SEPARATOR))
        return {};
    const HWND from = m_toolTip.GetSafeHwnd() ? m_toolTip.GetSafeHwnd() : GetSafeHwnd();

    TOOLTIPTEXTA textA;
    textA.hdr = NMHDR {from, button.id, TTN_NEEDTEXTA};
    textA.lpszText = textA.szText;
    pOwner->SendMessage(WM_NOTIFY, button.id, reinterpret_cast<LPARAM>(&textA));
    // The answer may point elsewhere; the field itself is cut to its size either way.
    textA.szText[sizeof textA.szText - 1] = '\0';
    std::string text = textA.lpszText ? textA.lpszText : "";
    if (!text.empty())
        return text;

    TOOLTIPTEXTW textW;
    textW.hdr = NMHDR {from, button.id, TTN_NEEDTEXTW};
    textW.lpszText = textW.szText;
    pOwner->SendMessage(WM_NOTIFY, button.id, reinterpret_cast<LPARAM>(&textW));
    textW.szText[std::size(textW.szText) - 1] = u'\0';
    if (!textW.lpszText)
        return {};
    return zorToCodePage(QString::fromUtf16(textW.lpszText));
}

void CToolBar::sendFlyBy(int nIndex, bool entering)
{
    if (!(m_dwBarStyle & CBRS_FLYBY))
        return;
    CWnd* pOwner = GetOwner();
    if (!pOwner)
        return;
    pOwner->SendMessage(WM_SETMESSAGESTRING, entering ? GetItemID(nIndex) : AFX_IDS_IDLEMESSAGE);
}

void CToolBar::barStyleChanged()
{
    if (!(m_dwBarStyle & CBRS_TOOLTIPS))
        hideToolTipNow();
}
