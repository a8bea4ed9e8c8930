#include "framework/settings/profile.h"

#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr WORD c_extraBytes = 10;

CProfile corvaneProfile()
{
    CProfile profile;
    profile.initProfile("Zorvex", "Corvane", "V2.01");
    return profile;
}

HGLOBAL makeDevMode()
{
    HGLOBAL handle = GlobalAlloc(GHND, sizeof(DEVMODEA) + c_extraBytes);
    auto* dm = static_cast<DEVMODEA*>(GlobalLock(handle));
    std::strcpy(reinterpret_cast<char*>(dm->dmDeviceName), "Laser Writer");
    dm->dmSpecVersion = 0x0401;
    dm->dmDriverVersion = 0xFFFF;
    dm->dmSize = sizeof(DEVMODEA);
    dm->dmDriverExtra = c_extraBytes;
    dm->dmFields = 0x8000FFFF;
    dm->dmOrientation = 2;
    dm->dmPaperSize = 9;
    dm->dmPaperLength = 2970;
    dm->dmPaperWidth = 2100;
    dm->dmScale = 100;
    dm->dmCopies = 3;
    dm->dmDefaultSource = 7;
    dm->dmPrintQuality = -4;
    dm->dmColor = 2;
    dm->dmDuplex = 3;
    dm->dmYResolution = 600;
    dm->dmTTOption = 1;
    dm->dmCollate = 1;
    std::strcpy(reinterpret_cast<char*>(dm->dmFormName), "A4");
    dm->dmLogPixels = 96;
    dm->dmBitsPerPel = 24;
    dm->dmPelsWidth = 4960;
    dm->dmPelsHeight = 7016;
    dm->dmDisplayFlags = 1;
    dm->dmDisplayFrequency = 60;
    BYTE* extra = reinterpret_cast<BYTE*>(dm) + dm->dmSize;
    for (WORD i = 0; i < c_extraBytes; ++i)
        extra[i] = static_cast<BYTE>(0xA0 + i);
    GlobalUnlock(handle);
    return handle;
}

HGLOBAL makeDevNames(const char* driver, const char* device, const char* output, WORD def)
{
    const size_t size
        = sizeof(DEVNAMES) + std::strlen(driver) + std::strlen(device) + std::strlen(output) + 3;
    HGLOBAL handle = GlobalAlloc(GHND, size);
    auto* dn = static_cast<DEVNAMES*>(GlobalLock(handle));
    char* block = reinterpret_cast<char*>(dn);
    size_t at = sizeof(DEVNAMES);
    for (auto [text, offset] : {std::pair {driver, &dn->wDriverOffset},
             std::pair {device, &dn->wDeviceOffset}, std::pair {output, &dn->wOutputOffset}}) {
        *offset = static_cast<WORD>(at);
        std::strcpy(block + at, text);
        at += std::strlen(text) + 1;
    }
    dn->wDefault = def;
    GlobalUnlock(handle);
    return handle;
}

std::string nameAt(const DEVNAMES* dn, WORD offset)
{
    return reinterpret_cast<const char*>(dn) + offset;
}

} // namespace

