#pragma once

// Property pages bound to control properties by name, the property frame and the stock font
// page.
//
// A COlePropertyPage is a page dialog (CPropertyPage) created through its class factory. The
// frame gives it the objects it edits (SetObjects); its DoDataExchange links each dialog control
// to a property with the DDP_ calls beside the DDX_ calls: on opening the frame reads each
// property (by name through the first object's dispatch) into the control, on Apply it writes
// the control's value into every object. A page becomes modified when one of its controls
// changes (check box clicks, edit changes, list selection changes; hosted controls by their
// command with code 0 when the page says so).
//
// OleCreatePropertyFrame opens the modal frame: one tab per page in the order given, OK (apply
// and close), Cancel (close) and Apply (enabled while a page is modified).

#include "platform/ole/com.h"
#include "platform/ui/dialog.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QEventLoop;

extern const CLSID CLSID_StockFontPage; // {0BE35200-8F91-11CE-9DE3-00AA004BB851}
extern const IID IID_IPropertyPage;

// Registers the pages the platform provides (the stock font page) as built-in classes; done
// by the control base, the container installation and the frame, once.
void zorRegisterStockPropertyPages();

class COlePropertyPage : public CPropertyPage, public IUnknown
{
public:
    COlePropertyPage(UINT nIDTemplate, UINT nIDCaption);
    ~COlePropertyPage() override;

    HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG AddRef() override;
    ULONG Release() override;

    void SetObjects(const std::vector<IDispatch*>& objects); // AddRef'd
    const std::vector<IDispatch*>& GetObjects() const { return m_objects; }
    // Properties by name on the edited objects.
    bool getProperty(const char* name, COleVariant* value) const;
    bool putProperty(const char* name, const COleVariant& value);

    // The page marks itself modified on control changes (the base does for the kinds above).
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;
    // The frame that shows the page (it enables Apply on a change).
    void setFrame(CWnd* frame) { m_frame = frame; }
    // The module the page was made in: its template and strings are looked up there.
    HMODULE module() const { return m_module; }

    // DDP_ calls of a saving exchange run before the DDX_ call that reads the control, so the
    // write is queued and done by DDP_PostProcessing (or at the end of Apply).
    void queuePropertyWrite(std::function<void()> write);
    void flushPropertyWrites();
    // True while the page fills its controls (their change notifications do not modify it).
    bool isInitializing() const { return m_initializing; }

private:
    std::vector<IDispatch*> m_objects;
    CWnd* m_frame {nullptr};
    ULONG m_refs {1};
    HMODULE m_module {nullptr};
    bool m_initializing {false};
    bool m_applying {false};
    std::vector<std::function<void()>> m_pendingWrites;
};

// Exchange of a control of the page with a property of the edited objects.
void DDP_Text(CDataExchange* pDX, int nIDC, std::string& value, const char* pszPropName);
void DDP_Text(CDataExchange* pDX, int nIDC, int& value, const char* pszPropName);
void DDP_Check(CDataExchange* pDX, int nIDC, int& value, const char* pszPropName);
void DDP_CBIndex(CDataExchange* pDX, int nIDC, int& value, const char* pszPropName);
// A hosted control's property (dispid) with a property of the edited objects, as a 32-bit value.
void DDP_HostedProperty(CDataExchange* pDX, int nIDC, DISPID hostedDispid, const char* pszPropName);
void DDP_PostProcessing(CDataExchange* pDX);

// Opens the modal property frame over the objects with the pages (class ids, in order).
// S_OK after OK or Cancel; a page that cannot be created is left out.
HRESULT OleCreatePropertyFrame(CWnd* pParent, const char* caption,
    const std::vector<IDispatch*>& objects, const std::vector<CLSID>& pages);

// The frame without running it modally (for tests and tools): created, pages made, first page
// shown. The caller destroys it.
class CPropertyFrame : public CDialog
{
public:
    CPropertyFrame(const char* caption, const std::vector<IDispatch*>& objects,
        const std::vector<CLSID>& pages);
    ~CPropertyFrame() override;
    BOOL createFrame(CWnd* pParent);
    INT_PTR runModal(CWnd* pParent);
    int pageCount() const { return static_cast<int>(m_pages.size()); }
    COlePropertyPage* page(int index) const;
    std::string pageCaption(int index) const;
    void setActivePage(int index);
    int activePage() const { return m_active; }
    // Apply: every modified page applies; false when one refused.
    bool apply();
    bool applyEnabled() const;
    void onPageModified();

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // The id of the Apply button.
    static constexpr int c_idApply = 0x3021;

private:
    DialogTemplate buildTemplate() const;
    void makePages();
    std::unique_ptr<CWnd> m_tabs;
    std::unique_ptr<CWnd> m_area;
    QEventLoop* m_loop {nullptr};
    CSize m_pageUnits; // the largest page in the frame's dialog units

    std::string m_caption;
    std::vector<IDispatch*> m_objects;
    std::vector<CLSID> m_pageIds;
    std::vector<COlePropertyPage*> m_pages;
    int m_active {-1};
};
