// The test container: its command line, the list of registered controls, and scripted runs
// against the control module when it is built.

#include "platform/ole/control.h"
#include "tests/servers/servertestsupport.h"
#include "tools/zorcontainer/containerdialog.h"
#include "tools/zorcontainer/containeroptions.h"
#include "tools/zorcontainer/controllist.h"

#include <QtGui/QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace servertest;

TEST(ContainerOptions, ReadsTheScriptedSteps)
{
    ContainerOptions options;
    std::string error;
    ASSERT_TRUE(parseContainerOptions(
        {"--insert", "zorLightControl.29", "--set", "State=1", "--set", "Caption=", "--invoke",
            "AboutBox", "--invoke", "Move=1,2", "--screenshot", "out.png", "--frame", "--page", "1",
            "--size", "640x480"},
        &options, &error))
        << error;
    EXPECT_EQ(options.insert, "zorLightControl.29");
    ASSERT_EQ(options.sets.size(), 2u);
    EXPECT_EQ(options.sets[0], std::make_pair(std::string("State"), std::string("1")));
    EXPECT_EQ(options.sets[1], std::make_pair(std::string("Caption"), std::string()));
    ASSERT_EQ(options.invokes.size(), 2u);
    EXPECT_TRUE(options.invokes[0].second.empty());
    EXPECT_EQ(options.invokes[1].second, (std::vector<std::string> {"1", "2"}));
    EXPECT_EQ(options.screenshot, "out.png");
    EXPECT_TRUE(options.frame);
    EXPECT_EQ(options.page, 1);
    EXPECT_EQ(options.width, 640);
    EXPECT_EQ(options.height, 480);
    EXPECT_TRUE(options.scripted());
}

TEST(ContainerOptions, RefusesWrongLines)
{
    ContainerOptions options;
    std::string error;
    EXPECT_FALSE(parseContainerOptions({"--insert"}, &options, &error));
    EXPECT_EQ(error, "--insert needs a value");
    EXPECT_FALSE(parseContainerOptions({"--set", "State"}, &options, &error));
    EXPECT_FALSE(parseContainerOptions({"--set", "=1"}, &options, &error));
    EXPECT_FALSE(parseContainerOptions({"--size", "big"}, &options, &error));
    EXPECT_FALSE(parseContainerOptions({"--bogus"}, &options, &error));
    EXPECT_EQ(error, "unknown option --bogus");
    EXPECT_TRUE(parseContainerOptions({}, &options, &error));
    EXPECT_FALSE(options.scripted());
}

TEST(ContainerOptions, SplitsArgumentsAtCommas)
{
    EXPECT_TRUE(splitArguments("").empty());
    EXPECT_EQ(splitArguments("a"), (std::vector<std::string> {"a"}));
    EXPECT_EQ(splitArguments("a,,b"), (std::vector<std::string> {"a", "", "b"}));
}

// --- the lines of a --script file ------------------------------------------------------------

namespace {

struct StepCase
{
    const char* name;
    const char* line;
    bool ok;
    ContainerStep::EKind kind;
    const char* stepName;
    const char* value;
    std::vector<std::string> args;
    int page;
};

class ContainerStepLines : public testing::TestWithParam<StepCase>
{
};

} // namespace

TEST_P(ContainerStepLines, ReadsOneStep)
{
    const StepCase& c = GetParam();
    ContainerStep step;
    std::string error;
    ASSERT_EQ(parseContainerStep(c.line, &step, &error), c.ok) << c.line;
    EXPECT_EQ(error.empty(), c.ok) << error;
    if (!c.ok)
        return;
    EXPECT_EQ(step.kind, c.kind);
    EXPECT_EQ(step.name, c.stepName);
    EXPECT_EQ(step.value, c.value);
    EXPECT_EQ(step.args, c.args);
    EXPECT_EQ(step.page, c.page);
}

