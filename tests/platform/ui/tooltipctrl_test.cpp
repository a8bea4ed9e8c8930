#include "platform/ui/tooltipctrl.h"

#include "extrastestapp.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QHelpEvent>
#include <QtWidgets/QToolTip>
#include <QtWidgets/QWidget>

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// A tool's widget that notes the tooltip events that reach it (those the control lets through).
class ToolTipProbe : public QWidget
{
public:
    int toolTipEvents {0};

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip)
            ++toolTipEvents;
        return QWidget::event(event);
    }
};

// What the mouse resting on a widget makes Qt send it.
void restMouseOn(QWidget* widget)
{
    const QPoint local(5, 5);
    QHelpEvent event(QEvent::ToolTip, local, widget->mapToGlobal(local));
    QApplication::sendEvent(widget, &event);
}

bool tipShows(const QString& text)
{
    return QToolTip::isVisible() && QToolTip::text() == text;
}

void hideAnyTip()
{
    QToolTip::hideText();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->inherits("QTipLabel"))
            window->hide();
    }
}

MSG message(UINT code)
{
    MSG msg;
    msg.message = code;
    return msg;
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return lines;
        start = end + 1;
    }
}

std::vector<std::string> splitWords(const std::string& text)
{
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c == ' ' || c == '\n' || c == '\r') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

int tipWidth(const std::string& line)
{
    return QFontMetrics(QToolTip::font()).horizontalAdvance(QString::fromLatin1(line));
}

class ToolTip : public ::testing::Test
{
protected:
    void SetUp() override
    {
        extrasApplication();
        ASSERT_TRUE(m_owner.CreateEx(
            0, "ZorToolTipOwner", "Owner", WS_OVERLAPPED, CRect(100, 100, 500, 400), nullptr, 0));
        m_owner.ShowWindow(SW_SHOW);
        for (int i = 0; i < 2; ++i) {
            auto* probe = new ToolTipProbe;
            auto tool = std::make_unique<CWnd>();
            ASSERT_TRUE(tool->CreateEx(0, "Static", "tool", WS_CHILD | WS_VISIBLE,
                CRect(10, 10 + 40 * i, 110, 40 + 40 * i), &m_owner, 1001 + i, probe));
            m_probes.push_back(probe);
            m_tools.push_back(std::move(tool));
        }
    }

    void TearDown() override
    {
        hideAnyTip();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    CWnd* tool(int i) { return m_tools[static_cast<std::size_t>(i)].get(); }
    ToolTipProbe* probe(int i) { return m_probes[static_cast<std::size_t>(i)]; }

    CWnd m_owner;
    std::vector<std::unique_ptr<CWnd>> m_tools;
    std::vector<ToolTipProbe*> m_probes;
    // Declared last, so destroyed first, as a dialog destroys its tooltip before its controls.
    CToolTipCtrl m_tip;
};

} // namespace

