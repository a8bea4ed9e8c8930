#include "framework/controls/aboutproppage.h"

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
    DialogTemplate tmpl;
    tmpl.id = nIDTemplate;
    tmpl.caption = "About";
    tmpl.cx = 250;
    tmpl.cy = 110;
    tmpl.style = WS_CHILD;
    DialogItem icon;
    icon.kind = eDLG_STATIC;
    icon.id = -1;
    icon.text = iconText(nIDIcon);
    icon.x = 10;
    icon.y = 10;
    icon.cx = 20;
    icon.cy = 20;
    icon.style = SS_ICON;
    DialogItem version;
    version.kind = eDLG_STATIC;
    version.id = static_cast<int>(nIDVersion);
    version.text = "Version";
    version.x = 40;
    version.y = 10;
    version.cx = 200;
    version.cy = 8;
    version.style = SS_LEFT;
    DialogItem legal;
    legal.kind = eDLG_STATIC;
    legal.id = -1;
    legal.text = "Copyright (C) 1998-2026 Zorvex. All rights reserved.\n"
                 "This module may be used only under the terms of its licence.";
    legal.x = 40;
    legal.y = 26;
    legal.cx = 200;
    legal.cy = 18;
    legal.style = SS_LEFT;
    DialogItem link;
    link.kind = eDLG_HOSTED;
    link.id = static_cast<int>(nIDLink);
    link.text = "";
    link.x = 40;
    link.y = 52;
    link.cx = 150;
    link.cy = 10;
    link.style = WS_TABSTOP;
    link.classId = c_szUrlProgId;
    link.initState = c_szLinkState;
    tmpl.items = {icon, version, legal, link};
    return tmpl;
}
