#pragma once

// What every control's class factories share: the registration data of a control of this
// module and the creators the factories call.

#include "controls/frame/widgetids.h"
#include "platform/ole/control.h"
#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"

// Every control of the module registers as insertable, apartment-threaded, with the
// miscellaneous status 0x20191 and the module's type library; `safeCategories` marks it safe
// for scripting and initialisation.
inline ZorControlRegistration zorWidgetRegistration(
    UINT typeNameId, UINT bitmapId, bool safeCategories)
{
    ZorControlRegistration registration;
    registration.typeNameId = typeNameId;
    registration.toolboxBitmapId = bitmapId;
    registration.insertable = true;
    registration.miscStatus = 0x20191;
    registration.typeLibrary = LIBID_zorWidgets;
    registration.major = c_wTypeLibMajor;
    registration.minor = c_wTypeLibMinor;
    registration.safeCategories = safeCategories;
    return registration;
}

template<class T> IUnknown* zorCreateControl()
{
    return static_cast<CDispatchImpl*>(new T);
}

template<class T> IUnknown* zorCreatePage()
{
    return static_cast<IUnknown*>(new T);
}
