#pragma once

// The picker's "General" page: five edit boxes, one per string property (DefaultPath,
// DefaultFile, File, DefaultFilePrompt, DialogTitle).

#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"

#include <string>

class CPathPickPropPage : public COlePropertyPage
{
public:
    CPathPickPropPage();
    ~CPathPickPropPage() override;

    void DoDataExchange(CDataExchange* pDX) override;

private:
    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    std::string m_defaultPath;
    std::string m_defaultFile;
    std::string m_file;
    std::string m_defaultFilePrompt;
    std::string m_dialogTitle;
};
