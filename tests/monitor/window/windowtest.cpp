#include "tests/monitor/window/windowtest.h"

#include "monitor/resource.h"
#include "platform/module/module.h"
#include "platform/ole/factory.h"
#include "platform/ole/oleinit.h"
#include "platform/types/clock.h"
#include "platform/ui/winapp.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>

#include <cstdlib>

namespace {

HRESULT registerModule(const char* file)
{
    const char* dir = std::getenv("ZORVEX_BIN_DIR");
    const std::string path = std::string(dir ? dir : ".") + "/" + file;
    const HMODULE module = LoadLibraryA(path.c_str());
    auto entry
        = reinterpret_cast<ZorDllRegisterServer>(GetProcAddress(module, "DllRegisterServer"));
    return entry ? entry() : E_FAIL;
}

} // namespace

CCorvaneApp& testApp()
{
    static CCorvaneApp app;
    return app;
}

void pumpEvents(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    do
        QCoreApplication::processEvents();
    while (timer.elapsed() < milliseconds);
}

void MainWindowTest::SetUp()
{
    static const bool containers = [] {
        AfxOleInit();
        AfxEnableControlContainer();
        return true;
    }();
    ASSERT_TRUE(containers);
    // The wait dialog builds its window without showing it.
    setenv("ZORVEX_SERVER_NOSHOW", "1", 1);
    // The store is new for every test: the modules are registered into it again.
    ASSERT_EQ(registerModule("zorwidgets29.so"), S_OK) << zorModuleLoadError();
    ASSERT_EQ(registerModule("zorwait29.so"), S_OK) << zorModuleLoadError();
    m_directory = createMonitorDatabase(m_folder);
    testApp().initProfile("Zorvex", "Corvane", "V2.01");
    // A fixed afternoon: quarter hours and graph windows do not move under a test.
    const std::time_t now = c_testNow.GetAsTimeT();
    zorSetClock([now] { return now; });
}

void MainWindowTest::TearDown()
{
    if (testApp().m_pMainWnd == m_dialog.get())
        testApp().m_pMainWnd = nullptr;
    m_dialog.reset();
    zorSetClock({});
}

void MainWindowTest::setOption(const char* name, const std::string& text)
{
    testApp().putChars(eKEY_CURRENT_USER, CCorvaneApp::c_szOptions, name, text);
}

void MainWindowTest::setOption(const char* name, int value)
{
    testApp().putInt(eKEY_CURRENT_USER, CCorvaneApp::c_szOptions, name, value);
}

std::string MainWindowTest::storedText(const char* section, const std::string& name)
{
    return testApp().getString(eKEY_CURRENT_USER, section, name, "(none)");
}

int MainWindowTest::storedInt(const char* section, const std::string& name, int missing)
{
    return testApp().getInt(eKEY_CURRENT_USER, section, name, missing);
}

CCorvaneDlg& MainWindowTest::open()
{
    testApp().initAppVars();
    m_dialog = std::make_unique<CCorvaneDlg>(testApp(), m_directory, m_directory);
    m_dialog->setStartupPause(0);
    m_dialog->setEchoFunction([this](std::uint32_t, int) { return m_echoMs; });
    EXPECT_TRUE(m_dialog->Create(IDD_CORVANE_DIALOG));
    m_dialog->ShowWindow(SW_SHOW);
    pumpEvents();
    // The test gives the ticks.
    m_dialog->KillTimer(CCorvaneDlg::c_nTimerId);
    return *m_dialog;
}

void MainWindowTest::tick(int count)
{
    for (int i = 0; i < count; ++i) {
        m_dialog->SendMessage(WM_TIMER, CCorvaneDlg::c_nTimerId, 0);
        // A pass starts the timer again.
        m_dialog->KillTimer(CCorvaneDlg::c_nTimerId);
    }
}

void MainWindowTest::tickToFirstPass()
{
    // The first pass comes ten seconds after the window opened.
    tick(10);
}

std::string MainWindowTest::text(int id) const
{
    return m_dialog->GetDlgItemText(id);
}

std::vector<std::string> MainWindowTest::history(const std::string& host)
{
    CDirectConnection connection(databaseFile());
    std::vector<std::string> kinds;
    for (const std::string& row : connection.rows(
             "SELECT s.Up, s.SessionStartStop FROM Status s JOIN Hosts h ON h.HostID = s.HostID"
             " WHERE h.Host = '"
             + host + "' COLLATE NOCASE ORDER BY s.ID")) {
        const bool up = row[0] == '1';
        const bool startStop = row[2] == '1';
        kinds.push_back(startStop ? (up ? "start" : "stop") : (up ? "up" : "down"));
    }
    return kinds;
}
