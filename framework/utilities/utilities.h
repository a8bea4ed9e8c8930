#pragma once

// Small conversions the programs of the suite repeat: trimming and cleaning texts, decimal and
// hexadecimal numbers, thousands separators, string resources, walking a separated list,
// dotted IPv4 addresses, and dates typed by the user or written into SQL.
//
// Texts are single-byte. The functions never report failures: they give 0, the empty text
// or false. validateDate alone talks to the user, through boxOut.

#include "platform/types/oledatetime.h"
#include "platform/types/wintypes.h"

#include <string>

// Text.

// Removes, in place, leading and trailing bytes whose value read as a signed byte is below 33:
// control characters, the blank and every byte from 0x80 up. Returns the same pointer; null
// stays null.
char* trim(char* text);
// The same on a copy; null gives the empty text. A text of 1024 characters or more comes back
// unchanged.
std::string trim(const char* text);
// Leading and trailing white space (ASCII) removed, then ASCII upper case.
std::string trimUpper(const char* text);
// The text, up to its first 127 characters, without its commas.
std::string removeComma(const char* text);
// The text, up to its first 127 characters, without blanks, apostrophes, commas and hyphens.
std::string nospace(const char* text);
// The string resource of the current resource module, up to 511 characters; empty when
// missing.
std::string loadString(UINT id);
// The next token of a walk over text, split at any of the separators and trimmed as trim does.
// The text is modified; null continues the walk this thread began last. Gives the empty text
// when there is no further token.
char* nextItem(char* text, const char* separators);
// The decimal value of the next token of the walk; 0 when there is none or it is no number.
int nextItemInt(char* text, const char* separators);

// Numbers.

std::string toString(int value); // "%d"
// The value with a comma between groups of three digits, right-aligned in 12 characters
// ("   1,234,567"). Negative values have their sign in front of the first group ("-1,234");
// a result longer than the field (ten digits and more, with their commas) is not cut.
std::string toComma(int value);
// "0x%.*X" with at least that many digits when digits is not 0, else "0x%X".
std::string toHexString(int value, int digits);
// Two hexadecimal digits, no prefix ("0A").
std::string toHexString(unsigned char value);
// The leading hexadecimal number of the text (no prefix needed, as "%X" reads it); 0 for a null
// or empty text or one that does not begin with a hexadecimal digit.
int fromHex(const char* text);

// Addresses.

// Dotted text to a number, the first part in the top byte. Parts are trimmed and read as
// decimal numbers, a missing part is 0, and they are joined without masking: a part above 255
// spills into the neighbouring byte.
int cvtIP(const char* text);
// "%d.%d.%d.%d" of the four bytes, top byte first.
std::string cvtIP(int address);
// A loose test: at most 15 characters, at least four dot-separated parts, and the first four
// parts add up to more than 0. Nothing checks the range of a part.
bool isIP(const char* text);

// Dates.

// The forms formatDate writes: date alone (every value but these two also means the date
// alone), date with hours and minutes, date with hours, minutes and seconds.
enum eDATEFORMAT : int {
    eDATEONLY = 1,
    eDATEHOURMINUTE = 3,
    eDATEHOURMINUTESECOND = 7,
};

// Reads "month/day/year" or "month-day-year" (years 1990 to 2099) into result at 00:00:00.
// A text that cannot be read is reported to the user in a box naming the field, and the
// function returns false.
bool validateDate(const char* text, COleDateTime& result, const char* fieldName);
// The date as an SQL literal: with the Access flag "#06/05/2002 14:07#" for the desktop
// database engine, else "CONVERT(DATETIME, '2002-06-05 14:07:00',102)" for an SQL server.
// A date that is not valid gives the empty text.
std::string formatDate(const COleDateTime& date, eDATEFORMAT format, bool access);
// "%m/%d/%y", followed by " %H:%M" when withTime is true.
std::string formatTime(const COleDateTime& date, bool withTime);
// 31, 30, or for February 29 in leap years and 28 otherwise; 0 for a month outside 1 to 12.
int daysInMonth(int month, int year);
// 366 in leap years, 365 otherwise (the Gregorian rule).
int daysInYear(int year);
// The same calendar day at 00:00:00. A value that is not valid comes back as it is.
COleDateTime dateOnly(const COleDateTime& date);
// The time of day of the date alone: the same hour, minute and second on 30 December 1899, the
// automation date's day 0, so the value is the fraction alone and valid. A value that is not
// valid comes back as it is.
COleDateTime timeOnly(const COleDateTime& date);
