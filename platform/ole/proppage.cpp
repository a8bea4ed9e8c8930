#include "platform/ole/proppage.h"

#include "platform/ole/dispatchimpl.h"
#include "platform/ole/factory.h"
#include "platform/ole/site.h"
#include "platform/ui/controls.h"
#include "platform/ui/showcommands.h"

#include <QtCore/QEventLoop>
#include <QtWidgets/QTabBar>
#include <QtWidgets/QWidget>

#include <algorithm>

// {B196B28D-BAB4-101A-B69C-00AA00341D07}
const IID IID_IPropertyPage
    = {0xB196B28D, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

namespace {

// The frame's layout in dialog units of its font ("MS Sans Serif" 8: base units 6 x 13).
constexpr int c_margin = 7;
constexpr int c_tabHeight = 14;
constexpr int c_buttonWidth = 50;
constexpr int c_buttonHeight = 14;
constexpr int c_buttonGap = 4;
constexpr int c_baseX = 6;
constexpr int c_baseY = 13;
constexpr int c_idTabs = 0x3020;
constexpr int c_idArea = 0x3022;

int pixelsToUnits(int pixels, int base, int per)
{
    return (pixels * per + base - 1) / base;
}

COlePropertyPage* pageOf(CDataExchange* pDX)
{
    return pDX ? dynamic_cast<COlePropertyPage*>(pDX->m_pDlgWnd) : nullptr;
}

} // namespace

// --- the page ---------------------------------------------------------------------------------

COlePropertyPage::COlePropertyPage(UINT nIDTemplate, UINT nIDCaption)
    : CPropertyPage(nIDTemplate, nIDCaption), m_module(AfxGetResourceHandle())
{ }

COlePropertyPage::~COlePropertyPage()
{
    if (GetSafeHwnd())
        DestroyWindow();
    for (IDispatch* object : m_objects)
        object->Release();
}

HRESULT COlePropertyPage::QueryInterface(REFIID riid, void** ppvObject)
{
    if (!ppvObject)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IPropertyPage) {
        *ppvObject = this;
        AddRef();
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

ULONG COlePropertyPage::AddRef()
{
    return ++m_refs;
}

ULONG COlePropertyPage::Release()
{
    const ULONG refs = --m_refs;
    if (refs == 0)
        delete this;
    return refs;
}

void COlePropertyPage::SetObjects(const std::vector<IDispatch*>& objects)
{
    for (IDispatch* object : objects) {
        if (object)
            object->AddRef();
    }
    for (IDispatch* object : m_objects)
        object->Release();
    m_objects.clear();
    for (IDispatch* object : objects) {
        if (object)
            m_objects.push_back(object);
    }
}

bool COlePropertyPage::getProperty(const char* name, COleVariant* value) const
{
    if (m_objects.empty() || !name || !value)
        return false;
    DISPID dispid = DISPID_UNKNOWN;
    if (FAILED(m_objects.front()->GetIDsOfNames(name, &dispid)))
        return false;
    return SUCCEEDED(zorGetProperty(m_objects.front(), dispid, value));
}

bool COlePropertyPage::putProperty(const char* name, const COleVariant& value)
{
    if (m_objects.empty() || !name)
        return false;
    bool all = true;
    for (IDispatch* object : m_objects) {
        DISPID dispid = DISPID_UNKNOWN;
        if (FAILED(object->GetIDsOfNames(name, &dispid))
            || FAILED(zorPutProperty(object, dispid, value)))
            all = false;
    }
    return all;
}

BOOL COlePropertyPage::OnInitDialog()
{
    m_initializing = true;
    const BOOL result = CPropertyPage::OnInitDialog();
    m_initializing = false;
    return result;
}

BOOL COlePropertyPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT code = HIWORD(static_cast<DWORD>(wParam));
    CWnd* sender = FromHandle(reinterpret_cast<HWND>(lParam));
    const BOOL handled = CPropertyPage::OnCommand(wParam, lParam);
    if (sender && sender->GetParent() == this && !m_initializing) {
        const std::string kind = sender->GetClassName();
        bool changed = false;
        if (kind == "Button" && code == BN_CLICKED) {
            // Check boxes and radio buttons change a value; push buttons only act.
            const auto* button = dynamic_cast<const CButton*>(sender);
            const UINT type = button ? (button->GetButtonStyle() & BS_TYPEMASK) : BS_PUSHBUTTON;
            changed = type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON;
        } else if (kind == "Edit") {
            changed = code == EN_CHANGE;
        } else if (kind == "ComboBox") {
            changed = code == CBN_SELCHANGE || code == CBN_EDITCHANGE;
        } else if (kind == "ListBox") {
            changed = code == LBN_SELCHANGE;
        }
        if (changed)
            SetModified(TRUE);
    }
    // The page's own handlers may have marked it modified too.
    if (auto* frame = dynamic_cast<CPropertyFrame*>(m_frame))
        frame->onPageModified();
    return handled;
}

BOOL COlePropertyPage::OnApply()
{
    m_pendingWrites.clear();
    m_applying = true;
    const BOOL valid = UpdateData(TRUE);
    if (valid)
        flushPropertyWrites();
    m_pendingWrites.clear();
    m_applying = false;
    if (!valid)
        return FALSE;
    SetModified(FALSE);
    return TRUE;
}

void COlePropertyPage::queuePropertyWrite(std::function<void()> write)
{
    // Only Apply writes: other validations of the page (switching pages) leave the objects.
    if (m_applying && write)
        m_pendingWrites.push_back(std::move(write));
}

void COlePropertyPage::flushPropertyWrites()
{
    auto writes = std::move(m_pendingWrites);
    m_pendingWrites.clear();
    for (const auto& write : writes)
        write();
}

// --- the exchange with properties -----------------------------------------------------------

void DDP_Text(CDataExchange* pDX, int, std::string& value, const char* pszPropName)
{
    COlePropertyPage* page = pageOf(pDX);
    if (!page || !pszPropName)
        return;
    const std::string name = pszPropName;
    if (!pDX->m_bSaveAndValidate) {
        COleVariant v;
        if (page->getProperty(name.c_str(), &v) && v.ChangeType(VT_BSTR))
            value = v.bstrVal;
        return;
    }
    page->queuePropertyWrite(
        [page, name, &value] { page->putProperty(name.c_str(), COleVariant(value)); });
}

void DDP_Text(CDataExchange* pDX, int, int& value, const char* pszPropName)
{
    COlePropertyPage* page = pageOf(pDX);
    if (!page || !pszPropName)
        return;
    const std::string name = pszPropName;
    if (!pDX->m_bSaveAndValidate) {
        COleVariant v;
        if (page->getProperty(name.c_str(), &v) && v.ChangeType(VT_I4))
            value = static_cast<int>(v.lVal);
        return;
    }
    page->queuePropertyWrite([page, name, &value] {
        page->putProperty(name.c_str(), COleVariant(static_cast<long>(value)));
    });
}

void DDP_Check(CDataExchange* pDX, int, int& value, const char* pszPropName)
{
    COlePropertyPage* page = pageOf(pDX);
    if (!page || !pszPropName)
        return;
    const std::string name = pszPropName;
    if (!pDX->m_bSaveAndValidate) {
        // A flag reads as 1 whether the property holds TRUE (1) or VARIANT_TRUE (-1).
        COleVariant v;
        if (page->getProperty(name.c_str(), &v) && v.ChangeType(VT_I4))
            value = v.lVal != 0 ? 1 : 0;
        return;
    }
    page->queuePropertyWrite([page, name, &value] {
        page->putProperty(name.c_str(), COleVariant(static_cast<long>(value != 0 ? 1 : 0)));
    });
}

void DDP_CBIndex(CDataExchange* pDX, int nIDC, int& value, const char* pszPropName)
{
    DDP_Text(pDX, nIDC, value, pszPropName);
}

void DDP_HostedProperty(CDataExchange* pDX, int nIDC, DISPID hostedDispid, const char* pszPropName)
{
    COlePropertyPage* page = pageOf(pDX);
    if (!page || !pszPropName)
        return;
    COleControlSite* site = zorSiteOf(page->GetDlgItem(nIDC));
    IDispatch* hosted = site ? site->dispatch() : nullptr;
    if (!hosted)
        return;
    const std::string name = pszPropName;
    if (!pDX->m_bSaveAndValidate) {
        COleVariant v;
        if (page->getProperty(name.c_str(), &v))
            zorPutProperty(hosted, hostedDispid, v);
        return;
    }
    // The whole 32-bit value passes unchanged (system-colour references included).
    COleVariant v;
    if (FAILED(zorGetProperty(hosted, hostedDispid, &v)))
        return;
    page->queuePropertyWrite([page, name, v] { page->putProperty(name.c_str(), v); });
}

void DDP_PostProcessing(CDataExchange* pDX)
{
    if (COlePropertyPage* page = pageOf(pDX); page && pDX->m_bSaveAndValidate)
        page->flushPropertyWrites();
}

// --- the frame --------------------------------------------------------------------------------

CPropertyFrame::CPropertyFrame(
    const char* caption, const std::vector<IDispatch*>& objects, const std::vector<CLSID>& pages)
    : m_caption(caption ? caption : ""), m_pageIds(pages)
{
    zorRegisterStockPropertyPages();
    for (IDispatch* object : objects) {
        if (object) {
            object->AddRef();
            m_objects.push_back(object);
        }
    }
}

CPropertyFrame::~CPropertyFrame()
{
    if (GetSafeHwnd())
        DestroyWindow();
    for (COlePropertyPage* page : m_pages)
        page->Release();
    m_pages.clear();
    for (IDispatch* object : m_objects)
        object->Release();
}

void CPropertyFrame::makePages()
{
    if (!m_pages.empty())
        return;
    int maxX = 0;
    int maxY = 0;
    for (const CLSID& clsid : m_pageIds) {
        COlePropertyPage* page = nullptr;
        if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                reinterpret_cast<void**>(&page)))
            || !page)
            continue;
        const ZorModuleState state(page->module());
        const DialogTemplate* tmpl = zorFindDialogTemplate(page->templateId());
        if (!tmpl) {
            page->Release();
            continue;
        }
        page->SetObjects(m_objects);
        page->setFrame(this);
        const CRect pixels = zorDialogUnitsToPixels(*tmpl, 0, 0, tmpl->cx, tmpl->cy);
        maxX = std::max(maxX, pixelsToUnits(pixels.Width(), c_baseX, 4));
        maxY = std::max(maxY, pixelsToUnits(pixels.Height(), c_baseY, 8));
        m_pages.push_back(page);
    }
    m_pageUnits = CSize(maxX, maxY);
}

