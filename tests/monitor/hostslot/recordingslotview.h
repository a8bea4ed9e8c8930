#pragma once

// A stand-in for the main window's slot controls that records what a host slot shows: the
// last text, visibility and light state per control id, every call in order, and the wait
// cursor's nesting.

#include "monitor/slotview.h"

#include <map>
#include <string>
#include <vector>

class RecordingSlotView : public ISlotView
{
public:
    void setHostEditText(int id, const std::string& text) override
    {
        setText("hostEdit", id, text);
    }
    void setAddressLabelText(int id, const std::string& text) override
    {
        setText("addressLabel", id, text);
    }
    void setLatencyLabelText(int id, const std::string& text) override
    {
        setText("latencyLabel", id, text);
    }
    void showLight(int id, bool show) override { setShown("light", id, show); }
    void showLatencyLabel(int id, bool show) override { setShown("latencyLabel", id, show); }
    void showAddressLabel(int id, bool show) override { setShown("addressLabel", id, show); }
    void showGraphCheckBox(int id, bool show) override { setShown("graphCheckBox", id, show); }
    void setLightState(int id, long state) override
    {
        m_lightStates[id] = state;
        m_calls.push_back("lightState " + std::to_string(id) + " " + std::to_string(state));
    }
    void beginWaitCursor() override
    {
        ++m_waitDepth;
        ++m_waitCursors;
        if (m_waitDepth > m_deepestWait)
            m_deepestWait = m_waitDepth;
    }
    void endWaitCursor() override { --m_waitDepth; }

    // The last text given to the control, or "(none)".
    std::string text(int id) const
    {
        const auto found = m_texts.find(id);
        return found == m_texts.end() ? "(none)" : found->second;
    }
    // The control's last visibility: 1 shown, 0 hidden, -1 never set.
    int shown(int id) const
    {
        const auto found = m_shown.find(id);
        return found == m_shown.end() ? -1 : (found->second ? 1 : 0);
    }
    // The light's last State, or -1 when it was never set.
    long lightState(int id) const
    {
        const auto found = m_lightStates.find(id);
        return found == m_lightStates.end() ? -1 : found->second;
    }
    const std::vector<std::string>& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    int waitDepth() const { return m_waitDepth; }
    int waitCursors() const { return m_waitCursors; }
    int deepestWait() const { return m_deepestWait; }

private:
    void setText(const char* what, int id, const std::string& text)
    {
        m_texts[id] = text;
        m_calls.push_back(std::string(what) + "Text " + std::to_string(id) + " " + text);
    }
    void setShown(const char* what, int id, bool show)
    {
        m_shown[id] = show;
        m_calls.push_back(std::string(show ? "show " : "hide ") + what + " " + std::to_string(id));
    }

    std::map<int, std::string> m_texts;
    std::map<int, bool> m_shown;
    std::map<int, long> m_lightStates;
    std::vector<std::string> m_calls;
    int m_waitDepth {0};
    int m_waitCursors {0};
    int m_deepestWait {0};
};