INSTANTIATE_TEST_SUITE_P(Lines, ContainerStepLines,
    testing::Values(StepCase {"Blank", "  \t", true, ContainerStep::eSTEP_NONE, "", "", {}, 0},
        StepCase {"Comment", "  # set State=1", true, ContainerStep::eSTEP_NONE, "", "", {}, 0},
        // The value runs to the end of the line, spaces and '=' included; the line end goes.
        StepCase {"SetText", "set Caption=a b=c\r\n", true, ContainerStep::eSTEP_SET, "Caption",
            "a b=c", {}, 0},
        StepCase {"SetEmpty", "set Caption=", true, ContainerStep::eSTEP_SET, "Caption", "", {}, 0},
        StepCase {"InvokeBare", "invoke Refresh", true, ContainerStep::eSTEP_INVOKE, "Refresh", "",
            {}, 0},
        StepCase {"InvokeArgs", "\tinvoke  setStateColor=1,0x000000FF", true,
            ContainerStep::eSTEP_INVOKE, "setStateColor", "", {"1", "0x000000FF"}, 0},
        StepCase {"FrameFirst", "frame", true, ContainerStep::eSTEP_FRAME, "", "", {}, 0},
        StepCase {"FramePage", "frame 2", true, ContainerStep::eSTEP_FRAME, "", "", {}, 2},
        StepCase {"Memory", "memory", true, ContainerStep::eSTEP_MEMORY, "", "", {}, 0},
        StepCase {"SetNoValue", "set State", false, ContainerStep::eSTEP_NONE, "", "", {}, 0},
        StepCase {"SetNoName", "set =1", false, ContainerStep::eSTEP_NONE, "", "", {}, 0},
        StepCase {"InvokeNoName", "invoke", false, ContainerStep::eSTEP_NONE, "", "", {}, 0},
        StepCase {"FrameWord", "frame two", false, ContainerStep::eSTEP_NONE, "", "", {}, 0},
        StepCase {"FrameTrailing", "frame 1x", false, ContainerStep::eSTEP_NONE, "", "", {}, 0},
        StepCase {"FrameNegative", "frame -1", false, ContainerStep::eSTEP_NONE, "", "", {}, 0},
        StepCase {"MemoryArgument", "memory 1", false, ContainerStep::eSTEP_NONE, "", "", {}, 0},
        StepCase {"Unknown", "click", false, ContainerStep::eSTEP_NONE, "", "", {}, 0}),
    [](const testing::TestParamInfo<StepCase>& info) { return std::string(info.param.name); });

TEST(ControlList, ServersAreNotControls)
{
    ScopedRegistry registry;
    EXPECT_TRUE(zorRegisteredControls().empty());
    ASSERT_TRUE(registerModule(ZOR_TEST_WAIT_MODULE));
    ASSERT_TRUE(registerModule(ZOR_TEST_ABOUT_MODULE));
    EXPECT_TRUE(zorRegisteredControls().empty());
}

namespace {

class ContainerWithWidgets : public testing::Test
{
protected:
    void SetUp() override
    {
        // A missing module is a broken build, never a reason to pass.
        ASSERT_TRUE(fileExists(ZOR_TEST_WIDGETS_MODULE))
            << "zorwidgets29 is not built: " << ZOR_TEST_WIDGETS_MODULE;
        ASSERT_TRUE(registerModule(ZOR_TEST_WIDGETS_MODULE));
    }
    ScopedRegistry m_registry;
    TempFolder m_folder;
};

} // namespace

