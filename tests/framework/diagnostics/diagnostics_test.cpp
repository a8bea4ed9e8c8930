#include "framework/diagnostics/diagnostics.h"
#include "framework/diagnostics/messagenames.h"
#include "platform/ui/message.h"
#include "platform/ui/messagebox.h"

#include <QtCore/QCoreApplication>

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <utility>

class BoxOutYesNo : public testing::TestWithParam<int>
{
};

TEST_P(BoxOutYesNo, ReturnsTheButtonPressed)
{
    CRecordingPresenter presenter;
    presenter.answers.push_back(GetParam());
    EXPECT_EQ(
        boxOut(__FILE__, __LINE__, 292, "Delete %d records of %s?", 12, "Status"), GetParam());
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text, "Delete 12 records of Status?");
    EXPECT_EQ(presenter.boxes[0].type, 292u);
}

INSTANTIATE_TEST_SUITE_P(Answers, BoxOutYesNo, testing::Values(IDYES, IDNO),
    [](const testing::TestParamInfo<int>& info) { return info.param == IDYES ? "Yes" : "No"; });

TEST(BoxOut, LongMessageIsCutTo8191Characters)
{
    CRecordingPresenter presenter;
    const std::string longText(10000, 'x');
    boxOut(__FILE__, __LINE__, MB_OK, "%s", longText.c_str());
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text, std::string(8191, 'x'));
}

TEST(BoxOut, CaptionIsTheProgramFileNameWhenQtKnowsNoName)
{
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    ASSERT_TRUE(QCoreApplication::applicationName().isEmpty());
    CRecordingPresenter presenter;
    boxOut(__FILE__, __LINE__, MB_OK, "text");
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].caption, "framework_diagnostics_tests");
}

TEST(BoxOut, CaptionIsTheApplicationName)
{
    QCoreApplication::setApplicationName("Corvane");
    CRecordingPresenter presenter;
    boxOut(__FILE__, __LINE__, MB_ICONSTOP, "Database Error: %s", "disk full");
    QCoreApplication::setApplicationName(QString());
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].caption, "Corvane");
    EXPECT_EQ(presenter.boxes[0].text, "Database Error: disk full");
    EXPECT_EQ(presenter.boxes[0].type, MB_ICONSTOP);
}

// The only test that opens the debug console: the flag stays set for the rest of the run.
TEST(ConsoleOut, StandardOutputOnlyAfterTheDebugConsole)
{
    CRecordingDebugSink sink;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    consoleOut("Show %d", 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Show 1\r\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(sink.output, "Show 1\r\n");

    createDebugConsole();
    sink.output.clear();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    consoleOut("%s", "100%d done");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "100%d done\r\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "100%d done\r\n");
    EXPECT_EQ(sink.output, "100%d done\r\n");
}

TEST(ConsoleOut, LongTraceIsCutTo8191Characters)
{
    CRecordingDebugSink sink;
    const std::string longText(9000, 'y');
    consoleOut("%s", longText.c_str());
    ASSERT_EQ(sink.output.size(), 8193u);
    EXPECT_EQ(sink.output.substr(0, 8191), std::string(8191, 'y'));
    EXPECT_EQ(sink.output.substr(8191), "\r\n");
}

struct TraceCase
{
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    const char* trace;
};

class TraceMessages : public testing::TestWithParam<TraceCase>
{
};

TEST_P(TraceMessages, PrintsNameAndParameters)
{
    const TraceCase& c = GetParam();
    MSG msg;
    msg.message = c.message;
    msg.wParam = c.wParam;
    msg.lParam = c.lParam;
    CRecordingDebugSink sink;
    traceMessages(&msg);
    EXPECT_EQ(sink.output, std::string(c.trace) + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Table, TraceMessages,
    testing::Values(TraceCase {"UserPlusOne", WM_USER + 1, 0x12, 0xAB, "WM_USER+1 12 ab"},
        TraceCase {"User", WM_USER, 0, 0, "WM_USER+0 0 0"},
        TraceCase {"Unnamed", 0x0098, 1, 2, "0x0098 1 2"},
        TraceCase {"Zero", 0, 0, 0, "0x0000 0 0"},
        TraceCase {"SharedNumberLaterWins", 0x1A, 0, 0x1234, "WM_SETTINGCHANGE 0 1234"},
        TraceCase {"ImeSharedNumberLaterWins", 0x10F, 5, 6, "WM_IME_KEYLAST 5 6"},
        TraceCase {"KeyMessage", 0x100, 0x41, 0x1E0001, "WM_KEYDOWN 41 1e0001"},
        TraceCase {"MouseMessage", 0x209, 0, 0, "WM_MBUTTONDBLCLK 0 0"},
        TraceCase {"PrivateMessage", 0x379, 0, 0, "*WM_QUEUE_SENTINEL 0 0"},
        TraceCase {"NegativeParameter", 0x111, 0xFFFF, -1, "WM_COMMAND ffff ffffffff"}),
    [](const testing::TestParamInfo<TraceCase>& info) { return std::string(info.param.name); });

TEST(TraceMessages, NoMessageTracesNothing)
{
    CRecordingDebugSink sink;
    traceMessages(nullptr);
    EXPECT_EQ(sink.output, "");
}

TEST(MessageNameList, Holds218EntriesOf200Distinct)
{
    const auto names = zorMessageNames();
    EXPECT_EQ(names.size(), 218u);
    std::set<std::pair<UINT, std::string>> distinct;
    std::set<UINT> numbers;
    for (const ZorMessageName& entry : names) {
        EXPECT_LT(entry.number, 1024u) << entry.name;
        distinct.insert({entry.number, entry.name});
        numbers.insert(entry.number);
    }
    EXPECT_EQ(distinct.size(), 200u);
    EXPECT_EQ(numbers.size(), 198u); // 0x1A and 0x10F carry two names each
}

TEST(MessageNameList, KeyAndClientMouseMessagesAreListedTwice)
{
    std::map<UINT, std::vector<std::string>> byNumber;
    for (const ZorMessageName& entry : zorMessageNames())
        byNumber[entry.number].push_back(entry.name);

    std::set<UINT> twice;
    for (const auto& [number, entries] : byNumber) {
        EXPECT_LE(entries.size(), 2u) << number;
        if (entries.size() == 2)
            twice.insert(number);
    }
    std::set<UINT> expected {0x1A, 0x10F};
    for (UINT n = 0x100; n <= 0x107; ++n)
        expected.insert(n);
    for (UINT n = 0x200; n <= 0x209; ++n)
        expected.insert(n);
    EXPECT_EQ(twice, expected);

    EXPECT_EQ(byNumber[0x100], (std::vector<std::string> {"WM_KEYDOWN", "WM_KEYDOWN"}));
    EXPECT_EQ(byNumber[0x200], (std::vector<std::string> {"WM_MOUSEMOVE", "WM_MOUSEMOVE"}));
    EXPECT_EQ(byNumber[0x1A], (std::vector<std::string> {"WM_WININICHANGE", "WM_SETTINGCHANGE"}));
    EXPECT_EQ(byNumber[0x10F], (std::vector<std::string> {"WM_IME_COMPOSITION", "WM_IME_KEYLAST"}));
}
