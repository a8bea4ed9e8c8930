#include "controls/frame/widgetclasses.h"

CWidgetClasses::CWidgetClasses(WORD control, const char* progId, COleObjectFactory::Creator create,
    const ZorControlRegistration& registration, std::initializer_list<ZorWidgetPage> pages)
{
    m_factories.push_back(std::make_unique<COleObjectFactory>(ZOR_THIS_MODULE(),
        zorSuiteGuid(control, eROLE_CLASS), progId, std::move(create), registration));
    for (const ZorWidgetPage& page : pages)
        m_factories.push_back(std::make_unique<COleObjectFactory>(ZOR_THIS_MODULE(),
            COleObjectFactory::eKIND_PROPERTYPAGE, zorSuiteGuid(control, page.role), nullptr,
            page.typeNameId, page.create));
}
