// Every member the type library declares is reached through dispatch, by id and by name, with
// the declared types; and every member a control's dispatch answers is a declared one.

#include "tests/controls/widgetstestsupport.h"

#include "controls/frame/widgetstypelib.h"
#include "platform/ole/dispatchimpl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

// An argument of a declared type, as a container would pass it.
COleVariant argumentOf(VARTYPE type)
{
    switch (type) {
    case VT_BSTR:
        return COleVariant("");
    case VT_UI4:
        return colorArg(0);
    case VT_DATE: {
        COleVariant date;
        date.vt = VT_DATE;
        date.date = 0.0;
        return date;
    }
    default:
        return COleVariant(0L);
    }
}

// The members a control's dispatch implements: its declared interface, or for the progress
// control (whose interface is declared empty) the members its dispatch reaches by name.
const ZorInterfaceInfo& membersOf(const ZorTypeInfo* type)
{
    if (type == zorProgressTypeInfo())
        return *zorProgressMembers();
    return type->dispatch;
}

std::string nameOf(const testing::TestParamInfo<const ZorTypeInfo*>& info)
{
    return info.param->name;
}

class DeclaredMembers : public testing::TestWithParam<const ZorTypeInfo*>
{
};

} // namespace

TEST_P(DeclaredMembers, AreDispatchedAsDeclared)
{
    const ZorTypeInfo* type = GetParam();
    CHostedControl hosted(zorGuidToString(type->clsid).c_str(), "", 120, 60);
    ASSERT_TRUE(hosted.ok()) << type->name << " could not be created";
    IDispatch* dispatch = hosted.dispatch();

    std::set<DISPID> declared;
    for (const ZorMemberInfo& member : membersOf(type).members) {
        SCOPED_TRACE(member.name);
        declared.insert(member.dispid);
        DISPID byName = DISPID_UNKNOWN;
        ASSERT_EQ(dispatch->GetIDsOfNames(member.name.c_str(), &byName), S_OK);
        EXPECT_EQ(byName, member.dispid);

        if (member.kind == ZorMemberInfo::eKIND_PROPERTY) {
            COleVariant value;
            ASSERT_EQ(zorGetProperty(dispatch, member.dispid, &value), S_OK);
            EXPECT_EQ(value.vt, member.type);
            // Writing back what was read is accepted.
            EXPECT_EQ(zorPutProperty(dispatch, member.dispid, value), S_OK);
        } else {
            std::vector<COleVariant> args;
            for (const ZorParamInfo& param : member.params)
                args.push_back(argumentOf(param.type));
            COleVariant result;
            ASSERT_EQ(zorInvoke(dispatch, member.dispid, DISPATCH_METHOD, args, &result), S_OK);
            if (member.type != VT_EMPTY) {
                EXPECT_EQ(result.vt, member.type);
            }
        }
    }

    // Nothing undeclared: the control's table holds exactly the declared members.
    const std::vector<DISPID> implemented = hosted.control()->dispatchIds();
    for (DISPID dispid : implemented)
        EXPECT_TRUE(declared.count(dispid)) << type->name << " answers undeclared " << dispid;
    EXPECT_EQ(std::set<DISPID>(implemented.begin(), implemented.end()).size(), declared.size());
}

INSTANTIATE_TEST_SUITE_P(WidgetsTypeLibrary, DeclaredMembers,
    testing::ValuesIn(zorWidgetsTypeLibrary()->classes), nameOf);
