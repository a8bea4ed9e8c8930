#pragma once

// The texts zorreg reads and writes: key names with their root, value data as the query
// shows it and as add takes it, and the export file.
//
// Export file: the first line is "ZORVEX Registry Export 1", then one block per key:
//
//   [HKEY_CURRENT_USER\Software\Zorvex\Corvane\V2.01\Options]
//   "Interval"=dword:0000000a
//   "Host"="text with \"quotes\", a \\ and a line break\x0a"
//   @="the default value"
//   "Blob"=hex:01,ff,00
//   "Hosts"=hex(7):61,00,62,00,00
//
// Texts (REG_SZ) are quoted; inside the quotes \\ is a backslash, \" a quote and \xHH any
// byte, which is how bytes below 0x20 (a zero among them) and 0x7f are written. Numbers
// (REG_DWORD of 4 bytes) are eight hexadecimal digits. Every other value is its bytes in
// hexadecimal pairs: "hex:" for REG_BINARY, "hex(N):" for type N (hexadecimal); long lists
// continue on the next line after a "\". So every value comes back byte for byte with its
// type. On import, "[-KEY]" deletes a key and "NAME"=- deletes a value; lines starting with
// ";" are comments.

#include "platform/registry/registry.h"

#include <string>
#include <vector>

namespace zorreg {

extern const char* const c_exportHeader;

struct KeyName
{
    HKEY root {nullptr};
    std::string rootName; // the long form, "HKEY_CURRENT_USER"
    std::string path; // below the root, "\" between names, no empty names
};

// Reads "HKCU\Software\Zorvex" (or the long root names, in any case); false for an unknown
// root.
bool parseKeyName(const std::string& text, KeyName& key);
std::string fullName(const KeyName& key);

// "REG_SZ", "REG_DWORD", ...; "REG_0x<type>" for a type without a name.
std::string typeName(DWORD type);
// The four kinds add takes.
bool typeFromName(const std::string& name, DWORD& type);

// The data as the query shows it: texts up to their first zero, a number as 0x and its
// hexadecimal digits, a list with "\0" between its texts, other bytes as hexadecimal pairs.
std::string formatData(DWORD type, const std::vector<BYTE>& data);
// The bytes add stores for the data text: a text without terminating zero; a number in
// decimal or 0x hexadecimal; hexadecimal pairs; texts separated by "\0" for a list, each
// ended by a zero, and one more zero at the end. False with a reason when the text is not
// valid for the type.
bool parseData(DWORD type, const std::string& text, std::vector<BYTE>& data, std::string& error);

struct ExportValue
{
    std::string name;
    DWORD type {REG_NONE};
    std::vector<BYTE> data;
    bool remove {false};
};

struct ExportKey
{
    std::string name; // with its root, as fullName gives it
    bool remove {false};
    std::vector<ExportValue> values;
};

// False with a reason when a key name cannot be written (a line break in it).
bool writeExport(const std::vector<ExportKey>& keys, std::string& text, std::string& error);
// False with the line and reason of the first fault; nothing is returned then.
bool readExport(const std::string& text, std::vector<ExportKey>& keys, std::string& error);

} // namespace zorreg
