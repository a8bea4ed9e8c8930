#pragma once

// CContainerDialog: the test container's main window. A control chosen from the registered
// ones is inserted into the resizable area on the left; the list on the right shows its
// properties and methods from its type information. The selected property can be read (Get)
// and written (Set, the value typed in the box), the selected method called (Invoke, the
// arguments typed in the box separated by commas); the control's events are logged below it.
// Properties... opens the control's property frame; Save and Load write and read its
// persisted state (property-bag text) to and from the file named in the box.

#include "framework/dialogs/resizabledialog.h"
#include "platform/ole/site.h"
#include "tools/zorcontainer/containeroptions.h"

#include <memory>
#include <string>
#include <vector>

class CComboBox;
class QImage;
class CListBox;

class CContainerDialog : public CResizableDialog
{
public:
    explicit CContainerDialog(ContainerOptions options = {});
    ~CContainerDialog() override;

    BOOL OnInitDialog() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnDestroy() override;
    void OnCancel() override;

    // Creates the control by ProgID or class id in the area; the result of the site.
    HRESULT insertControl(const std::string& name);
    void removeControl();
    COleControl* control() const { return m_site ? m_site->control() : nullptr; }

    // By member name; false (with the reason in the status line) on failure.
    bool getProperty(const std::string& name, std::string* value);
    bool setProperty(const std::string& name, const std::string& value);
    bool invokeMethod(const std::string& name, const std::vector<std::string>& args,
        std::string* result = nullptr);
    bool saveState(const std::string& file);
    bool loadState(const std::string& file);
    // The modal property frame over the control.
    void openPropertyFrame();
    // Saves a PNG of the container, or of the property frame on the page.
    bool screenshot(const std::string& file, bool frame, int page);

    // One line per member: "dispid<TAB>name<TAB>kind and type".
    std::vector<std::string> memberLines() const;
    const std::vector<std::string>& eventLog() const { return m_events; }
    int exitCode() const { return m_nExitCode; }

private:
    void fillClasses();
    void fillMembers();
    void placeControl();
    void logEvent(DISPID dispid, const DISPPARAMS& params);
    void setStatus(const std::string& text);
    // The scripted steps of the command line, run once the window is up.
    void runScript();
    // The steps of a --script file in order; false when a line is wrong or a step failed.
    bool runScriptFile(const std::string& file);
    bool runStep(const ContainerStep& step);
    // The property frame opened on the page, drawn and closed again; null without a control.
    QImage grabPropertyFrame(int page);
    std::string selectedMember() const;

    ContainerOptions m_options;
    std::unique_ptr<COleControlSite> m_site;
    CComboBox* m_pClasses {nullptr};
    CListBox* m_pMembers {nullptr};
    CListBox* m_pEvents {nullptr};
    std::vector<std::string> m_events;
    int m_nExitCode {0};
};