DialogTemplate CPropertyFrame::buildTemplate() const
{
    const int buttons = 3 * c_buttonWidth + 2 * c_buttonGap;
    const int width = std::max<int>(m_pageUnits.cx, buttons) + 2 * c_margin;
    const int buttonsTop = c_margin + c_tabHeight + 2 + m_pageUnits.cy + c_margin;
    const int height = buttonsTop + c_buttonHeight + c_margin;
    const int applyX = width - c_margin - c_buttonWidth;
    const int cancelX = applyX - c_buttonGap - c_buttonWidth;
    const int okX = cancelX - c_buttonGap - c_buttonWidth;

    DialogTemplate tmpl;
    tmpl.caption = m_caption.c_str();
    tmpl.cx = width;
    tmpl.cy = height;
    tmpl.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    DialogItem ok {eDLG_BUTTON, IDOK, "OK", okX, buttonsTop, c_buttonWidth, c_buttonHeight,
        BS_DEFPUSHBUTTON | WS_TABSTOP};
    DialogItem cancel {eDLG_BUTTON, IDCANCEL, "Cancel", cancelX, buttonsTop, c_buttonWidth,
        c_buttonHeight, BS_PUSHBUTTON | WS_TABSTOP};
    DialogItem apply {eDLG_BUTTON, c_idApply, "&Apply", applyX, buttonsTop, c_buttonWidth,
        c_buttonHeight, BS_PUSHBUTTON | WS_TABSTOP};
    apply.disabled = true;
    tmpl.items = {ok, cancel, apply};
    return tmpl;
}

