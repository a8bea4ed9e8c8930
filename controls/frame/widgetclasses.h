#pragma once

// What every control's class factories share: the registration data of a control of this
// module and the creators the factories call.

#include "controls/frame/widgetids.h"
#include "platform/ole/control.h"
#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"

#include <initializer_list>
#include <memory>
#include <vector>

// Every control of the module registers as insertable, apartment-threaded, with the
// miscellaneous status 0x20191 and the module's type library; `safeCategories` marks it safe
// for scripting and initialisation.
inline ZorControlRegistration zorWidgetRegistration(
    UINT typeNameId, UINT bitmapId, bool safeCategories)
{
    return {.typeNameId = typeNameId,
        .toolboxBitmapId = bitmapId,
        .insertable = true,
        .typeLibrary = LIBID_zorWidgets,
        .major = c_wTypeLibMajor,
        .minor = c_wTypeLibMinor,
        .safeCategories = safeCategories};
}

template<class T> IUnknown* zorCreateControl()
{
    return static_cast<CDispatchImpl*>(new T);
}

template<class T> IUnknown* zorCreatePage()
{
    return static_cast<IUnknown*>(new T);
}

// One property page of a control: its role in the identity scheme (eROLE_PAGE1 to 3), the
// string id of its type name and its creator.
struct ZorWidgetPage
{
    BYTE role {eROLE_PAGE1};
    UINT typeNameId {0};
    COleObjectFactory::Creator create;
};

// The class factories of one control of the module, the control's first, then its pages in
// the order given; registered for as long as the module is loaded.
class CWidgetClasses
{
public:
    CWidgetClasses(WORD control, const char* progId, COleObjectFactory::Creator create,
        const ZorControlRegistration& registration, std::initializer_list<ZorWidgetPage> pages);
    CWidgetClasses(const CWidgetClasses&) = delete;
    CWidgetClasses& operator=(const CWidgetClasses&) = delete;

private:
    std::vector<std::unique_ptr<COleObjectFactory>> m_factories;
};
