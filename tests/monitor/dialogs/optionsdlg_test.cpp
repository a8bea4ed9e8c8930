// The Options dialog and the probe settings it edits, against a real settings store of the
// test's own.

#include "monitor/optionsdlg.h"
#include "monitor/probesettings.h"

#include "framework/frame/zorapp.h"
#include "framework/settings/profile.h"
#include "platform/ui/messagebox.h"
#include "tests/monitor/dialogs/dialogtesthelpers.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace {

constexpr const char* c_section = "Options";

class ProbeStore
{
public:
    ProbeStore() { profile.initProfile("Zorvex", "Corvane", "V2.01"); }

    void store(eKEY root, int timeout, int repeat)
    {
        profile.putInt(root, c_section, "Timeout", timeout);
        profile.putInt(root, c_section, "Repeat", repeat);
    }
    // "timeout/repeat" as stored under the root, "-" for a missing value.
    std::string stored(eKEY root) const
    {
        const auto value = [&](const char* name) {
            const int v = profile.getInt(root, c_section, name, -1);
            return v == -1 ? std::string("-") : std::to_string(v);
        };
        return value("Timeout") + "/" + value("Repeat");
    }

    ScopedRegistry registry;
    CProfile profile;
};

struct StoredCase
{
    const char* name;
    std::optional<int> timeout;
    std::optional<int> repeat;
    ProbeSettings expected;
};

void PrintTo(const StoredCase& c, std::ostream* os)
{
    *os << c.name;
}

class ProbeSettingsRead : public ::testing::TestWithParam<StoredCase>
{
};

} // namespace

