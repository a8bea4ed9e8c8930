#pragma once

// The monitor's main window under test: the real window, created modeless offscreen on a copy
// of the monitor database in a temporary folder, with a settings store of its own in which the
// real zorwidgets29 and the wait server are registered. Echo requests go through the window's
// echo seam (a fixed answer, or none), so no test depends on the right to send them.

#include "monitor/corvaneapp.h"
#include "monitor/corvanedlg.h"
#include "platform/ui/messagebox.h"
#include "tests/monitor/database/testdatabase.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// The time of every test: a Tuesday afternoon.
inline const COleDateTime c_testNow(2024, 5, 14, 14, 37, 0);

// The one application object of the test program.
CCorvaneApp& testApp();

// Lets queued events, timers and paints run for a while.
void pumpEvents(int milliseconds = 20);

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Settings as the window finds them when it opens.
    void setOption(const char* name, const std::string& text);
    void setOption(const char* name, int value);
    std::string storedText(const char* section, const std::string& name);
    int storedInt(const char* section, const std::string& name, int missing = -1);

    // Opens the window on the settings stored so far.
    CCorvaneDlg& open();
    CCorvaneDlg& dialog() { return *m_dialog; }
    // Runs ticks of timer 1 as the timer would.
    void tick(int count = 1);
    // Ticks up to and including the first sampling pass.
    void tickToFirstPass();
    // What a control shows.
    std::string text(int id) const;

    // A host's status records in order: "start", "stop", "up", "down" (host texts compared
    // without regard to case, as the database compares them).
    std::vector<std::string> history(const std::string& host);
    std::string databaseFile() const { return m_directory + "corvane.mdb"; }

    ScopedRegistry m_registry;
    TempFolder m_folder;
    std::string m_directory;
    CRecordingPresenter m_boxes;
    // The answer of every echo request, in ms; 0 is no answer.
    int m_echoMs {5};
    std::unique_ptr<CCorvaneDlg> m_dialog;
};
