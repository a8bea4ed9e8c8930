#include "tools/zorcontainer/containerdialog.h"

#include "platform/ole/proppage.h"
#include "platform/ui/controls.h"
#include "platform/ui/resources.h"
#include "platform/ui/winapp.h"
#include "tools/zorcontainer/controllist.h"
#include "tools/zorcontainer/resource.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QEvent>
#include <QtCore/QTimer>
#include <QtGui/QImage>
#include <QtWidgets/QWidget>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string variantText(const COleVariant& value)
{
    if (value.vt == VT_DISPATCH)
        return "(object)";
    if (value.vt == VT_EMPTY)
        return "";
    // Colours (OLE_COLOR) read best in hexadecimal, as they are typed.
    if (value.vt == VT_UI4) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value.ulVal));
        return text;
    }
    COleVariant text = value;
    if (!text.ChangeType(VT_BSTR))
        return "(?)";
    return text.bstrVal;
}

// The value typed for a property of that type: hexadecimal numbers ("0x00FF00FF", colours)
// and 1/0 for bools are read here; the rest goes as text and the control converts it.
COleVariant typedValue(const std::string& text, VARTYPE type)
{
    if ((type == VT_I4 || type == VT_UI4) && text.size() > 2 && text[0] == '0'
        && (text[1] == 'x' || text[1] == 'X')) {
        char* end = nullptr;
        const unsigned long number = std::strtoul(text.c_str() + 2, &end, 16);
        if (end != nullptr && *end == '\0') {
            COleVariant value(static_cast<long>(number));
            if (type == VT_UI4) {
                value.vt = VT_UI4;
                value.ulVal = static_cast<ULONG>(number);
            }
            return value;
        }
    }
    if (type == VT_BOOL && (text == "1" || text == "0"))
        return COleVariant::makeBool(text == "1");
    return COleVariant(text);
}

std::string memberText(const ZorMemberInfo& member)
{
    std::string text = std::to_string(member.dispid) + "\t" + member.name + "\t";
    if (member.kind == ZorMemberInfo::eKIND_PROPERTY) {
        text += "property " + zorTypeName(member.type);
        if (member.readOnly)
            text += " (read-only)";
        return text;
    }
    text += "method " + (member.type == VT_EMPTY ? std::string("void") : zorTypeName(member.type))
        + "(";
    for (std::size_t i = 0; i < member.params.size(); ++i) {
        if (i > 0)
            text += ", ";
        text += zorTypeName(member.params[i].type) + " " + member.params[i].name;
    }
    return text + ")";
}

} // namespace

CContainerDialog::CContainerDialog(ContainerOptions options)
    : CResizableDialog(IDD_CONTAINER), m_options(std::move(options))
{
    onCommand(IDC_INSERT, BN_CLICKED, [this] {
        const int index = m_pClasses ? m_pClasses->GetCurSel() : -1;
        if (index < 0)
            return;
        std::string name;
        m_pClasses->GetLBText(index, name);
        insertControl(name);
    });
    onCommand(IDC_REMOVE, BN_CLICKED, [this] { removeControl(); });
    onCommand(IDC_GET, BN_CLICKED, [this] {
        std::string value;
        if (getProperty(selectedMember(), &value))
            SetDlgItemText(IDC_VALUE, value.c_str());
    });
    onCommand(
        IDC_SET, BN_CLICKED, [this] { setProperty(selectedMember(), GetDlgItemText(IDC_VALUE)); });
    onCommand(IDC_INVOKE, BN_CLICKED, [this] {
        std::string result;
        if (invokeMethod(selectedMember(), splitArguments(GetDlgItemText(IDC_VALUE)), &result))
            setStatus("Result: " + result);
    });
    onCommand(IDC_PROPERTIES, BN_CLICKED, [this] { openPropertyFrame(); });
    onCommand(IDC_SAVE, BN_CLICKED, [this] { saveState(GetDlgItemText(IDC_FILE)); });
    onCommand(IDC_LOAD, BN_CLICKED, [this] { loadState(GetDlgItemText(IDC_FILE)); });
}

CContainerDialog::~CContainerDialog()
{
    removeControl();
}