TEST_P(ProbeSettingsRead, GivesTheStoredValuesWithinTheDialogsRanges)
{
    const StoredCase& c = GetParam();
    ProbeStore store;
    if (c.timeout)
        store.profile.putInt(eKEY_LOCAL_MACHINE, c_section, "Timeout", *c.timeout);
    if (c.repeat)
        store.profile.putInt(eKEY_LOCAL_MACHINE, c_section, "Repeat", *c.repeat);
    // The user's own root is not where these settings live.
    store.store(eKEY_CURRENT_USER, 4000, 4);

    const ProbeSettings read = readProbeSettings(store.profile);
    EXPECT_EQ(read.timeoutMs, c.expected.timeoutMs);
    EXPECT_EQ(read.repeat, c.expected.repeat);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProbeSettingsRead,
    ::testing::Values(StoredCase {"Missing", std::nullopt, std::nullopt, {1000, 3}},
        StoredCase {"Limits", 500, 5, {500, 5}}, StoredCase {"OtherLimits", 5000, 1, {5000, 1}},
        StoredCase {"BelowRange", 0, 0, {500, 1}},
        StoredCase {"AboveRange", 600000, 100, {5000, 5}},
        StoredCase {"Negative", -1000, -3, {500, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct OptionsCase
{
    const char* name;
    const char* timeout;
    const char* repeat;
    // The message the dialog shows and the control that gets the focus back; no message
    // when the values are taken.
    const char* message;
    int focused;
};

void PrintTo(const OptionsCase& c, std::ostream* os)
{
    *os << c.name;
}

class OptionsDialogOk : public ::testing::TestWithParam<OptionsCase>
{
};

} // namespace

TEST_P(OptionsDialogOk, TakesRepeatThenTimeoutOrStaysOpen)
{
    const OptionsCase& c = GetParam();
    ProbeStore store;
    store.store(eKEY_LOCAL_MACHINE, 1200, 4);
    CRecordingPresenter boxes;
    COptionsDlg dialog(nullptr, &store.profile);
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(showActive(dialog));
    EXPECT_EQ(dialog.GetDlgItemText(COptionsDlg::c_idTimeout), "1200");
    EXPECT_EQ(dialog.GetDlgItemText(COptionsDlg::c_idRepeat), "4");

    dialog.SetDlgItemText(COptionsDlg::c_idTimeout, c.timeout);
    dialog.SetDlgItemText(COptionsDlg::c_idRepeat, c.repeat);
    press(dialog, IDOK);

    if (c.message) {
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, c.message);
        EXPECT_EQ(boxes.boxes[0].type, MB_ICONEXCLAMATION | MB_OK);
        EXPECT_EQ(focusedId(dialog), c.focused);
        EXPECT_EQ(dialog.result(), -1) << "the dialog stays open";
        EXPECT_TRUE(dialog.widget()->isVisible());
        EXPECT_EQ(store.stored(eKEY_LOCAL_MACHINE), "1200/4");
    } else {
        EXPECT_TRUE(boxes.boxes.empty());
        EXPECT_EQ(dialog.result(), IDOK);
        EXPECT_EQ(store.stored(eKEY_LOCAL_MACHINE),
            std::to_string(std::stoi(c.timeout)) + "/" + std::to_string(std::stoi(c.repeat)));
    }
    EXPECT_EQ(store.stored(eKEY_CURRENT_USER), "-/-");
}

INSTANTIATE_TEST_SUITE_P(Cases, OptionsDialogOk,
    ::testing::Values(
        OptionsCase {"TimeoutBelowRange", "499", "3",
            "Please enter an integer between 500 and 5000.", COptionsDlg::c_idTimeout},
        OptionsCase {"TimeoutAboveRange", "5001", "3",
            "Please enter an integer between 500 and 5000.", COptionsDlg::c_idTimeout},
        OptionsCase {"RepeatAboveRange", "1000", "6", "Please enter an integer between 1 and 5.",
            COptionsDlg::c_idRepeat},
        OptionsCase {"RepeatZero", "1000", "0", "Please enter an integer between 1 and 5.",
            COptionsDlg::c_idRepeat},
        // Repeat is taken first: with both wrong, only its message shows.
        OptionsCase {"BothOutOfRange", "499", "6", "Please enter an integer between 1 and 5.",
            COptionsDlg::c_idRepeat},
        OptionsCase {"TimeoutNotAWholeNumber", "1.5", "3", "Please enter an integer.",
            COptionsDlg::c_idTimeout},
        OptionsCase {
            "RepeatEmpty", "1000", "", "Please enter an integer.", COptionsDlg::c_idRepeat},
        OptionsCase {"LowerLimits", "500", "1", nullptr, 0},
        OptionsCase {"UpperLimits", "5000", "5", nullptr, 0},
        OptionsCase {"TimeoutAndRepeatOfTheIssue", "500", "5", nullptr, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OptionsDialog, OpensWithTheStoreAndCancelChangesNothing)
{
    for (const bool stored : {false, true}) {
        SCOPED_TRACE(stored ? "stored values" : "empty store");
        ProbeStore store;
        if (stored)
            store.store(eKEY_LOCAL_MACHINE, 2500, 2);
        CRecordingPresenter boxes;
        COptionsDlg dialog(nullptr, &store.profile);
        ASSERT_TRUE(dialog.Create());
        EXPECT_EQ(dialog.GetDlgItemText(COptionsDlg::c_idTimeout), stored ? "2500" : "1000");
        EXPECT_EQ(dialog.GetDlgItemText(COptionsDlg::c_idRepeat), stored ? "2" : "3");

        dialog.SetDlgItemText(COptionsDlg::c_idTimeout, "700");
        dialog.SetDlgItemText(COptionsDlg::c_idRepeat, "9");
        press(dialog, IDCANCEL);
        EXPECT_EQ(dialog.result(), IDCANCEL);
        EXPECT_TRUE(boxes.boxes.empty());
        EXPECT_EQ(store.stored(eKEY_LOCAL_MACHINE), stored ? "2500/2" : "-/-");
    }
}

namespace {

// The application object the monitor's dialogs take their store from when given none.
class CTestApp : public CzorApp
{
public:
    CTestApp() : CzorApp("Zorvex", "Corvane", "V2.01", 63, 129, "") { }
    UINT getIconId() override { return 129; }
    const char* const* getModuleList() override
    {
        static const char* const none[] = {""};
        return none;
    }
    std::string getBuildTime() override { return "Jun 24 2002 11:03:26"; }
};

} // namespace

TEST(OptionsDialog, UsesTheApplicationsStoreWhenGivenNone)
{
    ProbeStore store;
    store.store(eKEY_LOCAL_MACHINE, 800, 2);
    CTestApp app;
    app.initProfile("Zorvex", "Corvane", "V2.01");
    CRecordingPresenter boxes;
    COptionsDlg dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.GetDlgItemText(COptionsDlg::c_idTimeout), "800");
    dialog.SetDlgItemText(COptionsDlg::c_idTimeout, "900");
    press(dialog, IDOK);
    EXPECT_EQ(dialog.result(), IDOK);
    EXPECT_EQ(store.stored(eKEY_LOCAL_MACHINE), "900/2");
}