TEST(ProfileDevMode, RoundTripThroughMovableMemory)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    HGLOBAL mode = makeDevMode();
    HGLOBAL names = makeDevNames("winspool", "Laser Writer on the second floor", "LPT1:", 1);
    profile.putDevMode(eKEY_CURRENT_USER, "Printer", mode, names);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Printer", "DataSaved", 0), 1);
    // 16-bit fields are kept as their 32-bit extension.
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Printer", "PrintQuality", 0), -4);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Printer", "DriverVersion", 0), 0xFFFF);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Printer", "Driver Extra Length", 0), c_extraBytes);

    // Blocks smaller than the saved settings grow to hold them.
    HGLOBAL modeBack = GlobalAlloc(GHND, sizeof(DEVMODEA));
    HGLOBAL namesBack = GlobalAlloc(GHND, sizeof(DEVNAMES));
    profile.getDevMode(eKEY_CURRENT_USER, "Printer", modeBack, namesBack);
    ASSERT_EQ(GlobalSize(modeBack), sizeof(DEVMODEA) + c_extraBytes);

    const auto* expected = static_cast<const DEVMODEA*>(GlobalLock(mode));
    const auto* dm = static_cast<const DEVMODEA*>(GlobalLock(modeBack));
    EXPECT_EQ(std::memcmp(dm, expected, sizeof(DEVMODEA) + c_extraBytes), 0)
        << "every stored field and the driver data come back";
    EXPECT_STREQ(reinterpret_cast<const char*>(dm->dmDeviceName), "Laser Writer");
    EXPECT_EQ(dm->dmPrintQuality, -4);
    EXPECT_EQ(reinterpret_cast<const BYTE*>(dm)[sizeof(DEVMODEA) + c_extraBytes - 1], 0xA9);
    GlobalUnlock(modeBack);
    GlobalUnlock(mode);

    const auto* dn = static_cast<const DEVNAMES*>(GlobalLock(namesBack));
    ASSERT_NE(dn, nullptr);
    EXPECT_EQ(nameAt(dn, dn->wDriverOffset), "winspool");
    EXPECT_EQ(nameAt(dn, dn->wDeviceOffset), "Laser Writer on the second floor");
    EXPECT_EQ(nameAt(dn, dn->wOutputOffset), "LPT1:");
    EXPECT_EQ(dn->wDefault, 1);
    GlobalUnlock(namesBack);

    for (HGLOBAL h : {mode, names, modeBack, namesBack})
        EXPECT_EQ(GlobalFree(h), nullptr);
}

TEST(ProfileDevMode, NothingSavedLeavesRecordsAsTheyAre)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    profile.putInt(eKEY_CURRENT_USER, "Printer", "Copies", 9);
    DEVMODEA dm;
    dm.dmCopies = 2;
    DEVNAMES dn;
    dn.wDefault = 5;
    profile.getDevMode(eKEY_CURRENT_USER, "Printer", &dm, sizeof dm, &dn, sizeof dn);
    EXPECT_EQ(dm.dmCopies, 2);
    EXPECT_EQ(dn.wDefault, 5);
}

TEST(ProfileDevMode, RecordsThatCannotHoldTheSavedDataAreLeftAlone)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    HGLOBAL mode = makeDevMode();
    HGLOBAL names = makeDevNames("winspool", "Laser Writer", "LPT1:", 0);
    profile.putDevMode(eKEY_CURRENT_USER, "Printer", mode, names);

    // Room for the record but not its driver data; room for the names record, not its texts.
    DEVMODEA dm;
    dm.dmCopies = 2;
    DEVNAMES dn;
    dn.wDefault = 5;
    profile.getDevMode(eKEY_CURRENT_USER, "Printer", &dm, sizeof dm, &dn, sizeof dn);
    EXPECT_EQ(dm.dmCopies, 2);
    EXPECT_EQ(dn.wDefault, 5);

    // A locked block cannot grow, so it is left alone too.
    HGLOBAL small = GlobalAlloc(GHND, sizeof(DEVMODEA));
    auto* locked = static_cast<DEVMODEA*>(GlobalLock(small));
    locked->dmCopies = 4;
    HGLOBAL namesBack = GlobalAlloc(GHND, 64);
    profile.getDevMode(eKEY_CURRENT_USER, "Printer", small, namesBack);
    EXPECT_EQ(GlobalSize(small), sizeof(DEVMODEA));
    EXPECT_EQ(locked->dmCopies, 4);
    GlobalUnlock(small);
    const auto* dnBack = static_cast<const DEVNAMES*>(GlobalLock(namesBack));
    EXPECT_EQ(nameAt(dnBack, dnBack->wDeviceOffset), "Laser Writer");
    GlobalUnlock(namesBack);

    for (HGLOBAL h : {mode, names, small, namesBack})
        GlobalFree(h);
}