BOOL CPropertyFrame::createFrame(CWnd* pParent)
{
    if (GetSafeHwnd())
        return FALSE;
    makePages();
    const DialogTemplate tmpl = buildTemplate();
    return CreateIndirect(tmpl, pParent);
}

BOOL CPropertyFrame::OnInitDialog()
{
    CDialog::OnInitDialog();
    const int pageTop = c_margin + c_tabHeight + 2;
    const CRect tabUnits(
        c_margin, c_margin, c_margin + std::max<int>(m_pageUnits.cx, 1), c_margin + c_tabHeight);
    const CRect areaUnits(c_margin, pageTop, c_margin + m_pageUnits.cx, pageTop + m_pageUnits.cy);

    auto* bar = new QTabBar;
    bar->setDrawBase(false);
    bar->setExpanding(false);
    for (int i = 0; i < pageCount(); ++i)
        bar->addTab(QString::fromStdString(pageCaption(i)));
    m_tabs = std::make_unique<CWnd>();
    m_tabs->CreateEx(0, "SysTabControl32", "", WS_CHILD | WS_VISIBLE, MapDialogRect(tabUnits), this,
        c_idTabs, bar);
    QObject::connect(bar, &QTabBar::currentChanged, bar, [this](int index) {
        if (index >= 0)
            setActivePage(index);
    });

    m_area = std::make_unique<CWnd>();
    m_area->CreateEx(0, "ZorPageArea", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
        MapDialogRect(areaUnits), this, c_idArea);

    // A page whose window cannot be made is left out.
    std::vector<COlePropertyPage*> made;
    for (COlePropertyPage* page : m_pages) {
        const ZorModuleState state(page->module());
        if (page->createPage(m_area.get())) {
            page->ShowWindow(SW_HIDE);
            made.push_back(page);
        } else {
            page->Release();
        }
    }
    if (made.size() != m_pages.size()) {
        m_pages = made;
        while (bar->count() > 0)
            bar->removeTab(0);
        const QSignalBlocker blocker(bar);
        for (int i = 0; i < pageCount(); ++i)
            bar->addTab(QString::fromStdString(pageCaption(i)));
    }
    onCommand(c_idApply, BN_CLICKED, [this] { apply(); });
    m_active = -1;
    if (pageCount() > 0)
        setActivePage(0);
    onPageModified();
    return TRUE;
}

