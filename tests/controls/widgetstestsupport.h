#pragma once

// What the tests of zorwidgets29 share: the module registered in the test's registry, controls
// hosted in a dialog of their own, dispatch shortcuts and pixels of the drawn control.

#include "platform/ole/control.h"
#include "platform/ole/site.h"
#include "platform/ui/dialog.h"

#include <QtGui/QImage>

#include <memory>
#include <string>
#include <vector>

class CDialog;

constexpr const char* c_lightId = "{01540154-0005-0000-0029-000000000004}";
constexpr const char* c_colorId = "{01540154-0006-0000-0029-000000000004}";
constexpr const char* c_urlId = "{01540154-0004-0000-0029-000000000004}";

// The module's file (ZORVEX_BIN_DIR/zorwidgets29.so), loaded, and registered once per process.
HMODULE widgetsModule();
std::string widgetsModulePath();
HRESULT callEntryPoint(const char* name);
void registerWidgets();

// Lets queued messages and paints run.
void pumpEvents();

// A control hosted in a modeless dialog: its site, dispatch and window.
class CHostedControl
{
public:
    CHostedControl(const char* classId, const std::string& initState, int width, int height);
    ~CHostedControl();

    bool ok() const { return m_hr == S_OK && control() != nullptr; }
    HRESULT createResult() const { return m_hr; }
    COleControl* control() const { return m_site.control(); }
    IDispatch* dispatch() const { return m_site.dispatch(); }
    CDialog& dialog() { return *m_dialog; }

    COleVariant get(DISPID dispid) const;
    LONG getLong(DISPID dispid) const;
    DWORD getColor(DISPID dispid) const;
    std::string getText(DISPID dispid) const;
    HRESULT put(DISPID dispid, const COleVariant& value);
    HRESULT putColor(DISPID dispid, DWORD value);
    HRESULT call(DISPID dispid, std::vector<COleVariant> args);

    // The control as drawn now.
    QImage grab();
    void click(int x, int y);
    // The events its site heard.
    std::vector<DISPID> events;

private:
    std::unique_ptr<CDialog> m_dialog;
    COleControlSite m_site;
    HRESULT m_hr {E_FAIL};
};

COleVariant colorArg(DWORD value);
// The colour of a pixel in the platform's byte order (red low).
COLORREF pixel(const QImage& image, int x, int y);
// The horizontal extent of the pixels of a colour: first and last column, -1 when none.
std::pair<int, int> columnsOf(const QImage& image, COLORREF color);
