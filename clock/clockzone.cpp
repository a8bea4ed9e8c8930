#include "clock/clockzone.h"

#include <array>
#include <time.h>

namespace {

// The texts' offset labels are padded with blanks to ten characters; four texts end in a blank
// of their own (390, 300, -300 and -660).
constexpr std::array<ZorClockZone, 30> c_zones {{
    {720, "(UTC+12)  Fiji, New Zealand, Auckland, Marshall Islands, Petropavlovsk"},
    {660, "(UTC+11)  Solomon Islands, Kuril Islands"},
    {600, "(UTC+10)  Sydney, Guam, Saipan, Melbourne, New Guinea, Vladivostok, Micronesia"},
    {570, "(UTC+9.5) Mid-Australia, Adelaide"},
    {540, "(UTC+9)   Kyoto,Tokyo, Seoul"},
    {480, "(UTC+8)   Shanghai, Manila, Taipei, Hong Kong, Perth, Mongolia, Beijing"},
    {420, "(UTC+7)   Jakarta, Bangkok, Vietnam, Singapore, Malaysia, Cambodia, Laos"},
    {390, "(UTC+6.5) Burma (Rangoon, Mandalay) "},
    {360, "(UTC+6)   Bangladesh, Kazakhstan"},
    {330, "(UTC+5.5) India (Udaipur, New Delhi, Calcutta)"},
    {300, "(UTC+5)   Maldives, Pakistan (Karachi, Lahore) "},
    {270, "(UTC+4.5) Afghanistan (Kabul, Qandahar)"},
    {240, "(UTC+4)   Oman, U.A.E., Azerbaijan, Armenia"},
    {210, "(UTC+3.5) Iran, Tehran"},
    {180,
        "(UTC+3)   Bahrain, Ethiopia, Baghdad, Kenya, Kuwait, Qatar, Saudi Arabia, Tanzania, "
        "Uganda, Moscow, St. Petersburg"},
    {120,
        "(UTC+2)   Botswana, Bulgaria, Cyprus, Cairo, Helsinki, Athens, Jerusalem, Tel Aviv, "
        "Amman, Bucharest, Cape Town, Istanbul, Zambia, Zimbabwe, Kiev, Minsk"},
    {60,
        "(UTC+1)   Rome, Florence, Budapest, Berlin, Paris, Prague, Brussels, Vienna, "
        "Amsterdam, Warsaw, Oslo, Madrid, Zurich, Belgrade, Stockholm, Tripoli, Casablanca"},
    {0,
        "(UTC+0)   Greenwich, London, Glasgow, Dublin, Lisbon, Iceland, Reykjavik, U.T.C., "
        "Mali, Liberia"},
    {-60, "(UTC-1)   Cape Verde"},
    {-120, "(UTC-2)   Mid-Atlantic"},
    {-180, "(UTC-3)   Asuncion, Canelone, Buenos Aires, Rio de Janeiro, Thule"},
    {-210, "(UTC-3.5) New Foundland, St. Johns"},
    {-240,
        "(UTC-4)   La Paz, Santiago, Aruba, Labrador, Asuncion, Dominican Republic, Santo "
        "Domingo, Puerto Rico, San Juan, Barbados"},
    {-300,
        "(UTC-5)   Washington, New York, Atlanta, Toronto, Havana, Bogota, Lima, Ecuador, "
        "Panama "},
    {-360,
        "(UTC-6)   Winnipeg, Dallas, Chicago, New Orleans, Nicaragua, Honduras, Costa Rica, El "
        "Salvador, Guatemala, Mexico City, Guadalajara"},
    {-420, "(UTC-7)   Denver, Salt Lake City, Des Moines, Flagstaff, Edmonton, Calgary, Acapulco"},
    {-480,
        "(UTC-8)   Santa Cruz, Los Angeles, San Francisco, Vancouver, Seattle, Tijuana, "
        "Mexicali"},
    {-540, "(UTC-9)   Anchorage, Fairbanks"},
    {-600, "(UTC-10)  Aleutian Islands, Hawaii (Honolulu, Maui,)"},
    {-660, "(UTC-11)  American Samoa, Western Samoa "},
}};

// The local time's offset east of UTC in minutes at an instant, and whether daylight time is
// in force then.
struct LocalOffset
{
    long minutes {0};
    bool daylight {false};
};

LocalOffset localOffset(std::time_t at)
{
    std::tm fields {};
    if (!localtime_r(&at, &fields))
        return {};
    return {fields.tm_gmtoff / 60, fields.tm_isdst > 0};
}

} // namespace

std::span<const ZorClockZone> zorClockZones()
{
    return c_zones;
}

ZorZoneBias zorMachineZoneBias(std::time_t now)
{
    // The zone data is read again, so a TZ changed since the last call counts.
    tzset();
    const LocalOffset current = localOffset(now);
    // The zone's standard offset (timezone is seconds west of UTC in standard time).
    const long standard = -::timezone / 60;
    ZorZoneBias bias;
    bias.bias = static_cast<LONG>(-standard);
    bias.daylight = current.daylight;
    // Whatever the local time's offset is now beyond the standard one is the bias of the time
    // in force (0 in standard time, unless the zone's offset has changed since).
    const LONG extra = static_cast<LONG>(standard - current.minutes);
    if (current.daylight)
        bias.daylightBias = extra;
    else
        bias.standardBias = extra;
    return bias;
}

LONG zorOffsetMinutes(LONG zone, const ZorZoneBias& machine)
{
    return zone + machine.bias + (machine.daylight ? machine.daylightBias : machine.standardBias);
}
