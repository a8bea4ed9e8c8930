// Registration under the classes root and creation by class identifier and ProgID, through
// real test component modules registered into a fresh temporary store per test.

#include "framework/identity/suiteguid.h"
#include "platform/module/module.h"
#include "platform/ole/dispatchimpl.h"
#include "platform/ole/factory.h"
#include "platform/registry/registry.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sys/stat.h>

namespace {

const GUID c_control = zorSuiteGuid(0x0099, 4);
const GUID c_page = zorSuiteGuid(0x0099, 5);
const GUID c_library = zorSuiteGuid(0x0099, 1);
const std::string c_controlKey = "CLSID\\{01540154-0099-0000-0029-000000000004}";
const std::string c_pageKey = "CLSID\\{01540154-0099-0000-0029-000000000005}";
const std::string c_libraryKey = "TypeLib\\{01540154-0099-0000-0029-000000000001}";
const char c_scripting[] = "{7DD95801-9882-11CF-9FA9-00AA006C42C4}";
const char c_initializing[] = "{7DD95802-9882-11CF-9FA9-00AA006C42C4}";

std::optional<std::string> text(const std::string& path, const char* name = "")
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    char data[4096];
    DWORD size = sizeof data;
    DWORD type = 0;
    const LONG result
        = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return std::nullopt;
    return std::string(data, size);
}

bool keyExists(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::vector<std::string> subkeys(const std::string& path)
{
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    char name[256];
    for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; ++i)
        names.emplace_back(name);
    RegCloseKey(key);
    return names;
}

std::vector<std::string> valueNames(const std::string& path)
{
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr)
            != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

// Every key and value below a path, one line each, for comparing whole trees.
void dump(const std::string& path, std::string& out)
{
    for (const std::string& name : valueNames(path))
        out += path + " [" + name + "] = " + text(path, name.c_str()).value_or("<not text>") + "\n";
    for (const std::string& sub : subkeys(path)) {
        out += (path.empty() ? sub : path + "\\" + sub) + "\n";
        dump(path.empty() ? sub : path + "\\" + sub, out);
    }
}

std::string dumpAll()
{
    std::string out;
    dump("", out);
    return out;
}

using Call = HRESULT (*)();

class ComponentRegistration : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_module = LoadLibraryA(ZOR_OLE_TEST_MODULE);
        s_broken = LoadLibraryA(ZOR_OLE_BROKEN_MODULE);
    }

    void SetUp() override
    {
        ASSERT_NE(s_module, nullptr) << zorModuleLoadError();
        ASSERT_TRUE(m_store.isValid());
        const char* previous = std::getenv("ZORVEX_REGISTRY");
        m_previous = previous ? previous : "";
        setenv("ZORVEX_REGISTRY", m_store.path().toStdString().c_str(), 1);
        char path[4096] {};
        ASSERT_GT(GetModuleFileNameA(s_module, path, sizeof path), 0u);
        m_path = path;
    }

    void TearDown() override { setenv("ZORVEX_REGISTRY", m_previous.c_str(), 1); }

    static HRESULT call(HMODULE module, const char* name)
    {
        const auto fn = reinterpret_cast<Call>(GetProcAddress(module, name));
        return fn ? fn() : E_UNEXPECTED;
    }

    static HRESULT registerModule() { return call(s_module, "DllRegisterServer"); }
    static HRESULT unregisterModule() { return call(s_module, "DllUnregisterServer"); }

    static HMODULE s_module;
    static HMODULE s_broken;
    QTemporaryDir m_store;
    std::string m_previous;
    std::string m_path;
};

HMODULE ComponentRegistration::s_module = nullptr;
HMODULE ComponentRegistration::s_broken = nullptr;

using ComponentCreation = ComponentRegistration;

} // namespace

TEST_F(ComponentRegistration, ServerPathIsTheModuleFile)
{
    EXPECT_EQ(QFileInfo(QString::fromStdString(m_path)).canonicalFilePath(),
        QFileInfo(ZOR_OLE_TEST_MODULE).canonicalFilePath());
}

