#include "framework/version/moduleversion.h"

#include "platform/ui/messagebox.h"
#include "tests/framework/version/versiontestsupport.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>
#include <string>

using namespace versiontest;

namespace {

// The text of a failed registration's box.
std::string reported(const char* message, const std::string& fileName)
{
    std::string text(message);
    text.append(": ").append(fileName);
    return text;
}

void expectOneBox(const CRecordingPresenter& presenter, const std::string& text)
{
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text, text);
    EXPECT_EQ(presenter.boxes[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
    EXPECT_EQ(presenter.boxes[0].type & MB_TYPEMASK, MB_OK);
}

} // namespace

TEST(RegisterControl, ZeroIsSuccess)
{
    const CRecordingPresenter presenter;
    EXPECT_TRUE(registerControl(REG_OK));
    EXPECT_TRUE(presenter.boxes.empty());
    EXPECT_EQ(GetModuleHandleA(REG_OK), nullptr) << "the module is released afterwards";
}

TEST(RegisterControl, PositiveSuccessCodeIsAFailure)
{
    const CRecordingPresenter presenter;
    EXPECT_FALSE(registerControl(REG_REFUSES));
    expectOneBox(presenter, reported("Couldn't register control", REG_REFUSES));
    EXPECT_EQ(GetModuleHandleA(REG_REFUSES), nullptr);
}

TEST(RegisterControl, MissingEntryPoint)
{
    const CRecordingPresenter presenter;
    EXPECT_FALSE(registerControl(REG_NONE));
    expectOneBox(presenter, reported("Missing server registration function", REG_NONE));
    EXPECT_EQ(GetModuleHandleA(REG_NONE), nullptr);
}

TEST(RegisterControl, ModuleThatCannotBeLoaded)
{
    const CRecordingPresenter presenter;
    EXPECT_FALSE(registerControl("/nonexistent/zorwidgets29.ocx"));
    expectOneBox(presenter, reported("Couldn't find control", "/nonexistent/zorwidgets29.ocx"));
}

class RegisterCommonControl : public testing::Test
{
protected:
    TempFolder m_shared;
    ScopedEnvironment m_common {"ZORVEX_COMMON_DIR", m_shared.path().c_str()};
};

TEST_F(RegisterCommonControl, FoundInTheSharedFolder)
{
    copyFile(REG_OK, m_shared.file("zortestcommon.so"));
    const CRecordingPresenter presenter;
    EXPECT_TRUE(registerMyCommonControl("zortestcommon.ocx"));
    EXPECT_TRUE(presenter.boxes.empty());
}

TEST_F(RegisterCommonControl, FailureNamesThePathFound)
{
    copyFile(REG_REFUSES, m_shared.file("zortestcommon.so"));
    const CRecordingPresenter presenter;
    EXPECT_FALSE(registerMyCommonControl("zortestcommon.ocx"));
    expectOneBox(
        presenter, reported("Couldn't register control", m_shared.file("zortestcommon.so")));
}

TEST_F(RegisterCommonControl, NotFoundIsSilent)
{
    const CRecordingPresenter presenter;
    EXPECT_FALSE(registerMyCommonControl("zortestmissing.ocx"));
    EXPECT_TRUE(presenter.boxes.empty());
}
