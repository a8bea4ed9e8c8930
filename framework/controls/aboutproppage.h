#pragma once

// The About page every control of the suite's control modules has: the control's icon, the
// version of the module that holds it, the maker's legal notice and a link to the maker's web
// site (a hosted URL control).

#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"
#include "platform/ui/dialogtemplate.h"

class CZorAboutPropPage : public COlePropertyPage
{
public:
    // The template and the id of its version text.
    CZorAboutPropPage(UINT nIDTemplate, UINT nIDVersion, UINT nIDCaption);

    BOOL OnInitDialog() override;

    // The template of an About page: icon, version text, legal notice and link.
    static DialogTemplate makeTemplate(
        UINT nIDTemplate, UINT nIDIcon, UINT nIDVersion, UINT nIDLink);

private:
    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    UINT m_nIDVersion {0};
};
