#pragma once

// The clock's About page: its icon, the version of this module, the maker's legal notice and a
// link to the maker's web site (a hosted URL control).

#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"
#include "platform/ui/dialogtemplate.h"

class CClockAboutPropPage : public COlePropertyPage
{
public:
    CClockAboutPropPage();
    ~CClockAboutPropPage() override;

    BOOL OnInitDialog() override;

    // The page's template: icon, version text, legal notice and link.
    static DialogTemplate makeTemplate();

private:
    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
};
