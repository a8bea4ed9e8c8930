#pragma once

// The link's "General" page: the address, the frame and the justification.

#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"

class CUrlPropPage : public COlePropertyPage
{
public:
    CUrlPropPage();
    ~CUrlPropPage() override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    std::string m_url;
    int m_box {0};
    int m_justify {1};
};
