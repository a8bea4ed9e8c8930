#include "framework/frame/checkosversion.h"

#include "platform/ui/messagebox.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SystemCase
{
    const char* name;
    DWORD platformId;
    DWORD majorVersion;
    DWORD minorVersion;
    int bit;
};

std::string caseName(const testing::TestParamInfo<SystemCase>& info)
{
    std::string name;
    for (const char* c = info.param.name; *c != '\0'; ++c) {
        if (*c != ' ')
            name += *c;
    }
    return name;
}

class CheckOSVersionSystems : public testing::TestWithParam<SystemCase>
{
};

// Each system of the table is detected from its triple, sets only its own flag and answers to
// its own bit.
TEST_P(CheckOSVersionSystems, DetectedAsItsOwnSystem)
{
    const SystemCase& os = GetParam();
    CRecordingPresenter boxes;
    CCheckOSVersion check;

    EXPECT_TRUE(check.initCheckOSVersion(63, os.platformId, os.majorVersion, os.minorVersion));
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(check.getOSName(), os.name);
    EXPECT_EQ(check.isWindows95(), os.bit == CCheckOSVersion::eOS_WIN95);
    EXPECT_EQ(check.isWindows98(), os.bit == CCheckOSVersion::eOS_WIN98);
    EXPECT_EQ(check.isWindowsME(), os.bit == CCheckOSVersion::eOS_WINME);
    EXPECT_EQ(check.isWindowsNT(), os.bit == CCheckOSVersion::eOS_WINNT);
    EXPECT_EQ(check.isWindows2000(), os.bit == CCheckOSVersion::eOS_WIN2000);
    EXPECT_EQ(check.isWindowsXP(), os.bit == CCheckOSVersion::eOS_WINXP);
    const bool family9x = os.platformId == CCheckOSVersion::ePLATFORM_WIN9X;
    EXPECT_EQ(check.isWindows9598ME(), family9x);
    EXPECT_EQ(check.isWindowsNT2000XP(), !family9x);
    EXPECT_EQ(check.isWindowsNT2000(),
        os.bit == CCheckOSVersion::eOS_WINNT || os.bit == CCheckOSVersion::eOS_WIN2000);
    EXPECT_EQ(check.isWindows2000XP(),
        os.bit == CCheckOSVersion::eOS_WIN2000 || os.bit == CCheckOSVersion::eOS_WINXP);

    // Every other bit alone refuses the system.
    EXPECT_TRUE(check.initCheckOSVersion(os.bit, os.platformId, os.majorVersion, os.minorVersion));
    EXPECT_FALSE(
        check.initCheckOSVersion(63 & ~os.bit, os.platformId, os.majorVersion, os.minorVersion));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(
        boxes.boxes[0].text.find(std::string("run it on ") + os.name + "."), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(TableSystems, CheckOSVersionSystems,
    testing::Values(SystemCase {"Windows 95", 1, 4, 0, 1}, SystemCase {"Windows 98", 1, 4, 10, 2},
        SystemCase {"Windows ME", 1, 4, 90, 16}, SystemCase {"Windows NT", 2, 4, 0, 4},
        SystemCase {"Windows 2000", 2, 5, 0, 8}, SystemCase {"Windows XP", 2, 5, 1, 32}),
    caseName);

TEST(CheckOSVersionMessage, ListsRequiredSystemsInTableOrder)
{
    CRecordingPresenter boxes;
    CCheckOSVersion check;

    EXPECT_FALSE(check.initCheckOSVersion(12, CCheckOSVersion::ePLATFORM_WIN9X, 4, 10));
    EXPECT_TRUE(check.isWindows98());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
        "This application is not compatible with this version of the operating system.\r\n"
        "This application requires Windows NT or Windows 2000, you are trying to run it on "
        "Windows 98.");
    EXPECT_EQ(boxes.boxes[0].type & MB_ICONMASK, MB_ICONSTOP);
}

TEST(CheckOSVersionMessage, MeComesBeforeTheNtFamily)
{
    CRecordingPresenter boxes;
    CCheckOSVersion check;

    EXPECT_FALSE(check.initCheckOSVersion(1 | 16 | 32, CCheckOSVersion::ePLATFORM_WINNT, 4, 0));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].text.find(
                  "requires Windows 95 or Windows ME or Windows XP, you are trying to run it on "
                  "Windows NT."),
        std::string::npos);
}

struct UnknownCase
{
    const char* name;
    DWORD platformId;
    DWORD majorVersion;
    DWORD minorVersion;
};

class CheckOSVersionUnknown : public testing::TestWithParam<UnknownCase>
{
};

TEST_P(CheckOSVersionUnknown, ReportsUndetectedSystem)
{
    const UnknownCase& os = GetParam();
    CRecordingPresenter boxes;
    CCheckOSVersion check;
    // A recognised system first, so a stale flag would show.
    ASSERT_TRUE(check.initCheckOSVersion(63, CCheckOSVersion::ePLATFORM_WINNT, 5, 1));

    EXPECT_FALSE(check.initCheckOSVersion(63, os.platformId, os.majorVersion, os.minorVersion));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Can't detect operating system version");
    EXPECT_EQ(boxes.boxes[0].type & MB_ICONMASK, MB_ICONSTOP);
    EXPECT_EQ(check.getOSName(), "Unknown");
    EXPECT_FALSE(check.isWindows9598ME());
    EXPECT_FALSE(check.isWindowsNT2000XP());
}

INSTANTIATE_TEST_SUITE_P(Triples, CheckOSVersionUnknown,
    testing::Values(UnknownCase {"NinetyXMinorFive", 1, 4, 5}, UnknownCase {"Nt351", 2, 3, 51},
        UnknownCase {"Nt52", 2, 5, 2}, UnknownCase {"Nt60", 2, 6, 0},
        UnknownCase {"Win32s", 0, 3, 10}),
    [](const testing::TestParamInfo<UnknownCase>& info) { return std::string(info.param.name); });

TEST(CheckOSVersionRunning, MaskWithNewestSystemAcceptsIt)
{
    CRecordingPresenter boxes;
    CCheckOSVersion check;

    EXPECT_TRUE(check.initCheckOSVersion(63));
    EXPECT_TRUE(check.initCheckOSVersion(32));
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(check.isWindowsXP());
    EXPECT_TRUE(check.isWindows2000XP());
    EXPECT_FALSE(check.isWindows9598ME());
}

TEST(CheckOSVersionRunning, RefusedUnderItsOwnName)
{
    CRecordingPresenter boxes;
    CCheckOSVersion check;

    EXPECT_FALSE(check.initCheckOSVersion(31));
    const std::string name = check.getOSName();
    EXPECT_EQ(name.rfind("Linux ", 0), 0u) << name;
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
        "This application is not compatible with this version of the operating system.\r\n"
        "This application requires Windows 95 or Windows 98 or Windows ME or Windows NT or "
        "Windows 2000, you are trying to run it on "
            + name + ".");
}

} // namespace