BOOL CContainerDialog::OnInitDialog()
{
    CResizableDialog::OnInitDialog();
    m_pClasses = dynamic_cast<CComboBox*>(GetDlgItem(IDC_CLASSES));
    m_pMembers = dynamic_cast<CListBox*>(GetDlgItem(IDC_MEMBERS));
    m_pEvents = dynamic_cast<CListBox*>(GetDlgItem(IDC_EVENTS));
    if (m_pMembers != nullptr) {
        // Dispatch id, name, then kind and type.
        const int stops[] = {18, 84};
        m_pMembers->SetTabStops(2, stops);
    }

    addAnchor(IDC_CLASSES, anchorTopLeft, anchorTopRight);
    addAnchor(IDC_INSERT, anchorTopRight);
    addAnchor(IDC_REMOVE, anchorTopRight);
    addAnchor(IDC_HOST_AREA, anchorTopLeft, anchorBottomRight);
    addAnchor(IDC_MEMBERS, anchorTopRight, anchorBottomRight);
    addAnchor(IDC_VALUE, anchorBottomRight);
    addAnchor(IDC_GET, anchorBottomRight);
    addAnchor(IDC_SET, anchorBottomRight);
    addAnchor(IDC_INVOKE, anchorBottomRight);
    addAnchor(IDC_EVENTS, anchorBottomLeft, anchorBottomRight);
    addAnchor(IDC_PROPERTIES, anchorBottomRight);
    addAnchor(IDC_FILE, anchorBottomRight);
    addAnchor(IDC_SAVE, anchorBottomRight);
    addAnchor(IDC_LOAD, anchorBottomRight);
    addAnchor(IDC_STATUS, anchorBottomLeft, anchorBottomRight);
    addAnchor(IDCANCEL, anchorBottomRight);

    if (CWinApp* app = AfxGetApp()) {
        if (QWidget* window = widget())
            window->setWindowIcon(zorQIcon(app->LoadIcon(IDI_CONTAINER)));
    }
    if (m_options.width > 0 && m_options.height > 0) {
        CRect rect;
        GetWindowRect(&rect);
        MoveWindow(rect.left, rect.top, m_options.width, m_options.height);
    }
    fillClasses();
    if (!m_options.insert.empty())
        insertControl(m_options.insert);
    if (m_options.scripted() || !m_options.sets.empty() || !m_options.invokes.empty()
        || !m_options.load.empty() || m_options.frame || !m_options.script.empty())
        QTimer::singleShot(0, widget(), [this] { runScript(); });
    return TRUE;
}

void CContainerDialog::fillClasses()
{
    if (m_pClasses == nullptr)
        return;
    m_pClasses->ResetContent();
    for (const ZorRegisteredControl& control : zorRegisteredControls())
        m_pClasses->AddString(control.name().c_str());
    if (m_pClasses->GetCount() > 0)
        m_pClasses->SetCurSel(0);
}

HRESULT CContainerDialog::insertControl(const std::string& name)
{
    removeControl();
    CWnd* area = GetDlgItem(IDC_HOST_AREA);
    CRect rect(0, 0, 100, 100);
    if (area != nullptr && area->widget() != nullptr) {
        const QRect g = area->widget()->geometry();
        rect = CRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
        rect.DeflateRect(8, 8);
    }
    auto site = std::make_unique<COleControlSite>();
    site->setEventHandler(
        [this](DISPID dispid, const DISPPARAMS& params) { logEvent(dispid, params); });
    const HRESULT hr = site->create(name.c_str(), "", this, rect, IDC_CONTROL);
    if (FAILED(hr)) {
        char text[160];
        std::snprintf(
            text, sizeof text, "Cannot insert %s: 0x%08X", name.c_str(), static_cast<unsigned>(hr));
        setStatus(text);
        return hr;
    }
    m_site = std::move(site);
    if (m_pClasses != nullptr) {
        const int index = m_pClasses->FindStringExact(-1, name.c_str());
        if (index >= 0)
            m_pClasses->SetCurSel(index);
    }
    fillMembers();
    setStatus("Inserted " + name);
    return hr;
}

void CContainerDialog::removeControl()
{
    if (!m_site)
        return;
    m_site->destroy();
    m_site.reset();
    if (m_pMembers != nullptr)
        m_pMembers->ResetContent();
}

std::vector<std::string> CContainerDialog::memberLines() const
{
    std::vector<std::string> lines;
    const COleControl* c = control();
    const ZorTypeInfo* info = c ? c->GetTypeInfo() : nullptr;
    if (info == nullptr)
        return lines;
    for (const ZorMemberInfo& member : info->dispatch.members)
        lines.push_back(memberText(member));
    for (const ZorMemberInfo& event : info->events.members)
        lines.push_back(std::to_string(event.dispid) + "\t" + event.name + "\tevent");
    return lines;
}

void CContainerDialog::fillMembers()
{
    if (m_pMembers == nullptr)
        return;
    m_pMembers->ResetContent();
    for (const std::string& line : memberLines())
        m_pMembers->AddString(line.c_str());
}

std::string CContainerDialog::selectedMember() const
{
    if (m_pMembers == nullptr || m_pMembers->GetCurSel() < 0)
        return {};
    std::string line;
    m_pMembers->GetText(m_pMembers->GetCurSel(), line);
    const std::size_t first = line.find('\t');
    const std::size_t second = line.find('\t', first + 1);
    if (first == std::string::npos)
        return {};
    return line.substr(first + 1, second - first - 1);
}

