#pragma once

// Whether the tray's host came or went, from successive looks at whether one is there. The
// first look only sets the starting point; after it, a host that appears is reported as having
// come (a program started before the desktop's panel hears of it as of a restart), and one that
// disappears as lost.

#include <optional>

class CTrayHostWatch
{
public:
    enum eCHANGE { eNONE, eLOST, eCAME };

    eCHANGE update(bool available)
    {
        const std::optional<bool> previous = m_available;
        m_available = available;
        if (!previous || *previous == available)
            return eNONE;
        return available ? eCAME : eLOST;
    }

private:
    std::optional<bool> m_available;
};
