#pragma once

// COutageNotice: while the user has asked for it ("&Notify on Outages" in the main window's
// system menu), tells the user through a desktop notification whenever a watched host becomes
// unavailable and when it is available again after an outage, with the outage's length.
//
// It hears of every availability record a probe writes (not of starts and stops of
// monitoring). A down record is told; an up record is told when it ends an outage of the same
// monitoring period. The first up record of a period is not: the host was not known to be down
// before, so nothing changed that the user needs to know. The outage's start is kept whether
// or not notices are wanted, so a recovery told after the user switched notices on during the
// outage still gives the outage's full length.
//
// A notice goes to the platform's notice service and is not waited for; where the desktop
// shows no notices, nothing else happens. Every "now" is the suite's clock.

#include "platform/types/oledatetime.h"

#include <map>
#include <string>

struct ZorDesktopNotice;

class COutageNotice
{
public:
    // The program's name and installed icon, as the desktop shows them with a notice.
    static constexpr const char* c_szAppName = "Corvane";
    static constexpr const char* c_szIcon = "example.zorvex.Corvane";

    bool isEnabled() const { return m_bEnabled; }
    void setEnabled(bool enabled) { m_bEnabled = enabled; }

    // A probe of the host has just written an availability record: up or down. firstOfPeriod:
    // it is the first probe since the host's monitoring period started.
    void availabilityRecorded(const std::string& host, bool up, bool firstOfPeriod);

    // The notice of a host that became unavailable at a time, and of one that is available
    // again at a time after an outage of a length (none when its start is not known).
    static ZorDesktopNotice downNotice(const std::string& host, const COleDateTime& at);
    static ZorDesktopNotice upNotice(
        const std::string& host, const COleDateTime& at, const COleDateTimeSpan* length);

private:
    bool m_bEnabled {false};
    // The start of each host's outage in progress.
    std::map<std::string, COleDateTime> m_downSince;
};
