// A small component module for the core tests: a string table, a type library, one control
// class with a dispatch interface and one property page class. Built a second time with
// ZOR_TEST_BROKEN_CLASS, where the control's type name is missing from the string table, so
// that its registration fails after the type library's.

#include "framework/identity/suiteguid.h"
#include "platform/ole/dispatchimpl.h"
#include "platform/ole/factory.h"
#include "platform/ui/strings.h"

namespace {

#ifdef ZOR_TEST_BROKEN_CLASS
constexpr WORD c_number = 0x0098;
ZOR_STRING_TABLE({{5002, "zorBrokenControl.29 Property Page"}});
const char c_progId[] = "zorBrokenControl.29";
#else
constexpr WORD c_number = 0x0099;
ZOR_STRING_TABLE({{5001, "zorTestControl.29"}, {5002, "zorTestControl.29 Property Page"}});
const char c_progId[] = "zorTestControl.29";
#endif

ZorTypeInfo makeTypeInfo()
{
    ZorTypeInfo info;
    info.name = "TestControl";
    info.clsid = zorSuiteGuid(c_number, 4);
    info.doc = c_progId;
    info.dispatch.name = "_DTestControl";
    info.dispatch.iid = zorSuiteGuid(c_number, 2);
    info.dispatch.doc = std::string("Dispatch interface for ") + c_progId;
    info.dispatch.members = {
        {1, "Value", ZorMemberInfo::eKIND_PROPERTY, VT_I4, {}, false},
        {2, "Caption", ZorMemberInfo::eKIND_PROPERTY, VT_BSTR, {}, false},
        {3, "Color", ZorMemberInfo::eKIND_PROPERTY, VT_UI4, {}, false},
        {4, "Count", ZorMemberInfo::eKIND_PROPERTY, VT_I4, {}, true},
        {5, "Add", ZorMemberInfo::eKIND_METHOD, VT_I4, {{"a_lFirst", VT_I4}, {"a_lSecond", VT_I4}},
            false},
    };
    info.events.name = "_DTestControlEvents";
    info.events.iid = zorSuiteGuid(c_number, 3);
    info.events.doc = std::string("Event interface for ") + c_progId;
    info.events.members
        = {{DISPID_CLICK, "Click", ZorMemberInfo::eKIND_METHOD, VT_EMPTY, {}, false}};
    return info;
}

const ZorTypeInfo c_typeInfo = makeTypeInfo();

const ZorTypeLibrary* typeLibrary()
{
    static const ZorTypeLibrary library = [] {
        ZorTypeLibrary l;
        l.libid = zorSuiteGuid(c_number, 1);
        l.major = 2;
        l.minor = 1;
        l.name = "ZorCoreTestLib";
        l.helpString = "zor core test module";
        l.classes = {&c_typeInfo};
        return l;
    }();
    return &library;
}

// The control's dispatch object; counts itself as an outstanding object of the module.
class CTestControl : public CDispatchImpl
{
public:
    CTestControl()
    {
        zorModuleLock(ZOR_THIS_MODULE(), 1);
        setTypeInfo(&c_typeInfo);
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
            3, "Color", VT_UI4,
            [this] {
                COleVariant v;
                v.vt = VT_UI4;
                v.ulVal = m_color;
                return v;
            },
            [this](const COleVariant& v) {
                m_color = v.ulVal;
                return S_OK;
            });
        addProperty(
            4, "Count", VT_I4, [] { return COleVariant(42L); }, nullptr);
        addMethod(
            5, "Add", VT_I4, {VT_I4, VT_I4}, [](const DISPPARAMS& params, COleVariant* result) {
                *result = COleVariant(params.args[0].lVal + params.args[1].lVal);
                return S_OK;
            });
    }
    ~CTestControl() override { zorModuleLock(ZOR_THIS_MODULE(), -1); }

private:
    long m_value {7};
    std::string m_caption {"Test"};
    ULONG m_color {0x0F000000};
};

class CTestPage : public CDispatchImpl
{
public:
    CTestPage() { zorModuleLock(ZOR_THIS_MODULE(), 1); }
    ~CTestPage() override { zorModuleLock(ZOR_THIS_MODULE(), -1); }
};

ZorControlRegistration controlRegistration()
{
    ZorControlRegistration r;
    r.typeNameId = 5001;
    r.toolboxBitmapId = 7;
    r.insertable = true;
    r.typeLibrary = zorSuiteGuid(c_number, 1);
    r.safeCategories = true;
    return r;
}

COleObjectFactory c_controlFactory(
    ZOR_THIS_MODULE(), zorSuiteGuid(c_number, 4), c_progId,
    [] { return static_cast<IUnknown*>(new CTestControl); }, controlRegistration());
COleObjectFactory c_pageFactory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_PROPERTYPAGE,
    zorSuiteGuid(c_number, 5), nullptr, 5002, [] { return static_cast<IUnknown*>(new CTestPage); });

void initModule() { }

} // namespace

ZOR_OLE_MODULE_ENTRY_POINTS(typeLibrary, initModule);
