#include "framework/controls/aboutproppage.h"

#include "framework/controls/pagerows.h"
#include "framework/identity/suitecontrols.h"
#include "framework/version/moduleversion.h"
#include "platform/module/module.h"

#include <map>

namespace {

// The initial state of the About pages' link: the maker's address in blue, purple once
// visited, on button face, left-aligned, in "MS Sans Serif" 8.25.
constexpr const char* c_szLinkState
    = "URL=" ZOR_MAKER_URL "\nBox=0\nColor=0x00FF0000\nVisitedColor=0x00800080"
      "\nBackgroundColor=0x0F000000\nJustify=0"
      "\nFont=MS Sans Serif,8.25,400,0,0,0,0\n";

// The icon row's text names the icon resource: "#" and its number. Template rows keep their
// texts as plain pointers, so each text lives as long as the module.
const char* iconText(UINT nIDIcon)
{
    static std::map<UINT, std::string> texts;
    auto [it, inserted] = texts.try_emplace(nIDIcon);
    if (inserted)
        it->second = "#" + std::to_string(nIDIcon);
    return it->second.c_str();
}

} // namespace

CZorAboutPropPage::CZorAboutPropPage(UINT nIDTemplate, UINT nIDVersion, UINT nIDCaption)
    : COlePropertyPage(nIDTemplate, nIDCaption), m_nIDVersion(nIDVersion)
{ }

BOOL CZorAboutPropPage::OnInitDialog()
{
    COlePropertyPage::OnInitDialog();
    // The version of this module, not of the program that hosts the page.
    SetDlgItemText(static_cast<int>(m_nIDVersion), getModuleVersion(ZOR_THIS_MODULE()).c_str());
    return TRUE;
}

DialogTemplate CZorAboutPropPage::makeTemplate(
    UINT nIDTemplate, UINT nIDIcon, UINT nIDVersion, UINT nIDLink)
{
    DialogItem link = zorHostedRow(
        static_cast<int>(nIDLink), c_szUrlProgId, c_szLinkState, 40, 52, 150, 10, WS_TABSTOP);
    return zorPageTemplate(nIDTemplate, "About",
        {{eDLG_STATIC, -1, iconText(nIDIcon), 10, 10, 20, 20, SS_ICON},
            {eDLG_STATIC, static_cast<int>(nIDVersion), "Version", 40, 10, 200, 8, SS_LEFT},
            {eDLG_STATIC, -1,
                "Copyright (C) 1998-2026 Zorvex. All rights reserved.\n"
                "This module may be used only under the terms of its licence.",
                40, 26, 200, 18, SS_LEFT},
            link});
}