// The saved length of the driver data is read from the store as any number: only one the
// record's 16-bit field can state is driver data; a larger one leaves the record alone and grows
// no block for it (a corrupt or foreign store must not cost gigabytes).
struct ExtraLengthCase
{
    const char* label;
    DWORD statedLength;
    bool recordRead;
    size_t grownSize;
};

class ProfileDevModeExtraLength : public testing::TestWithParam<ExtraLengthCase>
{
};

TEST_P(ProfileDevModeExtraLength, OnlyLengthsTheRecordCanStateAreRead)
{
    const ExtraLengthCase& c = GetParam();
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    HGLOBAL mode = makeDevMode();
    HGLOBAL names = makeDevNames("winspool", "Laser Writer", "LPT1:", 0);
    profile.putDevMode(eKEY_CURRENT_USER, "Printer", mode, names);
    profile.putInt(eKEY_CURRENT_USER, "Printer", "Driver Extra Length", int(c.statedLength));

    std::vector<BYTE> block(sizeof(DEVMODEA) + c_extraBytes);
    auto* dm = reinterpret_cast<DEVMODEA*>(block.data());
    dm->dmCopies = 2;
    profile.getDevMode(eKEY_CURRENT_USER, "Printer", dm, DWORD(block.size()), nullptr, 0);
    EXPECT_EQ(dm->dmCopies, c.recordRead ? 3 : 2);

    HGLOBAL grown = GlobalAlloc(GHND, sizeof(DEVMODEA));
    profile.getDevMode(eKEY_CURRENT_USER, "Printer", grown, nullptr);
    EXPECT_EQ(GlobalSize(grown), c.grownSize);
    for (HGLOBAL h : {mode, names, grown})
        GlobalFree(h);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ProfileDevModeExtraLength,
    testing::Values(ExtraLengthCase {"Saved", c_extraBytes, true, sizeof(DEVMODEA) + c_extraBytes},
        ExtraLengthCase {"LargestField", 0xFFFF, true, sizeof(DEVMODEA) + 0xFFFF},
        ExtraLengthCase {"BeyondField", 0x10000, false, sizeof(DEVMODEA)},
        ExtraLengthCase {"AllBitsSet", 0xFFFFFFFF, false, sizeof(DEVMODEA)}),
    [](const testing::TestParamInfo<ExtraLengthCase>& info) { return info.param.label; });

TEST(ProfileDevMode, PutWithoutBothRecordsWritesNothing)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    HGLOBAL mode = makeDevMode();
    profile.putDevMode(eKEY_CURRENT_USER, "Printer", mode, nullptr);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Printer", "DataSaved", 0), 0);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Printer", "Copies", -1), -1);
    GlobalFree(mode);
}

TEST(GlobalMemory, LockedBlocksKeepTheirSizeFreedHandlesAreRefused)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 16);
    ASSERT_NE(block, nullptr);
    auto* bytes = static_cast<BYTE*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[15], 0) << "blocks start zero-filled";
    bytes[0] = 0x42;
    EXPECT_EQ(GlobalReAlloc(block, 64, GMEM_MOVEABLE), nullptr);
    EXPECT_EQ(GlobalSize(block), 16u);
    EXPECT_EQ(GlobalUnlock(block), FALSE);

    EXPECT_EQ(GlobalReAlloc(block, 64, GMEM_MOVEABLE), block);
    bytes = static_cast<BYTE*>(GlobalLock(block));
    EXPECT_EQ(bytes[0], 0x42);
    EXPECT_EQ(bytes[63], 0);
    GlobalUnlock(block);

    EXPECT_EQ(GlobalFree(block), nullptr);
    EXPECT_EQ(GlobalLock(block), nullptr);
    EXPECT_EQ(GlobalSize(block), 0u);
    EXPECT_EQ(GlobalFree(block), block);
}
