#include "framework/version/fileversion.h"

#include "tests/framework/version/versiontestsupport.h"

#include <gtest/gtest.h>
#include <string>

using namespace versiontest;

TEST(FileVersionBuilt, FrameworkLibrary)
{
    CFileVersion version;
    ASSERT_EQ(version.open(binFile("zorbase29.so").c_str()), 1);
    EXPECT_EQ(version.getFixedFileVersion4(), "2002.06.24.29");
    EXPECT_EQ(version.getFixedFileVersion(), "2002.06");
    EXPECT_EQ(version.getFixedProductVersion4(), "2.01.0.29");
    EXPECT_EQ(version.getFixedProductVersion(), "2.01");
    EXPECT_EQ(version.getProductVersion(), "2.1.0.29");
    EXPECT_EQ(version.getFileVersion(), "2002.6.24.29");
    EXPECT_EQ(version.getOriginalFilename(), "zorbase29.so");
    EXPECT_EQ(version.getInternalName(), "zorbase29");
    EXPECT_EQ(version.getCompanyName(), ZOR_TEST_COMPANY_NAME);
    EXPECT_EQ(version.getLegalTrademark(), "");
    EXPECT_EQ(version.getTranslation(), 0x040904E4u);
    EXPECT_EQ(version.getAboutVersion(), "2.01.0.29  2002.06.24.29");
}

TEST(FileVersionBuilt, WindowsNameOpensTheLinuxFile)
{
    CFileVersion version;
    EXPECT_EQ(version.open(binFile("zorbase29.dll").c_str()), 1);
    EXPECT_EQ(version.getOriginalFilename(), "zorbase29.so");
}

struct FormatCase
{
    const char* name;
    const char* module;
    std::string (CFileVersion::*getter)() const;
    const char* text;
};

class FileVersionFormat : public testing::TestWithParam<FormatCase>
{
};

TEST_P(FileVersionFormat, Formats)
{
    CFileVersion version;
    ASSERT_EQ(version.open(GetParam().module), 1);
    EXPECT_EQ((version.*GetParam().getter)(), GetParam().text);
}