TEST_F(ContainerWithWidgets, ListsTheRegisteredControls)
{
    std::vector<std::string> progIds;
    for (const ZorRegisteredControl& control : zorRegisteredControls()) {
        progIds.push_back(control.progId);
        EXPECT_EQ(control.module, std::string(ZOR_TEST_WIDGETS_MODULE));
    }
    for (const char* progId : {"zorLightControl.29", "zorColorControl.29", "zorURLControl.29"})
        EXPECT_NE(std::find(progIds.begin(), progIds.end(), progId), progIds.end()) << progId;

    const ToolResult result = runTool(ZOR_TEST_CONTAINER, {"--list"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("zorLightControl.29\t{01540154-0005-0000-0029-000000000004}"),
        std::string::npos)
        << result.out;
}

TEST_F(ContainerWithWidgets, ScriptedRunSetsSavesAndShoots)
{
    const std::string bag = m_folder.file("light.txt");
    const std::string png = m_folder.file("light.png");
    const ToolResult result = runTool(ZOR_TEST_CONTAINER,
        {"--insert", "zorLightControl.29", "--set", "State=1", "--members", "--save", bag,
            "--screenshot", png});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("State"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("State set to 1"), std::string::npos) << result.out;

    std::ifstream in(bag);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("State=1"), std::string::npos) << text.str();

    QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 300);
    EXPECT_GT(image.height(), 200);

    // The saved state loads back into a fresh control.
    const ToolResult loaded
        = runTool(ZOR_TEST_CONTAINER, {"--insert", "zorLightControl.29", "--load", bag, "--quit"});
    EXPECT_EQ(loaded.exitCode, 0) << loaded.out << loaded.err;
    EXPECT_NE(loaded.out.find("Loaded " + bag), std::string::npos) << loaded.out;
}

TEST_F(ContainerWithWidgets, ScriptFileRunsItsStepsInOrder)
{
    const std::string script = m_folder.file("steps.txt");
    const std::string bag = m_folder.file("after.txt");
    {
        std::ofstream out(script);
        out << "# the light, driven\n"
               "set State=1\n"
               "invoke setStateColor=1,0x000000FF\n"
               "frame 0\n"
               "memory\n"
               "set State=2\n";
    }
    const ToolResult result = runTool(ZOR_TEST_CONTAINER,
        {"--insert", "zorLightControl.29", "--script", script, "--save", bag, "--quit"});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    const std::size_t first = result.out.find("State set to 1");
    const std::size_t memory = result.out.find("memory: ");
    const std::size_t last = result.out.find("State set to 2");
    ASSERT_NE(first, std::string::npos) << result.out;
    ASSERT_NE(memory, std::string::npos) << result.out;
    ASSERT_NE(last, std::string::npos) << result.out;
    EXPECT_LT(first, memory);
    EXPECT_LT(memory, last);
    EXPECT_GT(std::atol(result.out.c_str() + memory + 8), 0) << result.out;
    std::ifstream in(bag);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("State=2"), std::string::npos) << text.str();

    // A wrong line is named and fails the run; the steps around it still run.
    {
        std::ofstream out(script);
        out << "set State=1\nclick\nset State=2\n";
    }
    const ToolResult wrong = runTool(
        ZOR_TEST_CONTAINER, {"--insert", "zorLightControl.29", "--script", script, "--quit"});
    EXPECT_EQ(wrong.exitCode, 1) << wrong.out << wrong.err;
    EXPECT_NE(wrong.out.find(script + ":2: unknown step click"), std::string::npos) << wrong.out;
    EXPECT_NE(wrong.out.find("State set to 2"), std::string::npos) << wrong.out;
}

TEST(ContainerScript, UnknownControlFailsTheScript)
{
    ScopedRegistry registry;
    const ToolResult result
        = runTool(ZOR_TEST_CONTAINER, {"--insert", "zorNoSuchControl.29", "--quit"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("Cannot insert zorNoSuchControl.29"), std::string::npos)
        << result.out;
}

// --- the dialog driven in-process ---------------------------------------------------------

namespace {

class ContainerDialog : public ContainerWithWidgets
{
protected:
    void SetUp() override
    {
        ContainerWithWidgets::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(m_dialog.Create());
    }
    void TearDown() override
    {
        if (m_dialog.GetSafeHwnd() != nullptr)
            m_dialog.DestroyWindow();
    }
    CContainerDialog m_dialog;
};

} // namespace

TEST_F(ContainerDialog, InsertsAControlAndListsItsMembers)
{
    ASSERT_EQ(m_dialog.insertControl("zorLightControl.29"), S_OK);
    ASSERT_NE(m_dialog.control(), nullptr);
    const std::vector<std::string> lines = m_dialog.memberLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "3\tState\tproperty long"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "-600\tClick\tevent"), lines.end());
    // The control sits inside the host area.
    CRect rect;
    m_dialog.control()->GetClientRect(&rect);
    EXPECT_GT(rect.Width(), 100);
    EXPECT_GT(rect.Height(), 100);
}