COlePropertyPage* CPropertyFrame::page(int index) const
{
    if (index < 0 || index >= pageCount())
        return nullptr;
    return m_pages[static_cast<std::size_t>(index)];
}

std::string CPropertyFrame::pageCaption(int index) const
{
    COlePropertyPage* p = page(index);
    if (!p)
        return {};
    const ZorModuleState state(p->module());
    return p->caption();
}

void CPropertyFrame::setActivePage(int index)
{
    COlePropertyPage* next = page(index);
    if (!next || index == m_active)
        return;
    if (COlePropertyPage* current = page(m_active); current && current->GetSafeHwnd())
        current->ShowWindow(SW_HIDE);
    m_active = index;
    if (next->GetSafeHwnd()) {
        next->ShowWindow(SW_SHOW);
        next->OnSetActive();
    }
    if (m_tabs) {
        if (auto* bar = qobject_cast<QTabBar*>(m_tabs->widget());
            bar && bar->currentIndex() != index) {
            const QSignalBlocker blocker(bar);
            bar->setCurrentIndex(index);
        }
    }
}

bool CPropertyFrame::apply()
{
    for (COlePropertyPage* p : m_pages) {
        if (!p->isModified())
            continue;
        const ZorModuleState state(p->module());
        if (!p->OnApply()) {
            onPageModified();
            return false;
        }
    }
    onPageModified();
    return true;
}

bool CPropertyFrame::applyEnabled() const
{
    return std::any_of(
        m_pages.begin(), m_pages.end(), [](const COlePropertyPage* p) { return p->isModified(); });
}

void CPropertyFrame::onPageModified()
{
    if (!GetSafeHwnd())
        return;
    if (CWnd* button = GetDlgItem(c_idApply))
        button->EnableWindow(applyEnabled() ? TRUE : FALSE);
}

void CPropertyFrame::OnOK()
{
    if (!apply())
        return;
    EndDialog(IDOK);
    if (m_loop)
        m_loop->quit();
}

void CPropertyFrame::OnCancel()
{
    EndDialog(IDCANCEL);
    if (m_loop)
        m_loop->quit();
}

INT_PTR CPropertyFrame::runModal(CWnd* pParent)
{
    if (!createFrame(pParent))
        return -1;
    QEventLoop loop;
    m_loop = &loop;
    if (QWidget* w = widget()) {
        w->setWindowModality(Qt::ApplicationModal);
        ShowWindow(SW_SHOW);
        if (w->isVisible())
            loop.exec();
    }
    m_loop = nullptr;
    const INT_PTR result = this->result();
    if (GetSafeHwnd())
        DestroyWindow();
    return result;
}

HRESULT OleCreatePropertyFrame(CWnd* pParent, const char* caption,
    const std::vector<IDispatch*>& objects, const std::vector<CLSID>& pages)
{
    CPropertyFrame frame(caption, objects, pages);
    if (frame.runModal(pParent) < 0)
        return E_FAIL;
    return S_OK;
}
