// A component module with one creatable object of three properties, for the creation
// benchmark.

#include "framework/identity/suiteguid.h"
#include "platform/ole/dispatchimpl.h"
#include "platform/ole/factory.h"
#include "platform/ui/strings.h"

namespace {

ZOR_STRING_TABLE({{100, "zorBenchObject.29"}});

class CBenchObject : public CDispatchImpl
{
public:
    CBenchObject()
    {
        zorModuleLock(ZOR_THIS_MODULE(), 1);
        addProperty(
            1, "Value", VT_I4, [this] { return COleVariant(m_value); },
            [this](const COleVariant& v) {
                m_value = v.lVal;
                return S_OK;
            });
        addProperty(
            2, "Caption", VT_BSTR, [this] { return COleVariant(m_caption); },
            [this](const COleVariant& v) {
                m_caption = v.bstrVal;
                return S_OK;
            });
        addProperty(
            3, "Color", VT_UI4, [] { return COleVariant(0L); }, nullptr);
    }
    ~CBenchObject() override { zorModuleLock(ZOR_THIS_MODULE(), -1); }

private:
    long m_value {1};
    std::string m_caption {"Bench"};
};

const ZorTypeLibrary* noTypeLibrary()
{
    return nullptr;
}

void initModule() { }

COleObjectFactory c_factory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_OBJECT,
    zorSuiteGuid(0x0B00, 4), "zorBenchObject.29", 100,
    [] { return static_cast<IUnknown*>(new CBenchObject); });

} // namespace

ZOR_OLE_MODULE_ENTRY_POINTS(noTypeLibrary, initModule);