void CContainerDialog::placeControl()
{
    CWnd* area = GetDlgItem(IDC_HOST_AREA);
    if (!m_site || m_site->window() == nullptr || area == nullptr || area->widget() == nullptr)
        return;
    const QRect g = area->widget()->geometry();
    CRect rect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
    rect.DeflateRect(8, 8);
    m_site->window()->MoveWindow(&rect);
}

void CContainerDialog::OnSize(UINT nType, int cx, int cy)
{
    CResizableDialog::OnSize(nType, cx, cy);
    placeControl();
}

void CContainerDialog::OnDestroy()
{
    // The control goes before the dialog's own windows, whose objects go with them.
    removeControl();
    m_pClasses = nullptr;
    m_pMembers = nullptr;
    m_pEvents = nullptr;
    CResizableDialog::OnDestroy();
}

void CContainerDialog::OnCancel()
{
    removeControl();
    CResizableDialog::OnCancel();
}

bool CContainerDialog::getProperty(const std::string& name, std::string* value)
{
    IDispatch* object = m_site ? m_site->dispatch() : nullptr;
    DISPID dispid = DISPID_UNKNOWN;
    if (object == nullptr || FAILED(object->GetIDsOfNames(name.c_str(), &dispid))) {
        setStatus("No property " + name);
        return false;
    }
    COleVariant result;
    const HRESULT hr = zorGetProperty(object, dispid, &result);
    if (FAILED(hr)) {
        char text[160];
        std::snprintf(
            text, sizeof text, "Get %s failed: 0x%08X", name.c_str(), static_cast<unsigned>(hr));
        setStatus(text);
        return false;
    }
    *value = variantText(result);
    setStatus(name + " = " + *value);
    return true;
}

bool CContainerDialog::setProperty(const std::string& name, const std::string& value)
{
    IDispatch* object = m_site ? m_site->dispatch() : nullptr;
    DISPID dispid = DISPID_UNKNOWN;
    if (object == nullptr || FAILED(object->GetIDsOfNames(name.c_str(), &dispid))) {
        setStatus("No property " + name);
        return false;
    }
    VARTYPE type = VT_BSTR;
    if (const ZorTypeInfo* info = object->GetTypeInfo()) {
        if (const ZorMemberInfo* member = info->dispatch.find(dispid))
            type = member->type;
    }
    const HRESULT hr = zorPutProperty(object, dispid, typedValue(value, type));
    if (FAILED(hr)) {
        char text[160];
        std::snprintf(
            text, sizeof text, "Set %s failed: 0x%08X", name.c_str(), static_cast<unsigned>(hr));
        setStatus(text);
        return false;
    }
    setStatus(name + " set to " + value);
    return true;
}

bool CContainerDialog::invokeMethod(
    const std::string& name, const std::vector<std::string>& args, std::string* result)
{
    IDispatch* object = m_site ? m_site->dispatch() : nullptr;
    DISPID dispid = DISPID_UNKNOWN;
    if (object == nullptr || FAILED(object->GetIDsOfNames(name.c_str(), &dispid))) {
        setStatus("No method " + name);
        return false;
    }
    const ZorMemberInfo* member = nullptr;
    if (const ZorTypeInfo* info = object->GetTypeInfo())
        member = info->dispatch.find(dispid);
    std::vector<COleVariant> values;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const VARTYPE type = member && i < member->params.size() ? member->params[i].type
                                                                 : static_cast<VARTYPE>(VT_BSTR);
        values.push_back(typedValue(args[i], type));
    }
    COleVariant answer;
    const HRESULT hr = zorInvoke(object, dispid, DISPATCH_METHOD, values, &answer);
    if (FAILED(hr)) {
        char text[160];
        std::snprintf(
            text, sizeof text, "Invoke %s failed: 0x%08X", name.c_str(), static_cast<unsigned>(hr));
        setStatus(text);
        return false;
    }
    if (result != nullptr)
        *result = variantText(answer);
    return true;
}

bool CContainerDialog::saveState(const std::string& file)
{
    COleControl* c = control();
    std::string text;
    if (c == nullptr || file.empty() || FAILED(c->saveToBag(&text))) {
        setStatus("Nothing saved");
        return false;
    }
    std::ofstream out(file, std::ios::binary);
    out << text;
    if (!out) {
        setStatus("Cannot write " + file);
        return false;
    }
    setStatus("Saved to " + file);
    return true;
}

