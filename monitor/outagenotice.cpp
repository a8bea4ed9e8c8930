#include "monitor/outagenotice.h"

#include "monitor/availability.h"
#include "platform/shell/desktopnotice.h"

namespace {

// The outage list's date-time format.
constexpr const char* c_dateFormat = "%m/%d/%y %H:%M:%S";

ZorDesktopNotice notice(std::string summary, std::string body)
{
    ZorDesktopNotice result;
    result.appName = COutageNotice::c_szAppName;
    result.icon = COutageNotice::c_szIcon;
    result.summary = std::move(summary);
    result.body = std::move(body);
    result.expireTimeout = -1;
    return result;
}

} // namespace

void COutageNotice::availabilityRecorded(const std::string& host, bool up, bool firstOfPeriod)
{
    const COleDateTime now = COleDateTime::GetCurrentTime();
    if (!up) {
        // A second down record without an up between them starts the outage anew, as the
        // outage list measures it.
        m_downSince[host] = now;
        if (m_bEnabled)
            zorDesktopNoticeService().send(downNotice(host, now));
        return;
    }

    const auto since = m_downSince.find(host);
    const bool known = since != m_downSince.end();
    COleDateTimeSpan length;
    if (known) {
        length = now - since->second;
        m_downSince.erase(since);
    }
    if (firstOfPeriod || !m_bEnabled)
        return;
    zorDesktopNoticeService().send(upNotice(host, now, known ? &length : nullptr));
}

ZorDesktopNotice COutageNotice::downNotice(const std::string& host, const COleDateTime& at)
{
    return notice(host + " is unavailable", "Since " + at.Format(c_dateFormat));
}

ZorDesktopNotice COutageNotice::upNotice(
    const std::string& host, const COleDateTime& at, const COleDateTimeSpan* length)
{
    std::string body = "At " + at.Format(c_dateFormat);
    if (length)
        body += " after " + outageLengthText(*length) + " down";
    return notice(host + " is available again", std::move(body));
}
