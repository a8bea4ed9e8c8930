#pragma once

// CAboutServer: the object behind "zorAboutServer.29".
//
//   2 modules(list)                 the modules to list: text with one file name per line
//                                   ('\n' between names), or, for a caller in the same
//                                   process, the address of its module list (const char*
//                                   const*, closed by an empty entry) as an integer (VT_I8 or
//                                   VT_UI8: addresses need 64 bits here). An address outside
//                                   every loaded module is refused with E_INVALIDARG.
//   1 show(path, buildTime, icon)   the modal about box: the icon (an icon resource id of the
//                                   program; 0: the standard icon), the program's path, its
//                                   build time and each listed module with its version.
//
// Read-only properties for callers and tests:
//   3 ModuleLines (BSTR)  the lines the box lists, "name\tversion" each, joined with '\n';
//                         the version is "not found" for a module neither loaded nor found
//                         beside the program or in the shared module folder, "no version"
//                         for one without a version block.
//   4 ShowCount (long)    how many boxes were opened.
//
// With ZORVEX_SERVER_NOSHOW=1 show creates, fills and destroys the box without running it.

#include "platform/ole/dispatchimpl.h"

#include <string>
#include <vector>

constexpr DISPID c_dispidAboutShow = 1;
constexpr DISPID c_dispidAboutModules = 2;
constexpr DISPID c_dispidAboutModuleLines = 3;
constexpr DISPID c_dispidAboutShowCount = 4;

class CAboutServer : public CDispatchImpl
{
public:
    CAboutServer();
    ~CAboutServer() override;

    HRESULT Invoke(
        DISPID dispid, WORD wFlags, const DISPPARAMS& params, COleVariant* pVarResult) override;

    void setModules(std::vector<std::string> names) { m_modules = std::move(names); }
    void show(
        const std::string& programPath, const std::string& buildTime, const COleVariant& icon);
    // The box's lines for the modules set.
    std::vector<std::string> moduleLines() const;
    int showCount() const { return m_nShowCount; }

    // "name\tversion" of one module, as the box lists it.
    static std::string describeModule(const std::string& name);
    static const ZorTypeInfo& typeInfo();

private:
    std::vector<std::string> m_modules;
    int m_nShowCount {0};
};