bool CContainerDialog::loadState(const std::string& file)
{
    COleControl* c = control();
    std::ifstream in(file, std::ios::binary);
    if (c == nullptr || !in) {
        setStatus("Cannot read " + file);
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    const HRESULT hr = c->loadFromBag(text.str());
    c->InvalidateControl();
    setStatus(SUCCEEDED(hr) ? "Loaded " + file : "Loaded " + file + " (with defaults)");
    return SUCCEEDED(hr);
}

void CContainerDialog::openPropertyFrame()
{
    COleControl* c = control();
    if (c == nullptr)
        return;
    std::vector<IDispatch*> objects {c};
    OleCreatePropertyFrame(this, "Properties", objects, c->GetPropPageIDs());
    c->InvalidateControl();
}

bool CContainerDialog::screenshot(const std::string& file, bool frame, int page)
{
    const QImage image = frame ? grabPropertyFrame(page) : grabClient();
    return !image.isNull() && image.save(QString::fromStdString(file), "PNG");
}

QImage CContainerDialog::grabPropertyFrame(int page)
{
    COleControl* c = control();
    if (c == nullptr)
        return {};
    CPropertyFrame propertyFrame("Properties", {c}, c->GetPropPageIDs());
    if (!propertyFrame.createFrame(this))
        return {};
    if (page > 0 && page < propertyFrame.pageCount())
        propertyFrame.setActivePage(page);
    propertyFrame.ShowWindow(SW_SHOW);
    QImage image = propertyFrame.grabClient();
    propertyFrame.DestroyWindow();
    return image;
}

namespace {

// The resident set of this process in kB, 0 where /proc does not say.
long residentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return 0;
}

} // namespace

bool CContainerDialog::runStep(const ContainerStep& step)
{
    switch (step.kind) {
    case ContainerStep::eSTEP_NONE:
        return true;
    case ContainerStep::eSTEP_SET:
        return setProperty(step.name, step.value);
    case ContainerStep::eSTEP_INVOKE:
        return invokeMethod(step.name, step.args);
    case ContainerStep::eSTEP_FRAME:
        return !grabPropertyFrame(step.page).isNull();
    case ContainerStep::eSTEP_MEMORY:
        std::printf("memory: %ld kB\n", residentKilobytes());
        std::fflush(stdout);
        return true;
    }
    return false;
}

bool CContainerDialog::runScriptFile(const std::string& file)
{
    std::ifstream in(file);
    if (!in) {
        setStatus("Cannot read " + file);
        return false;
    }
    bool ok = true;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        ContainerStep step;
        std::string error;
        if (!parseContainerStep(line, &step, &error)) {
            setStatus(file + ":" + std::to_string(number) + ": " + error);
            ok = false;
            continue;
        }
        ok = runStep(step) && ok;
        // Repaints and timers run between steps, and windows a step closed go, as they would
        // between a user's clicks (the script runs inside the dialog's loop, where closed
        // windows would otherwise wait for its end).
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return ok;
}

void CContainerDialog::logEvent(DISPID dispid, const DISPPARAMS& params)
{
    std::string name = std::to_string(dispid);
    if (COleControl* c = control()) {
        if (const ZorTypeInfo* info = c->GetTypeInfo()) {
            if (const ZorMemberInfo* event = info->events.find(dispid))
                name = event->name;
        }
    }
    std::string line = name + "(";
    for (std::size_t i = 0; i < params.args.size(); ++i)
        line += (i > 0 ? ", " : "") + variantText(params.args[i]);
    line += ")";
    m_events.push_back(line);
    if (m_pEvents != nullptr)
        m_pEvents->AddString(line.c_str());
    if (m_options.scripted())
        std::printf("event: %s\n", line.c_str());
}

void CContainerDialog::setStatus(const std::string& text)
{
    SetDlgItemText(IDC_STATUS, text.c_str());
    if (m_options.scripted())
        std::printf("%s\n", text.c_str());
}

void CContainerDialog::runScript()
{
    bool ok = m_options.insert.empty() || m_site != nullptr;
    if (ok && !m_options.load.empty())
        ok = loadState(m_options.load);
    for (const auto& [name, value] : m_options.sets)
        ok = setProperty(name, value) && ok;
    for (const auto& [name, args] : m_options.invokes)
        ok = invokeMethod(name, args) && ok;
    if (!m_options.script.empty())
        ok = runScriptFile(m_options.script) && ok;
    if (m_options.members) {
        for (const std::string& line : memberLines())
            std::printf("%s\n", line.c_str());
    }
    if (!m_options.screenshot.empty())
        ok = screenshot(m_options.screenshot, m_options.frame, m_options.page) && ok;
    else if (m_options.frame && !m_options.scripted())
        openPropertyFrame();
    if (!m_options.save.empty())
        ok = saveState(m_options.save) && ok;
    std::fflush(stdout);
    m_nExitCode = ok ? 0 : 1;
    if (m_options.scripted()) {
        removeControl();
        EndDialog(m_nExitCode == 0 ? static_cast<int>(IDOK) : static_cast<int>(IDCANCEL));
    }
}
