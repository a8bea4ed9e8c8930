#pragma once

// What a host slot shows, and where: the slot's controls in the main window. The window
// implements this; the slot names each control by the dialog control id its record keeps,
// so one window serves all five slots.

#include <string>

class ISlotView
{
public:
    virtual ~ISlotView() = default;

    // Texts of the slot's controls.
    virtual void setHostEditText(int hostEditId, const std::string& text) = 0;
    virtual void setAddressLabelText(int addressLabelId, const std::string& text) = 0;
    virtual void setLatencyLabelText(int latencyLabelId, const std::string& text) = 0;

    // Showing and hiding the slot's controls.
    virtual void showLight(int lightId, bool show) = 0;
    virtual void showLatencyLabel(int latencyLabelId, bool show) = 0;
    virtual void showAddressLabel(int addressLabelId, bool show) = 0;
    virtual void showGraphCheckBox(int graphCheckBoxId, bool show) = 0;

    // The light's State property (dispatch id 3): 1 on, 0 off.
    virtual void setLightState(int lightId, long state) = 0;

    // The wait cursor, shown while the slot resolves or probes; calls pair up and may nest.
    virtual void beginWaitCursor() = 0;
    virtual void endWaitCursor() = 0;
};
