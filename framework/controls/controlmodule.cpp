#include "framework/controls/controlmodule.h"

#include "platform/ole/oleinit.h"

bool CControlModule::InitInstance()
{
    if (m_initialised)
        return true;
    m_initialised = true;
    AfxOleInit();
    // The pages host the colour and URL controls.
    AfxEnableControlContainer();
    m_registryKey = "Zorvex";
    return true;
}