TEST_F(ToolTip, CreateMakesAHiddenWindowOfTheTooltipClassOwnedByTheOwner)
{
    ASSERT_TRUE(m_tip.Create(&m_owner));
    EXPECT_NE(m_tip.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(IsWindow(m_tip.GetSafeHwnd()));
    EXPECT_EQ(m_tip.GetClassName(), "tooltips_class32");
    EXPECT_EQ(m_tip.GetOwner(), &m_owner);
    EXPECT_FALSE(m_tip.IsWindowVisible());
    EXPECT_TRUE(m_tip.isActive());
    EXPECT_FALSE(m_tip.Create(&m_owner)) << "a second window for the same object";
}

TEST_F(ToolTip, ToolsKeepTheirTexts)
{
    EXPECT_FALSE(m_tip.AddTool(tool(0), "before")) << "no window yet";
    ASSERT_TRUE(m_tip.Create(&m_owner));
    EXPECT_TRUE(m_tip.AddTool(tool(0), "First tool"));
    EXPECT_TRUE(m_tip.AddTool(tool(1), "Second tool"));
    EXPECT_FALSE(m_tip.AddTool(nullptr, "nobody"));
    EXPECT_EQ(m_tip.GetToolCount(), 2);
    EXPECT_EQ(m_tip.GetText(tool(0)), "First tool");
    EXPECT_EQ(m_tip.GetText(tool(1)), "Second tool");
    EXPECT_EQ(m_tip.GetText(&m_owner), "") << "not a tool";

    m_tip.UpdateTipText("Changed", tool(1));
    EXPECT_EQ(m_tip.GetText(tool(1)), "Changed");
    m_tip.UpdateTipText("Ignored", &m_owner);
    EXPECT_EQ(m_tip.GetToolCount(), 2) << "updating a window that is no tool adds nothing";

    EXPECT_TRUE(m_tip.AddTool(tool(0), "Again"));
    EXPECT_EQ(m_tip.GetToolCount(), 2) << "the same window once";
    EXPECT_EQ(m_tip.GetText(tool(0)), "Again");

    m_tip.DelTool(tool(0));
    EXPECT_EQ(m_tip.GetToolCount(), 1);
    EXPECT_EQ(m_tip.GetText(tool(0)), "");
}

TEST_F(ToolTip, RestingOnAToolShowsItsText)
{
    ASSERT_TRUE(m_tip.Create(&m_owner));
    m_tip.AddTool(tool(0), "Start the probe");
    restMouseOn(tool(0)->widget());
    EXPECT_TRUE(tipShows("Start the probe"));
    EXPECT_EQ(probe(0)->toolTipEvents, 0) << "the control answers the tool's tooltip event";

    restMouseOn(tool(1)->widget());
    EXPECT_EQ(probe(1)->toolTipEvents, 1) << "a window that is no tool is left alone";
}

TEST_F(ToolTip, UpdatedTextShowsAtOnce)
{
    ASSERT_TRUE(m_tip.Create(&m_owner));
    m_tip.AddTool(tool(0), "Old text");
    ASSERT_TRUE(m_tip.showTip(tool(0)));
    EXPECT_TRUE(tipShows("Old text"));
    m_tip.UpdateTipText("New text", tool(0));
    EXPECT_TRUE(tipShows("New text"));
    EXPECT_EQ(m_tip.shownText(tool(0)), "New text");
}

TEST_F(ToolTip, InactiveControlShowsNothing)
{
    ASSERT_TRUE(m_tip.Create(&m_owner));
    m_tip.AddTool(tool(0), "Hidden while inactive");
    ASSERT_TRUE(m_tip.showTip(tool(0)));
    m_tip.Activate(FALSE);
    EXPECT_FALSE(m_tip.isActive());
    EXPECT_FALSE(QToolTip::isVisible()) << "deactivating hides the tip on show";

    restMouseOn(tool(0)->widget());
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_EQ(probe(0)->toolTipEvents, 0) << "nor does the widget's own tooltip stand in";
    EXPECT_FALSE(m_tip.showTip(tool(0)));

    m_tip.Activate(TRUE);
    restMouseOn(tool(0)->widget());
    EXPECT_TRUE(tipShows("Hidden while inactive"));
}

TEST_F(ToolTip, ToolWithoutTextShowsNoTip)
{
    ASSERT_TRUE(m_tip.Create(&m_owner));
    m_tip.AddTool(tool(0), "");
    restMouseOn(tool(0)->widget());
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_FALSE(m_tip.showTip(tool(0)));
}

TEST_F(ToolTip, RelayedMessagesAreCountedAndButtonPressesHideTheTip)
{
    MSG move = message(WM_MOUSEMOVE);
    m_tip.RelayEvent(&move);
    EXPECT_EQ(m_tip.relayedCount(), 0) << "no window: the message goes nowhere";

    ASSERT_TRUE(m_tip.Create(&m_owner));
    m_tip.AddTool(tool(0), "Relay");
    ASSERT_TRUE(m_tip.showTip(tool(0)));
    m_tip.RelayEvent(&move);
    m_tip.RelayEvent(nullptr);
    EXPECT_EQ(m_tip.relayedCount(), 1);
    EXPECT_TRUE(tipShows("Relay")) << "moving the mouse keeps the tip";

    MSG up = message(WM_LBUTTONUP);
    m_tip.RelayEvent(&up);
    EXPECT_TRUE(tipShows("Relay")) << "a release is no press";
    MSG down = message(WM_LBUTTONDOWN);
    m_tip.RelayEvent(&down);
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_EQ(m_tip.relayedCount(), 3);

    ASSERT_TRUE(m_tip.showTip(tool(0)));
    MSG right = message(WM_RBUTTONDOWN);
    m_tip.RelayEvent(&right);
    EXPECT_FALSE(QToolTip::isVisible()) << "any button";
    ASSERT_TRUE(m_tip.showTip(tool(0)));
    MSG middle = message(WM_MBUTTONDBLCLK);
    m_tip.RelayEvent(&middle);
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_EQ(m_tip.relayedCount(), 5);
}

TEST_F(ToolTip, ButtonPressLeavesAnotherWidgetsTipAlone)
{
    ASSERT_TRUE(m_tip.Create(&m_owner));
    m_tip.AddTool(tool(0), "Mine");
    QToolTip::showText(QPoint(300, 300), QStringLiteral("Someone else's"), probe(1));
    ASSERT_TRUE(tipShows("Someone else's"));
    MSG down = message(WM_LBUTTONDOWN);
    m_tip.RelayEvent(&down);
    EXPECT_TRUE(tipShows("Someone else's"));
}

TEST_F(ToolTip, WithoutMaximumWidthTheTextIsOneLine)
{
    ASSERT_TRUE(m_tip.Create(&m_owner));
    const std::string text(
        "A rather long tooltip text that is certainly wider than two hundred pixels on screen");
    m_tip.AddTool(tool(0), text.c_str());
    EXPECT_EQ(m_tip.GetMaxTipWidth(), -1);
    EXPECT_EQ(m_tip.shownText(tool(0)), text);
    ASSERT_GT(tipWidth(text), 200) << "the text must need wrapping for the next test to mean much";

    m_tip.AddTool(tool(1), "first line\r\nsecond\nthird");
    EXPECT_EQ(m_tip.shownText(tool(1)), "first line\nsecond\nthird") << "explicit breaks hold";
}

TEST_F(ToolTip, MaximumWidthWrapsIntoLinesThatFit)
{
    ASSERT_TRUE(m_tip.Create(&m_owner));
    const std::string text("The probe sends an echo request to every host of the list and "
                           "waits for the replies before it writes the outage list again");
    m_tip.AddTool(tool(0), text.c_str());
    EXPECT_EQ(m_tip.SetMaxTipWidth(200), -1) << "the previous width";
    EXPECT_EQ(m_tip.GetMaxTipWidth(), 200);

    const std::string shown = m_tip.shownText(tool(0));
    const std::vector<std::string> lines = splitLines(shown);
    ASSERT_GE(lines.size(), 3u) << shown;
    for (const std::string& line : lines) {
        EXPECT_LE(tipWidth(line), 200) << line;
        EXPECT_FALSE(line.empty());
        EXPECT_NE(line.front(), ' ') << "no line starts with the space of its break";
    }
    // Filled greedily: the next line's first word would not have fitted on the line before.
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::string next = splitWords(lines[i + 1]).front();
        EXPECT_GT(tipWidth(lines[i] + " " + next), 200) << lines[i] << " | " << next;
    }
    EXPECT_EQ(splitWords(shown), splitWords(text)) << "every word kept, whole and in order";

    // The tip shows the wrapped text.
    ASSERT_TRUE(m_tip.showTip(tool(0)));
    EXPECT_TRUE(tipShows(QString::fromStdString(shown)));
}

