#pragma once

// The exchange between a record set's field members and the columns of its rows. A record
// set class names its columns once, in DoFieldExchange, with one DFX_ call per field member;
// the layer calls it to learn the columns and bind the members (once, when the set is opened),
// to take the members for a row it writes and to give the members their blank values for a new
// row. Moving from row to row loads the bound members directly, without a call of
// DoFieldExchange per row.
//
// Column types as stored: 32-bit integers and booleans (0 or 1) as INTEGER, texts as TEXT,
// date-times as REAL holding the automation date (days since 30 December 1899 with the time of
// day as the fraction), so the engine orders and compares them as the time line does. A NULL
// column loads as 0, false, the empty text or a null date-time; a null or invalid date-time is
// written as NULL.

#include "platform/types/oledatetime.h"
#include "platform/types/wintypes.h"

#include <string>
#include <vector>

// One column value as the engine holds it.
struct DaoValue
{
    enum Kind : unsigned char { null, integer, real, text };

    Kind kind {null};
    LONGLONG i {0};
    double d {0.0};
    std::string s;
};

// A field member as DoFieldExchange names it: its kind and where it lives.
struct DaoBinding
{
    enum Kind : unsigned char { longValue, boolValue, dateTime, text };

    Kind kind {longValue};
    void* member {nullptr};
};

// Sets the bound member from a column value, as loading a row does: a NULL gives 0, false,
// the empty text or a null date-time; other kinds convert (a real to an integer by truncation,
// a number to text in the C locale).
void zorDaoLoad(const DaoBinding& binding, const DaoValue& value);

class CDaoFieldExchange
{
public:
    enum Operation {
        collectNames, // records each column name and member in order
        loadFields, // sets each member from the current row
        storeFields, // appends each member's value for a row being written
        setDefaults, // blank values for a new row
    };

    explicit CDaoFieldExchange(Operation op) : m_nOperation(op) { }

    Operation m_nOperation;

    // The names and the members in the order of the DFX_ calls (collectNames).
    std::vector<std::string> m_names;
    std::vector<DaoBinding> m_bindings;
    // The row being loaded, one value per field in the order of the DFX_ calls (loadFields).
    const DaoValue* m_pRow {nullptr};
    // The values being stored (storeFields).
    std::vector<DaoValue> m_values;

    // The index of the field the next DFX_ call exchanges.
    int m_nField {0};

    // For the DFX_ functions: the value of the next field to load.
    const DaoValue& nextLoaded() { return m_pRow[m_nField++]; }
};

void DFX_Long(CDaoFieldExchange* pFX, const char* lpszName, LONG& value);
void DFX_Bool(CDaoFieldExchange* pFX, const char* lpszName, BOOL& value);
void DFX_DateTime(CDaoFieldExchange* pFX, const char* lpszName, COleDateTime& value);
void DFX_Text(CDaoFieldExchange* pFX, const char* lpszName, std::string& value);
