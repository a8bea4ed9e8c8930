#include "platform/ole/fontpage.h"

#include "platform/ole/control.h"
#include "platform/ole/factory.h"
#include "platform/ole/typeinfo.h"
#include "platform/ui/controls.h"

#include <QtGui/QFontDatabase>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>

// {0BE35200-8F91-11CE-9DE3-00AA004BB851}
const CLSID CLSID_StockFontPage
    = {0x0BE35200, 0x8F91, 0x11CE, {0x9D, 0xE3, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};

namespace {

constexpr DWORD c_pageStyle = WS_CHILD;

// The page template is the platform's own, so it is registered for the program and found
// whichever module opens the frame.
const CDialogTableRegistrar c_fontPageTemplates(nullptr,
    {
        {CFontPage::eIDS_TEMPLATE, "Font", 250, 110, "MS Sans Serif", 8, c_pageStyle,
            {
                {eDLG_STATIC, -1, "&Property:", 7, 7, 60, 8},
                {eDLG_COMBOBOX, CFontPage::eIDS_PROPERTY, "", 7, 17, 110, 60,
                    CBS_DROPDOWNLIST | WS_TABSTOP},
                {eDLG_STATIC, -1, "&Font:", 7, 37, 60, 8},
                {eDLG_COMBOBOX, CFontPage::eIDS_FACE, "", 7, 47, 110, 80,
                    CBS_DROPDOWNLIST | CBS_SORT | WS_TABSTOP},
                {eDLG_STATIC, -1, "&Size:", 125, 37, 40, 8},
                {eDLG_EDIT, CFontPage::eIDS_SIZE, "", 125, 47, 40, 14, ES_AUTOHSCROLL | WS_TABSTOP},
                {eDLG_GROUPBOX, -1, "Effects", 175, 7, 68, 70},
                {eDLG_CHECKBOX, CFontPage::eIDS_BOLD, "&Bold", 182, 19, 55, 10, WS_TABSTOP},
                {eDLG_CHECKBOX, CFontPage::eIDS_ITALIC, "&Italic", 182, 33, 55, 10, WS_TABSTOP},
                {eDLG_CHECKBOX, CFontPage::eIDS_UNDERLINE, "&Underline", 182, 47, 55, 10,
                    WS_TABSTOP},
                {eDLG_CHECKBOX, CFontPage::eIDS_STRIKEOUT, "S&trikeout", 182, 61, 55, 10,
                    WS_TABSTOP},
            }},
    });

// Weights from semi-bold up count as bold.
constexpr SHORT c_boldFrom = 600;

} // namespace

void zorRegisterStockPropertyPages()
{
    static std::once_flag once;
    std::call_once(once, [] {
        zorRegisterBuiltinClass(
            CLSID_StockFontPage, [] { return static_cast<IUnknown*>(new CFontPage); });
    });
}

CFontPage::CFontPage() : COlePropertyPage(eIDS_TEMPLATE, 0) { }

std::vector<std::string> CFontPage::faceList()
{
    std::vector<std::string> faces = {"MS Sans Serif", "System", "Arial", "Helvetica",
        "Times New Roman", "Times", "Courier New", "Courier"};
    for (const QString& family : QFontDatabase::families()) {
        const std::string name = family.toStdString();
        if (!name.empty() && std::find(faces.begin(), faces.end(), name) == faces.end())
            faces.push_back(name);
    }
    return faces;
}

std::string CFontPage::formatPoints(LONGLONG cySize)
{
    // Hundredths of a point are what the field shows; the zeros of the fraction go.
    const long long hundredths = static_cast<long long>((cySize + 50) / 100);
    char text[32];
    if (hundredths % 100 == 0)
        std::snprintf(text, sizeof text, "%lld", hundredths / 100);
    else if (hundredths % 10 == 0)
        std::snprintf(text, sizeof text, "%lld.%lld", hundredths / 100, (hundredths % 100) / 10);
    else
        std::snprintf(text, sizeof text, "%lld.%02lld", hundredths / 100, hundredths % 100);
    return text;
}

void CFontPage::findProperties()
{
    m_names.clear();
    m_fonts.clear();
    if (GetObjects().empty())
        return;
    IDispatch* first = GetObjects().front();
    auto addName = [this, first](const std::string& name) {
        if (std::find(m_names.begin(), m_names.end(), name) != m_names.end())
            return;
        COleVariant value;
        FONTDESC desc;
        if (!getProperty(name.c_str(), &value) || value.vt != VT_DISPATCH
            || !zorFontDescOfDispatch(value.pdispVal, &desc))
            return;
        m_names.push_back(name);
        m_fonts[name] = desc;
    };
    addName("Font");
    if (const ZorTypeInfo* info = first->GetTypeInfo()) {
        for (const ZorMemberInfo& member : info->dispatch.members) {
            if (member.kind == ZorMemberInfo::eKIND_PROPERTY && member.type == VT_DISPATCH)
                addName(member.name);
        }
    }
}

std::string CFontPage::currentName() const
{
    if (m_current < 0 || m_current >= static_cast<int>(m_names.size()))
        return {};
    return m_names[static_cast<std::size_t>(m_current)];
}

void CFontPage::showFont(const std::string& name)
{
    const auto it = m_fonts.find(name);
    if (it == m_fonts.end())
        return;
    const FONTDESC& desc = it->second;
    if (auto* faces = dynamic_cast<CComboBox*>(GetDlgItem(eIDS_FACE))) {
        int index = faces->FindStringExact(-1, desc.lpstrName.c_str());
        if (index == CB_ERR)
            index = faces->AddString(desc.lpstrName.c_str());
        faces->SetCurSel(index);
    }
    SetDlgItemText(eIDS_SIZE, formatPoints(desc.cySize).c_str());
    CheckDlgButton(eIDS_BOLD, desc.sWeight >= c_boldFrom ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(eIDS_ITALIC, desc.fItalic ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(eIDS_UNDERLINE, desc.fUnderline ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(eIDS_STRIKEOUT, desc.fStrikethrough ? BST_CHECKED : BST_UNCHECKED);
}

void CFontPage::storeFont(const std::string& name)
{
    const auto it = m_fonts.find(name);
    if (it == m_fonts.end())
        return;
    FONTDESC& desc = it->second;
    if (auto* faces = dynamic_cast<CComboBox*>(GetDlgItem(eIDS_FACE))) {
        const int index = faces->GetCurSel();
        if (index != CB_ERR) {
            std::string face;
            faces->GetLBText(index, face);
            if (!face.empty())
                desc.lpstrName = face;
        }
    }
    // A size that does not read as a positive number keeps the one before.
    const std::string size = GetDlgItemText(eIDS_SIZE);
    char* end = nullptr;
    const double points = std::strtod(size.c_str(), &end);
    if (end && end != size.c_str() && *end == '\0' && points > 0 && points < 10000)
        desc.cySize = std::llround(points * 10000);
    const bool bold = IsDlgButtonChecked(eIDS_BOLD) == BST_CHECKED;
    if (bold && desc.sWeight < c_boldFrom)
        desc.sWeight = 700;
    else if (!bold && desc.sWeight >= c_boldFrom)
        desc.sWeight = 400;
    desc.fItalic = IsDlgButtonChecked(eIDS_ITALIC) == BST_CHECKED;
    desc.fUnderline = IsDlgButtonChecked(eIDS_UNDERLINE) == BST_CHECKED;
    desc.fStrikethrough = IsDlgButtonChecked(eIDS_STRIKEOUT) == BST_CHECKED;
}

void CFontPage::DoDataExchange(CDataExchange* pDX)
{
    COlePropertyPage::DoDataExchange(pDX);
    if (!pDX->m_bSaveAndValidate) {
        if (!m_filled) {
            m_filled = true;
            findProperties();
            if (auto* props = dynamic_cast<CComboBox*>(GetDlgItem(eIDS_PROPERTY))) {
                props->ResetContent();
                for (const std::string& name : m_names)
                    props->AddString(name.c_str());
            }
            if (auto* faces = dynamic_cast<CComboBox*>(GetDlgItem(eIDS_FACE))) {
                faces->ResetContent();
                for (const std::string& face : faceList())
                    faces->AddString(face.c_str());
            }
            m_current = m_names.empty() ? -1 : 0;
            if (auto* props = dynamic_cast<CComboBox*>(GetDlgItem(eIDS_PROPERTY)))
                props->SetCurSel(m_current);
        }
        showFont(currentName());
        return;
    }
    storeFont(currentName());
    // Every font property goes to every object, through each object's own font object.
    queuePropertyWrite([this] {
        for (const std::string& name : m_names) {
            const FONTDESC desc = m_fonts[name];
            for (IDispatch* object : GetObjects()) {
                DISPID dispid = DISPID_UNKNOWN;
                COleVariant font;
                if (FAILED(object->GetIDsOfNames(name.c_str(), &dispid))
                    || FAILED(zorGetProperty(object, dispid, &font)) || font.vt != VT_DISPATCH
                    || !font.pdispVal)
                    continue;
                zorPutFontDesc(font.pdispVal, desc);
            }
        }
    });
}

BOOL CFontPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // Choosing another property shows its font; it changes nothing by itself.
    if (LOWORD(static_cast<DWORD>(wParam)) == eIDS_PROPERTY) {
        if (HIWORD(static_cast<DWORD>(wParam)) == CBN_SELCHANGE && !isInitializing()) {
            storeFont(currentName());
            if (auto* props = dynamic_cast<CComboBox*>(GetDlgItem(eIDS_PROPERTY)))
                m_current = props->GetCurSel();
            showFont(currentName());
        }
        return TRUE;
    }
    return COlePropertyPage::OnCommand(wParam, lParam);
}