TEST_F(ToolTip, WordWiderThanTheMaximumStandsAlone)
{
    ASSERT_TRUE(m_tip.Create(&m_owner));
    const std::string wide(60, 'W');
    ASSERT_GT(tipWidth(wide), 200);
    m_tip.AddTool(tool(0), ("short " + wide + " tail\nnext paragraph").c_str());
    m_tip.SetMaxTipWidth(200);
    EXPECT_EQ(m_tip.shownText(tool(0)), "short\n" + wide + "\ntail\nnext paragraph");
    m_tip.SetMaxTipWidth(-1);
    EXPECT_EQ(m_tip.shownText(tool(0)), "short " + wide + " tail\nnext paragraph");
}

TEST_F(ToolTip, DestroyedToolIsForgotten)
{
    ASSERT_TRUE(m_tip.Create(&m_owner));
    m_tip.AddTool(tool(0), "Goes away");
    m_tip.AddTool(tool(1), "Stays");
    ASSERT_TRUE(m_tip.showTip(tool(0)));
    m_tools[0].reset();
    EXPECT_EQ(m_tip.GetToolCount(), 1) << "at once, before its widget is deleted";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_probes[0] = nullptr;
    EXPECT_EQ(m_tip.GetToolCount(), 1);
    EXPECT_FALSE(tipShows("Goes away")) << "its tip goes with it";
    MSG down = message(WM_LBUTTONDOWN);
    m_tip.RelayEvent(&down);
    EXPECT_TRUE(m_tip.showTip(tool(1)));
    EXPECT_TRUE(tipShows("Stays"));
}

TEST_F(ToolTip, ToolWhoseWidgetDiesIsForgotten)
{
    ASSERT_TRUE(m_tip.Create(&m_owner));
    m_tip.AddTool(tool(0), "Widget dies");
    delete tool(0)->widget();
    m_probes[0] = nullptr;
    EXPECT_EQ(m_tip.GetToolCount(), 0);
    EXPECT_EQ(m_tip.GetText(tool(0)), "");
    EXPECT_FALSE(m_tip.showTip(tool(0)));
}

TEST_F(ToolTip, DestroyWindowRemovesTheToolsAndHidesTheTip)
{
    ASSERT_TRUE(m_tip.Create(&m_owner));
    m_tip.AddTool(tool(0), "Until destroyed");
    ASSERT_TRUE(m_tip.showTip(tool(0)));
    EXPECT_TRUE(m_tip.DestroyWindow());
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_EQ(m_tip.GetSafeHwnd(), nullptr);
    EXPECT_EQ(m_tip.GetToolCount(), 0);
    restMouseOn(tool(0)->widget());
    EXPECT_EQ(probe(0)->toolTipEvents, 1) << "the filter is gone from the tool";

    // The control can be made again for the same owner.
    ASSERT_TRUE(m_tip.Create(&m_owner));
    EXPECT_TRUE(m_tip.AddTool(tool(0), "Again"));
    EXPECT_TRUE(m_tip.showTip(tool(0)));
}

TEST_F(ToolTip, DeletedToolNoLongerAnswers)
{
    ASSERT_TRUE(m_tip.Create(&m_owner));
    m_tip.AddTool(tool(0), "Deleted");
    ASSERT_TRUE(m_tip.showTip(tool(0)));
    m_tip.DelTool(tool(0));
    EXPECT_FALSE(QToolTip::isVisible()) << "the deleted tool's tip goes";
    restMouseOn(tool(0)->widget());
    EXPECT_EQ(probe(0)->toolTipEvents, 1);
    EXPECT_FALSE(QToolTip::isVisible());
}
