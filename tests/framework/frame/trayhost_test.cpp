// The tray frame with a real tray host: an X server (Xvfb) of its own on a free display, the
// XEmbed tray `trayer` in it, and a program with a tray frame (trayhosthelper) on that display.

#include <QtCore/QDir>
#include <QtCore/QElapsedTimer>
#include <QtCore/QFile>
#include <QtCore/QProcess>
#include <QtCore/QRegularExpression>
#include <QtCore/QThread>

#include <gtest/gtest.h>

#include <functional>

namespace {

bool waitFor(const std::function<bool()>& condition, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        QThread::msleep(50);
    }
    return true;
}

// Runs an X client to its end and gives its output.
QString runX(const QString& display, const QString& program, const QStringList& args)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    process.setProcessEnvironment(env);
    process.start(program, args);
    process.waitForFinished(5000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

class TrayHost : public testing::Test
{
protected:
    void SetUp() override
    {
        for (int n = 91; n < 140 && m_display.isEmpty(); ++n) {
            if (!QFile::exists(QString("/tmp/.X11-unix/X%1").arg(n))
                && !QFile::exists(QString("/tmp/.X%1-lock").arg(n)))
                m_display = QString(":%1").arg(n);
        }
        ASSERT_FALSE(m_display.isEmpty()) << "no free display";
        m_xvfb.start("Xvfb", {m_display, "-screen", "0", "640x240x24", "-nolisten", "tcp"});
        ASSERT_TRUE(m_xvfb.waitForStarted(5000)) << "Xvfb does not start";
        const QString socket = "/tmp/.X11-unix/X" + m_display.mid(1);
        ASSERT_TRUE(waitFor([&] { return QFile::exists(socket); }, 10000)) << "no X server";
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert("DISPLAY", m_display);
        m_env.insert("QT_QPA_PLATFORM", "xcb");
        m_env.remove("DBUS_SESSION_BUS_ADDRESS");
    }

    void TearDown() override
    {
        if (m_helper.state() != QProcess::NotRunning) {
            m_helper.write("quit\n");
            if (!m_helper.waitForFinished(3000))
                m_helper.kill();
        }
        stopTray();
        m_xvfb.terminate();
        m_xvfb.waitForFinished(5000);
    }

    void startTray()
    {
        m_tray.setProcessEnvironment(m_env);
        m_tray.start("trayer",
            {"--edge", "top", "--align", "left", "--widthtype", "pixel", "--width", "160",
                "--heighttype", "pixel", "--height", "32", "--SetDockType", "false",
                "--transparent", "false"});
        ASSERT_TRUE(m_tray.waitForStarted(5000)) << "trayer does not start";
    }

    void stopTray()
    {
        if (m_tray.state() == QProcess::NotRunning)
            return;
        m_tray.terminate();
        if (!m_tray.waitForFinished(3000))
            m_tray.kill();
        m_tray.waitForFinished(3000);
    }

    // Waits until the helper has written a line holding the text after `from` lines.
    bool helperSaid(const QString& text, int ms)
    {
        return waitFor(
            [&] {
                m_helper.waitForReadyRead(20);
                m_output += QString::fromLocal8Bit(m_helper.readAll());
                return m_output.indexOf(text, m_seen) >= 0;
            },
            ms);
    }
    // Everything read so far counts as seen.
    void markSeen() { m_seen = m_output.size(); }

    QString state()
    {
        markSeen();
        m_helper.write("state\n");
        if (!helperSaid("state ", 3000))
            return {};
        const qsizetype at = m_output.indexOf("state ", m_seen);
        return m_output.mid(at, m_output.indexOf('\n', at) - at);
    }

    // The window of the helper's icon embedded in a window of the tray: its id, or an empty
    // text. In the tree xwininfo prints, the root's children are indented by five blanks and
    // each level below by three more; the icon is a small window of the helper's class
    // nested below one of them.
    QString embeddedIcon()
    {
        const QString tree = runX(m_display, "xwininfo", {"-root", "-tree"});
        const QRegularExpression line(
            R"(^( +)(0x[0-9a-f]+) .*\("[^"]*" "trayhosthelper"\)\s+(\d+)x(\d+))",
            QRegularExpression::MultilineOption);
        auto matches = line.globalMatch(tree);
        while (matches.hasNext()) {
            const auto match = matches.next();
            const bool nested = match.captured(1).size() > 5;
            const bool small = match.captured(3).toInt() <= 64 && match.captured(4).toInt() <= 64;
            if (nested && small)
                return match.captured(2);
        }
        return {};
    }

    QString m_display;
    QProcess m_xvfb;
    QProcess m_tray;
    QProcess m_helper;
    QProcessEnvironment m_env;
    QString m_output;
    qsizetype m_seen {0};
};

} // namespace

TEST_F(TrayHost, IconIsEmbeddedClickedAndAddedAgainAfterTheTrayRestarts)
{
    startTray();
    m_helper.setProcessEnvironment(m_env);
    m_helper.start(ZOR_TRAY_HOST_HELPER, {});
    ASSERT_TRUE(m_helper.waitForStarted(5000));
    ASSERT_TRUE(helperSaid("ready", 10000)) << m_output.toStdString();

    // Minimised: the window hides and the icon goes into the tray (added at once, or when the
    // tray is seen to come if it was not up yet).
    markSeen();
    m_helper.write("minimize\n");
    ASSERT_TRUE(helperSaid("Show 1", 8000)) << m_output.toStdString();
    QString icon;
    ASSERT_TRUE(waitFor([&] { return !(icon = embeddedIcon()).isEmpty(); }, 8000))
        << runX(m_display, "xwininfo", {"-root", "-tree"}).toStdString();
    EXPECT_EQ(state(), "state visible=0 shown=1");

    // A double click on the icon restores the window and takes the icon away.
    markSeen();
    runX(m_display, "xdotool",
        {"mousemove", "--window", icon, "4", "4", "click", "--repeat", "2", "--delay", "60", "1"});
    ASSERT_TRUE(helperSaid("remove", 5000)) << m_output.toStdString();
    EXPECT_EQ(state(), "state visible=1 shown=0");

    // In the tray again; the tray host ends, and a new one starts: the icon is added to it.
    markSeen();
    m_helper.write("minimize\n");
    ASSERT_TRUE(helperSaid("Show 1", 5000)) << m_output.toStdString();
    stopTray();
    QThread::msleep(1500);
    markSeen();
    startTray();
    ASSERT_TRUE(helperSaid("taskbar", 8000)) << m_output.toStdString();
    ASSERT_TRUE(helperSaid("Show 1", 3000)) << m_output.toStdString();
    EXPECT_TRUE(waitFor([&] { return !embeddedIcon().isEmpty(); }, 8000));
    EXPECT_EQ(state(), "state visible=0 shown=1");
}