TEST_F(ContainerDialog, SetsAndGetsPropertiesByName)
{
    ASSERT_EQ(m_dialog.insertControl("zorLightControl.29"), S_OK);
    std::string value;
    ASSERT_TRUE(m_dialog.getProperty("State", &value));
    EXPECT_EQ(value, "0");
    ASSERT_TRUE(m_dialog.setProperty("State", "1"));
    ASSERT_TRUE(m_dialog.getProperty("state", &value));
    EXPECT_EQ(value, "1");
    // A colour typed in hexadecimal.
    ASSERT_TRUE(m_dialog.setProperty("Color", "0x0000FF00"));
    ASSERT_TRUE(m_dialog.getProperty("Color", &value));
    EXPECT_EQ(value, "0x0000FF00");
    EXPECT_FALSE(m_dialog.setProperty("NoSuchProperty", "1"));
    EXPECT_FALSE(m_dialog.getProperty("NoSuchProperty", &value));
}

TEST_F(ContainerDialog, InvokesMethodsWithTypedArguments)
{
    ASSERT_EQ(m_dialog.insertControl("zorLightControl.29"), S_OK);
    ASSERT_TRUE(m_dialog.invokeMethod("setStateColor", {"1", "0x000000FF"}));
    std::string value;
    ASSERT_TRUE(m_dialog.getProperty("Color", &value));
    EXPECT_EQ(value, "0x000000FF");
    EXPECT_FALSE(m_dialog.invokeMethod("setStateColor", {"1"}));
}

TEST_F(ContainerDialog, LogsTheControlsEvents)
{
    ASSERT_EQ(m_dialog.insertControl("zorLightControl.29"), S_OK);
    EXPECT_TRUE(m_dialog.eventLog().empty());
    m_dialog.control()->FireClick();
    ASSERT_EQ(m_dialog.eventLog().size(), 1u);
    EXPECT_EQ(m_dialog.eventLog()[0], "Click()");
}

TEST_F(ContainerDialog, SavesAndLoadsThePersistedState)
{
    ASSERT_EQ(m_dialog.insertControl("zorLightControl.29"), S_OK);
    ASSERT_TRUE(m_dialog.setProperty("State", "1"));
    const std::string bag = m_folder.file("state.txt");
    ASSERT_TRUE(m_dialog.saveState(bag));

    ASSERT_EQ(m_dialog.insertControl("zorLightControl.29"), S_OK);
    std::string value;
    ASSERT_TRUE(m_dialog.getProperty("State", &value));
    EXPECT_EQ(value, "0");
    EXPECT_TRUE(m_dialog.loadState(bag));
    ASSERT_TRUE(m_dialog.getProperty("State", &value));
    EXPECT_EQ(value, "1");
    EXPECT_FALSE(m_dialog.loadState(m_folder.file("missing.txt")));
}

TEST_F(ContainerDialog, ScreenshotOfTheFrameShowsItsPages)
{
    ASSERT_EQ(m_dialog.insertControl("zorColorControl.29"), S_OK);
    const std::string png = m_folder.file("frame.png");
    ASSERT_TRUE(m_dialog.screenshot(png, true, 0));
    QImage image(QString::fromStdString(png));
    EXPECT_FALSE(image.isNull());
    m_dialog.removeControl();
    EXPECT_EQ(m_dialog.control(), nullptr);
    EXPECT_FALSE(m_dialog.screenshot(png, true, 0));
}