// zortestreg_ok: file 3.12.7.1, product 2.1.0.29; zortestreg_refuses: file 2.1.0.29, product
// 1.5.0.0; zortestreg_none: file and product 1.5.0.3.
INSTANTIATE_TEST_SUITE_P(Versions, FileVersionFormat,
    testing::Values(
        FormatCase {"FileMajorMinor", REG_OK, &CFileVersion::getFixedFileVersion, "3.12"},
        FormatCase {"FileFour", REG_OK, &CFileVersion::getFixedFileVersion4, "03.12.07.01"},
        FormatCase {"ProductFour", REG_OK, &CFileVersion::getFixedProductVersion4, "2.01.0.29"},
        FormatCase {"ProductMajorMinor", REG_OK, &CFileVersion::getFixedProductVersion, "2.01"},
        FormatCase {"FileTwoOne", REG_REFUSES, &CFileVersion::getFixedFileVersion, "2.01"},
        FormatCase {
            "FileFourTwoOne", REG_REFUSES, &CFileVersion::getFixedFileVersion4, "02.01.00.29"},
        FormatCase {
            "ProductLowWordZero", REG_REFUSES, &CFileVersion::getFixedProductVersion4, "1.05"},
        FormatCase {
            "ProductLowWordSet", REG_NONE, &CFileVersion::getFixedProductVersion4, "1.05.0.3"},
        FormatCase {
            "FileFourOneFive", REG_NONE, &CFileVersion::getFixedFileVersion4, "01.05.00.03"},
        FormatCase {"About", REG_NONE, &CFileVersion::getAboutVersion, "1.05.0.3  01.05.00.03"},
        FormatCase {
            "ProductName", REG_OK, &CFileVersion::getProductName, "Registering test control"},
        FormatCase {"FileDescriptionDefault", REG_NONE, &CFileVersion::getFileDescription,
            "zortestreg_none"},
        FormatCase {"OriginalFilename", REG_NONE, &CFileVersion::getOriginalFilename,
            "zortestreg_none.so"}),
    [](const testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(FileVersionOrder, FourPartTextsSortByVersion)
{
    std::string texts[4];
    const std::string modules[4] = {REG_NONE, REG_REFUSES, REG_OK, binFile("zorbase29.so")};
    for (int i = 0; i < 4; ++i) {
        CFileVersion version;
        ASSERT_EQ(version.open(modules[i].c_str()), 1) << modules[i];
        texts[i] = version.getFixedFileVersion4();
    }
    // 1.5.0.3 < 2.1.0.29 < 3.12.7.1 < 2002.6.24.29, compared byte by byte.
    EXPECT_LT(texts[0], texts[1]);
    EXPECT_LT(texts[1], texts[2]);
    EXPECT_LT(texts[2], texts[3]);
}

TEST(FileVersionTranslation, OtherCodePageNamesItsTable)
{
    CFileVersion version;
    ASSERT_EQ(version.open(REG_REFUSES), 1);
    EXPECT_EQ(version.getTranslation(), 0x040904B0u);
    EXPECT_EQ(version.getProductName(), "Refusing test control")
        << "found under \\StringFileInfo\\040904b0\\ProductName";
    EXPECT_EQ(version.queryValue("ProductName", 0x040904E4), "") << "no table of that translation";
}

TEST(FileVersionTranslation, GivenTranslationIsUsedInsteadOfTheStoredOne)
{
    CFileVersion version;
    ASSERT_EQ(version.open(REG_OK), 1);
    EXPECT_EQ(version.queryValue("ProductName", 0x040904B0), "");
    EXPECT_EQ(version.queryValue("ProductName", 0x040904E4), "Registering test control");
    EXPECT_EQ(version.queryValue("ProductName"), "Registering test control");
    EXPECT_EQ(version.queryValue("NoSuchValue"), "");
    EXPECT_EQ(version.queryValue(nullptr), "");
}

TEST(FileVersionFlags, DebugFlag)
{
    CFileVersion debug;
    ASSERT_EQ(debug.open(REG_REFUSES), 1);
    EXPECT_TRUE(debug.isDebug());
    CFileVersion plain;
    ASSERT_EQ(plain.open(REG_OK), 1);
    EXPECT_EQ(plain.isDebug(), DEBUG_BUILD);
}

TEST(FileVersionFlags, FixedInfoIsCopied)
{
    CFileVersion version;
    ASSERT_EQ(version.open(REG_OK), 1);
    VS_FIXEDFILEINFO info;
    ASSERT_EQ(version.getFixedInfo(info), 1);
    EXPECT_EQ(info.dwSignature, VS_FFI_SIGNATURE);
    EXPECT_EQ(info.dwFileVersionMS, (3u << 16) | 12u);
    EXPECT_EQ(info.dwFileVersionLS, (7u << 16) | 1u);
    EXPECT_EQ(info.dwProductVersionMS, (2u << 16) | 1u);
    EXPECT_EQ(info.dwProductVersionLS, 29u);
    EXPECT_EQ(info.dwFileType, VFT_DLL);
}

namespace {

void expectClosed(const CFileVersion& version)
{
    EXPECT_FALSE(version.isOpen());
    EXPECT_EQ(version.getTranslation(), 0u);
    EXPECT_EQ(version.queryValue("ProductName", 0x040904E4), "");
    EXPECT_EQ(version.getFileDescription(), "");
    EXPECT_EQ(version.getFileVersion(), "");
    EXPECT_EQ(version.getInternalName(), "");
    EXPECT_EQ(version.getCompanyName(), "");
    EXPECT_EQ(version.getLegalCopyright(), "");
    EXPECT_EQ(version.getLegalTrademark(), "");
    EXPECT_EQ(version.getOriginalFilename(), "");
    EXPECT_EQ(version.getProductName(), "");
    EXPECT_EQ(version.getProductVersion(), "");
    EXPECT_EQ(version.getFixedFileVersion(), "");
    EXPECT_EQ(version.getFixedFileVersion4(), "");
    EXPECT_EQ(version.getFixedProductVersion(), "");
    EXPECT_EQ(version.getFixedProductVersion4(), "");
    EXPECT_EQ(version.getAboutVersion(), "");
    EXPECT_FALSE(version.isDebug());
    VS_FIXEDFILEINFO info;
    info.dwSignature = 7;
    EXPECT_EQ(version.getFixedInfo(info), 0);
    EXPECT_EQ(info.dwSignature, 7u) << "left as it was";
}

} // namespace

TEST(FileVersionClosed, NewObjectGivesNothing)
{
    const CFileVersion version;
    expectClosed(version);
}

TEST(FileVersionClosed, CloseAndFailedOpenCloseIt)
{
    CFileVersion version;
    ASSERT_EQ(version.open(REG_OK), 1);
    version.close();
    expectClosed(version);

    ASSERT_EQ(version.open(REG_OK), 1);
    EXPECT_EQ(version.open(programPath().c_str()), 0) << "the test program has no version block";
    expectClosed(version);
    EXPECT_EQ(version.open("/nonexistent/zorbase29.so"), 0);
    EXPECT_EQ(version.open(nullptr), 0);
    expectClosed(version);
}

TEST(FileVersionCopy, CopyOutlivesTheOriginal)
{
    CFileVersion* original = new CFileVersion;
    ASSERT_EQ(original->open(REG_OK), 1);
    const CFileVersion copy(*original);
    CFileVersion assigned;
    assigned = *original;
    delete original;
    EXPECT_EQ(copy.getProductName(), "Registering test control");
    EXPECT_EQ(copy.getFixedFileVersion4(), "03.12.07.01");
    EXPECT_EQ(assigned.getTranslation(), 0x040904E4u);
    EXPECT_EQ(assigned.getProductName(), "Registering test control");
}