TEST_F(ComponentRegistration, ControlClassRowsExactly)
{
    ASSERT_EQ(registerModule(), S_OK);
    EXPECT_EQ(text(c_controlKey), "zorTestControl.29");
    EXPECT_EQ(valueNames(c_controlKey), std::vector<std::string>({""}));
    EXPECT_EQ(subkeys(c_controlKey),
        std::vector<std::string>({"Control", "Implemented Categories", "InprocServer32",
            "Insertable", "MiscStatus", "ProgID", "ToolboxBitmap32", "TypeLib", "Version"}));
    EXPECT_EQ(text(c_controlKey + "\\ProgID"), "zorTestControl.29");
    EXPECT_EQ(text(c_controlKey + "\\InprocServer32"), m_path);
    EXPECT_EQ(text(c_controlKey + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(valueNames(c_controlKey + "\\InprocServer32"),
        std::vector<std::string>({"", "ThreadingModel"}));
    EXPECT_TRUE(valueNames(c_controlKey + "\\Control").empty());
    EXPECT_TRUE(subkeys(c_controlKey + "\\Control").empty());
    EXPECT_TRUE(valueNames(c_controlKey + "\\Insertable").empty());
    EXPECT_EQ(text(c_controlKey + "\\MiscStatus"), "0");
    EXPECT_EQ(subkeys(c_controlKey + "\\MiscStatus"), std::vector<std::string>({"1"}));
    EXPECT_EQ(text(c_controlKey + "\\MiscStatus\\1"), "131473");
    EXPECT_EQ(text(c_controlKey + "\\ToolboxBitmap32"), m_path + ", 7");
    EXPECT_EQ(text(c_controlKey + "\\TypeLib"), "{01540154-0099-0000-0029-000000000001}");
    EXPECT_EQ(text(c_controlKey + "\\Version"), "2.1");
    EXPECT_EQ(subkeys(c_controlKey + "\\Implemented Categories"),
        std::vector<std::string>({c_scripting, c_initializing}));

    EXPECT_EQ(text("zorTestControl.29"), "zorTestControl.29");
    EXPECT_EQ(subkeys("zorTestControl.29"), std::vector<std::string>({"CLSID", "Insertable"}));
    EXPECT_EQ(text("zorTestControl.29\\CLSID"), "{01540154-0099-0000-0029-000000000004}");

    EXPECT_EQ(text(std::string("Component Categories\\") + c_scripting, "409"),
        "Controls that are safely scriptable");
    EXPECT_EQ(text(std::string("Component Categories\\") + c_initializing, "409"),
        "Controls safely initializable from persistent data");
}

TEST_F(ComponentRegistration, PageAndTypeLibraryRows)
{
    ASSERT_EQ(registerModule(), S_OK);
    EXPECT_EQ(text(c_pageKey), "zorTestControl.29 Property Page");
    EXPECT_EQ(subkeys(c_pageKey), std::vector<std::string>({"InprocServer32"}));
    EXPECT_EQ(text(c_pageKey + "\\InprocServer32"), m_path);
    EXPECT_EQ(text(c_pageKey + "\\InprocServer32", "ThreadingModel"), "Apartment");

    EXPECT_EQ(subkeys(c_libraryKey), std::vector<std::string>({"2.1"}));
    EXPECT_EQ(text(c_libraryKey + "\\2.1"), "zor core test module");
    EXPECT_EQ(subkeys(c_libraryKey + "\\2.1"), std::vector<std::string>({"0", "FLAGS", "HELPDIR"}));
    EXPECT_EQ(text(c_libraryKey + "\\2.1\\0\\win32"), m_path);
    EXPECT_EQ(text(c_libraryKey + "\\2.1\\FLAGS"), "0");
    EXPECT_EQ(text(c_libraryKey + "\\2.1\\HELPDIR"),
        QFileInfo(QString::fromStdString(m_path)).absolutePath().toStdString());
    // Nothing else at the top of the classes root.
    EXPECT_EQ(subkeys(""),
        std::vector<std::string>(
            {"CLSID", "Component Categories", "TypeLib", "zorTestControl.29"}));
}

TEST_F(ComponentRegistration, RegisteringTwiceGivesTheSameRows)
{
    ASSERT_EQ(registerModule(), S_OK);
    const std::string first = dumpAll();
    ASSERT_EQ(registerModule(), S_OK);
    EXPECT_EQ(dumpAll(), first);
}

TEST_F(ComponentRegistration, UnregisterLeavesOnlyTheCategoryMarks)
{
    ASSERT_EQ(registerModule(), S_OK);
    ASSERT_EQ(unregisterModule(), S_OK);
    EXPECT_EQ(subkeys(c_controlKey), std::vector<std::string>({"Implemented Categories"}));
    EXPECT_TRUE(valueNames(c_controlKey).empty());
    EXPECT_EQ(subkeys(c_controlKey + "\\Implemented Categories"),
        std::vector<std::string>({c_scripting, c_initializing}));
    EXPECT_FALSE(keyExists("zorTestControl.29"));
    EXPECT_FALSE(keyExists(c_pageKey));
    EXPECT_FALSE(keyExists(c_libraryKey));
    EXPECT_TRUE(keyExists(std::string("Component Categories\\") + c_scripting));
    // Unregistering again finds nothing to remove and still succeeds; creation now fails.
    EXPECT_EQ(unregisterModule(), S_OK);
    IDispatch* object = nullptr;
    EXPECT_EQ(CoCreateInstance(c_control, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                  reinterpret_cast<void**>(&object)),
        REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
    // And registering again brings everything back.
    ASSERT_EQ(registerModule(), S_OK);
    EXPECT_EQ(subkeys(c_controlKey).size(), 9u);
}

TEST_F(ComponentRegistration, UnwritableStoreFailsAtTheTypeLibraryAndWritesNothing)
{
    ASSERT_EQ(chmod(m_store.path().toStdString().c_str(), 0555), 0);
    EXPECT_EQ(registerModule(), SELFREG_E_TYPELIB);
    EXPECT_FALSE(keyExists(c_controlKey));
    EXPECT_FALSE(keyExists("CLSID"));
    chmod(m_store.path().toStdString().c_str(), 0755);
}

TEST_F(ComponentRegistration, ClassWithoutTypeNameFailsAfterTheTypeLibrary)
{
    ASSERT_NE(s_broken, nullptr) << zorModuleLoadError();
    EXPECT_EQ(call(s_broken, "DllRegisterServer"), SELFREG_E_CLASS);
    EXPECT_TRUE(keyExists("TypeLib\\{01540154-0098-0000-0029-000000000001}\\2.1"));
    EXPECT_FALSE(keyExists("CLSID\\{01540154-0098-0000-0029-000000000004}"));
}

TEST_F(ComponentRegistration, CategoryDescriptionIsCutTo127Characters)
{
    const GUID category = zorSuiteGuid(0x0777, 9);
    ASSERT_EQ(zorRegisterCategory(category, 1033, std::string(200, 'd').c_str()), S_OK);
    EXPECT_EQ(
        text("Component Categories\\" + zorGuidToString(category), "409"), std::string(127, 'd'));
    ASSERT_EQ(zorRegisterClassImplCategory(c_control, category), S_OK);
    EXPECT_TRUE(keyExists(c_controlKey + "\\Implemented Categories\\" + zorGuidToString(category)));
}

TEST_F(ComponentRegistration, TypeLibraryOfTheModulePrints)
{
    const auto typeLibraryOf
        = reinterpret_cast<ZorTypeLibraryOf>(GetProcAddress(s_module, "zorTypeLibraryOf"));
    ASSERT_NE(typeLibraryOf, nullptr);
    const ZorTypeLibrary* library = typeLibraryOf();
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(library->libid, c_library);
    const std::string printed = zorTypeLibraryText(*library);
    EXPECT_NE(printed.find("library ZorCoreTestLib\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("            [id(5)] long Add(long a_lFirst, long a_lSecond);\n"),
        std::string::npos)
        << printed;
    EXPECT_NE(printed.find("            [id(4), readonly] long Count;\n"), std::string::npos);
    EXPECT_NE(printed.find("    coclass TestControl\n"), std::string::npos);
}

TEST_F(ComponentCreation, ByClassIdAndProgId)
{
    ASSERT_EQ(registerModule(), S_OK);
    IDispatch* object = nullptr;
    ASSERT_EQ(CoCreateInstance(c_control, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                  reinterpret_cast<void**>(&object)),
        S_OK);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(call(s_module, "DllCanUnloadNow"), S_FALSE);
    COleVariant value;
    EXPECT_EQ(zorGetProperty(object, 1, &value), S_OK);
    EXPECT_EQ(value, COleVariant(7L));
    ASSERT_NE(object->GetTypeInfo(), nullptr);
    EXPECT_EQ(object->GetTypeInfo()->dispatch.name, "_DTestControl");
    zorRelease(object);
    EXPECT_EQ(call(s_module, "DllCanUnloadNow"), S_OK);

    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID("zorTestControl.29", &clsid), S_OK);
    EXPECT_EQ(clsid, c_control);
    ASSERT_EQ(zorCreateDispatch("zorTestControl.29", &object), S_OK);
    COleVariant sum;
    EXPECT_EQ(
        zorInvoke(object, 5, DISPATCH_METHOD, {COleVariant(2L), COleVariant("40")}, &sum), S_OK);
    EXPECT_EQ(sum, COleVariant(42L));
    zorRelease(object);
    ASSERT_EQ(zorCreateDispatch("{01540154-0099-0000-0029-000000000005}", &object), S_OK);
    zorRelease(object);
}

TEST_F(ComponentCreation, UnknownClassFailsCleanly)
{
    IUnknown* object = reinterpret_cast<IUnknown*>(&object);
    EXPECT_EQ(CoCreateInstance(zorSuiteGuid(0x0999, 4), nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                  reinterpret_cast<void**>(&object)),
        REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
    CLSID clsid;
    EXPECT_EQ(CLSIDFromProgID("zorNoSuchControl.29", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID("{not a class id}", &clsid), CO_E_CLASSSTRING);
    IDispatch* dispatch = nullptr;
    EXPECT_EQ(zorCreateDispatch("zorNoSuchControl.29", &dispatch), CO_E_CLASSSTRING);
    EXPECT_EQ(dispatch, nullptr);
    EXPECT_EQ(CoCreateInstance(c_control, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, nullptr),
        E_POINTER);
}

TEST_F(ComponentCreation, BrokenServerRegistrations)
{
    const GUID missing = zorSuiteGuid(0x0999, 4);
    const GUID noEntry = zorSuiteGuid(0x0998, 4);
    const GUID notInModule = zorSuiteGuid(0x0997, 4);
    auto setServer = [](REFCLSID clsid, const std::string& path) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT,
                      ("CLSID\\" + zorGuidToString(clsid) + "\\InprocServer32").c_str(), 0, nullptr,
                      0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
        RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.data()),
            static_cast<DWORD>(path.size()));
        RegCloseKey(key);
    };
    setServer(missing, "/nonexistent/zormissing29.so");
    setServer(noEntry, ZOR_OLE_NOENTRY_MODULE);
    setServer(notInModule, m_path);
    IUnknown* object = nullptr;
    EXPECT_EQ(CoCreateInstance(missing, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                  reinterpret_cast<void**>(&object)),
        CO_E_DLLNOTFOUND);
    EXPECT_EQ(CoCreateInstance(noEntry, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                  reinterpret_cast<void**>(&object)),
        CO_E_ERRORINDLL);
    EXPECT_EQ(CoCreateInstance(notInModule, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                  reinterpret_cast<void**>(&object)),
        CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
}

TEST_F(ComponentCreation, FactoryRulesAndLocks)
{
    ASSERT_EQ(registerModule(), S_OK);
    const auto getClassObject
        = reinterpret_cast<ZorDllGetClassObject>(GetProcAddress(s_module, "DllGetClassObject"));
    ASSERT_NE(getClassObject, nullptr);
    IClassFactory* factory = nullptr;
    EXPECT_EQ(getClassObject(
                  zorSuiteGuid(0x0999, 4), IID_IClassFactory, reinterpret_cast<void**>(&factory)),
        CLASS_E_CLASSNOTAVAILABLE);
    ASSERT_EQ(
        getClassObject(c_control, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    IUnknown* object = nullptr;
    IUnknown* outer = reinterpret_cast<IUnknown*>(&object);
    EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, reinterpret_cast<void**>(&object)),
        CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);
    // An interface the object does not have: nothing is left alive.
    EXPECT_EQ(
        factory->CreateInstance(nullptr, IID_IClassFactory, reinterpret_cast<void**>(&object)),
        E_NOINTERFACE);
    EXPECT_EQ(call(s_module, "DllCanUnloadNow"), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(call(s_module, "DllCanUnloadNow"), S_FALSE);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(call(s_module, "DllCanUnloadNow"), S_OK);
    factory->Release();

    const std::vector<COleObjectFactory*> factories = COleObjectFactory::factoriesOf(s_module);
    ASSERT_EQ(factories.size(), 2u);
    EXPECT_EQ(factories[0]->clsid(), c_control);
    EXPECT_EQ(factories[0]->kind(), COleObjectFactory::eKIND_CONTROL);
    EXPECT_EQ(factories[1]->clsid(), c_page);
    EXPECT_EQ(factories[1]->kind(), COleObjectFactory::eKIND_PROPERTYPAGE);
}

TEST_F(ComponentCreation, BuiltinClassNeedsNoRegistry)
{
    const GUID builtin = zorSuiteGuid(0x0996, 4);
    int made = 0;
    zorRegisterBuiltinClass(builtin, [&made] {
        ++made;
        return static_cast<IUnknown*>(new CDispatchImpl);
    });
    IDispatch* object = nullptr;
    ASSERT_EQ(CoCreateInstance(builtin, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                  reinterpret_cast<void**>(&object)),
        S_OK);
    EXPECT_EQ(made, 1);
    EXPECT_FALSE(keyExists("CLSID"));
    EXPECT_EQ(object->Release(), 0u);
    zorRegisterBuiltinClass(builtin, [] { return static_cast<IUnknown*>(nullptr); });
    EXPECT_EQ(CoCreateInstance(builtin, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                  reinterpret_cast<void**>(&object)),
        E_OUTOFMEMORY);
}
