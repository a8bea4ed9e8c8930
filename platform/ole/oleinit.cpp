#include "platform/ole/oleinit.h"

#include "platform/ole/site.h"

BOOL AfxOleInit()
{
    return TRUE;
}

void AfxEnableControlContainer()
{
    // Template rows of hosted controls are made through the control site from now on.
    zorInstallControlContainer();
}
