#include "tools/zorreg/regcommand.h"

#include "tools/zorreg/regformat.h"

#include "platform/registry/machineregistryscope.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sys/stat.h>

namespace zorreg {

namespace {

const char* const c_usage
    = "usage:\n"
      "  zorreg [--machine] query KEY [/v NAME | /ve] [/s]\n"
      "  zorreg [--machine] add KEY [/v NAME | /ve] [/t REG_SZ|REG_DWORD|REG_BINARY|REG_MULTI_SZ]"
      " [/d DATA] [/f]\n"
      "  zorreg [--machine] delete KEY [/v NAME | /ve | /va] [/f]\n"
      "  zorreg [--machine] export KEY FILE [/y]\n"
      "  zorreg [--machine] import FILE\n"
      "\n"
      "  --machine  the machine-wide store, for every user, instead of the user's own\n"
      "  KEY   HKCR, HKCU or HKLM (or HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,\n"
      "        HKEY_LOCAL_MACHINE), then \\ and the key's path\n"
      "  /v    the value of that name        /ve  the default (unnamed) value\n"
      "  /va   every value of the key        /s   the key and all its subkeys\n"
      "  /t    the type of the value to add (REG_SZ when not given)\n"
      "  /d    the data: a text; a number (decimal or 0x hexadecimal); hexadecimal pairs;\n"
      "        texts separated by \\0 for REG_MULTI_SZ\n"
      "  /f    no question before replacing or deleting\n"
      "  /y    no question before overwriting the export file\n";

const char* const c_notFound
    = "ERROR: The system was unable to find the specified registry key or value.";
const char* const c_invalidSyntax = "ERROR: Invalid syntax.\nType \"zorreg /?\" for usage.";
const char* const c_done = "The operation completed successfully.";
const char* const c_cancelled = "The operation was cancelled.";

struct Options
{
    std::string command;
    std::vector<std::string> positional;
    bool hasValueName {false};
    std::string valueName;
    bool defaultValue {false};
    bool allValues {false};
    bool subkeys {false};
    bool force {false};
    bool overwrite {false};
    bool hasType {false};
    std::string type;
    bool hasData {false};
    std::string data;
    bool help {false};
};

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool parseOptions(const std::vector<std::string>& args, Options& options)
{
    if (args.empty())
        return false;
    options.command = lower(args[0]);
    if (options.command == "/?" || options.command == "-?") {
        options.help = true;
        return true;
    }
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) {
            options.positional.push_back(arg);
            continue;
        }
        // Only the known switches: on this system a path may start with "/" too.
        const std::string flag = lower(arg.substr(1));
        static const char* const c_switches[] = {"v", "t", "d", "ve", "va", "s", "f", "y", "?"};
        if (std::find(std::begin(c_switches), std::end(c_switches), flag) == std::end(c_switches)) {
            options.positional.push_back(arg);
            continue;
        }
        auto takeNext = [&](bool& has, std::string& into) {
            if (has || i + 1 >= args.size())
                return false;
            has = true;
            into = args[++i];
            return true;
        };
        if (flag == "v") {
            if (!takeNext(options.hasValueName, options.valueName))
                return false;
        } else if (flag == "t") {
            if (!takeNext(options.hasType, options.type))
                return false;
        } else if (flag == "d") {
            if (!takeNext(options.hasData, options.data))
                return false;
        } else if (flag == "ve") {
            options.defaultValue = true;
        } else if (flag == "va") {
            options.allValues = true;
        } else if (flag == "s") {
            options.subkeys = true;
        } else if (flag == "f") {
            options.force = true;
        } else if (flag == "y") {
            options.overwrite = true;
        } else {
            options.help = true;
        }
    }
    return true;
}

std::string errorText(LONG code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_KEY_DELETED:
        return c_notFound;
    case ERROR_ACCESS_DENIED:
        return "ERROR: Access is denied.";
    case ERROR_BADDB:
        return "ERROR: The configuration registry database is corrupt.";
    case ERROR_INVALID_PARAMETER:
        return "ERROR: Invalid key name.";
    default:
        return "ERROR: The registry operation failed (error " + std::to_string(code) + ").";
    }
}

int fail(std::ostream& err, const std::string& message)
{
    err << message << "\n";
    return 1;
}

bool confirm(std::istream& in, std::ostream& out, const std::string& question)
{
    for (;;) {
        out << question << " " << std::flush;
        std::string answer;
        if (!std::getline(in, answer)) {
            out << "\n";
            return false;
        }
        answer.erase(0, answer.find_first_not_of(" \t"));
        answer.erase(answer.find_last_not_of(" \t\r") + 1);
        answer = lower(answer);
        if (answer == "y" || answer == "yes")
            return true;
        if (answer == "n" || answer == "no")
            return false;
    }
}

// Closes a key handle at the end of its scope.
class CKeyHolder
{
public:
    CKeyHolder() = default;
    ~CKeyHolder()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    CKeyHolder(const CKeyHolder&) = delete;
    CKeyHolder& operator=(const CKeyHolder&) = delete;
    HKEY* out() { return &m_key; }
    HKEY get() const { return m_key; }

private:
    HKEY m_key {nullptr};
};

LONG readValues(HKEY key, std::vector<ExportValue>& values)
{
    std::vector<char> name(16384);
    for (DWORD i = 0;;) {
        ExportValue value;
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = 0;
        LONG result
            = RegEnumValueA(key, i, name.data(), &nameLength, nullptr, &value.type, nullptr, &size);
        if (result == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (result != ERROR_SUCCESS)
            return result;
        value.data.resize(size);
        nameLength = static_cast<DWORD>(name.size());
        result = RegEnumValueA(key, i, name.data(), &nameLength, nullptr, &value.type,
            value.data.empty() ? nullptr : value.data.data(), &size);
        if (result == ERROR_MORE_DATA)
            continue; // it grew in the meantime: read it again
        if (result != ERROR_SUCCESS)
            return result;
        value.data.resize(size);
        value.name.assign(name.data(), nameLength);
        values.push_back(std::move(value));
        ++i;
    }
}

LONG readSubkeys(HKEY key, std::vector<std::string>& names)
{
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        const LONG result
            = RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (result != ERROR_SUCCESS)
            return result;
        names.emplace_back(name, length);
    }
}

bool sameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && lower(a) == lower(b);
}

// A value by name, named with the spelling the store keeps.
LONG queryValue(HKEY key, const std::string& name, ExportValue& value)
{
    DWORD size = 0;
    LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size);
    if (result != ERROR_SUCCESS)
        return result;
    value.name = name;
    std::vector<char> stored(16384);
    for (DWORD i = 0;; ++i) {
        DWORD length = static_cast<DWORD>(stored.size());
        if (RegEnumValueA(key, i, stored.data(), &length, nullptr, nullptr, nullptr, nullptr)
            != ERROR_SUCCESS)
            break;
        if (sameName(std::string(stored.data(), length), name)) {
            value.name.assign(stored.data(), length);
            break;
        }
    }
    value.data.resize(size);
    result = RegQueryValueExA(key, name.c_str(), nullptr, &value.type,
        value.data.empty() ? nullptr : value.data.data(), &size);
    value.data.resize(size);
    return result;
}

std::string valueLine(const ExportValue& value)
{
    return "    " + (value.name.empty() ? std::string("(Default)") : value.name) + "    "
        + typeName(value.type) + "    " + formatData(value.type, value.data);
}

LONG printTree(HKEY key, const std::string& name, std::ostream& out)
{
    std::vector<ExportValue> values;
    if (const LONG result = readValues(key, values); result != ERROR_SUCCESS)
        return result;
    out << "\n" << name << "\n";
    for (const ExportValue& value : values)
        out << valueLine(value) << "\n";
    std::vector<std::string> subkeys;
    if (const LONG result = readSubkeys(key, subkeys); result != ERROR_SUCCESS)
        return result;
    for (const std::string& subkey : subkeys) {
        CKeyHolder child;
        if (RegOpenKeyExA(key, subkey.c_str(), 0, KEY_READ, child.out()) != ERROR_SUCCESS)
            continue; // deleted in the meantime
        if (const LONG result = printTree(child.get(), name + "\\" + subkey, out);
            result != ERROR_SUCCESS)
            return result;
    }
    return ERROR_SUCCESS;
}

LONG printMatches(HKEY key, const std::string& name, const std::string& valueName,
    std::ostream& out, int& matches)
{
    ExportValue value;
    if (queryValue(key, valueName, value) == ERROR_SUCCESS) {
        out << "\n" << name << "\n" << valueLine(value) << "\n";
        ++matches;
    }
    std::vector<std::string> subkeys;
    if (const LONG result = readSubkeys(key, subkeys); result != ERROR_SUCCESS)
        return result;
    for (const std::string& subkey : subkeys) {
        CKeyHolder child;
        if (RegOpenKeyExA(key, subkey.c_str(), 0, KEY_READ, child.out()) != ERROR_SUCCESS)
            continue;
        if (const LONG result
            = printMatches(child.get(), name + "\\" + subkey, valueName, out, matches);
            result != ERROR_SUCCESS)
            return result;
    }
    return ERROR_SUCCESS;
}

LONG collectTree(HKEY key, const std::string& name, std::vector<ExportKey>& keys)
{
    ExportKey entry;
    entry.name = name;
    if (const LONG result = readValues(key, entry.values); result != ERROR_SUCCESS)
        return result;
    keys.push_back(std::move(entry));
    std::vector<std::string> subkeys;
    if (const LONG result = readSubkeys(key, subkeys); result != ERROR_SUCCESS)
        return result;
    for (const std::string& subkey : subkeys) {
        CKeyHolder child;
        if (RegOpenKeyExA(key, subkey.c_str(), 0, KEY_READ, child.out()) != ERROR_SUCCESS)
            continue;
        if (const LONG result = collectTree(child.get(), name + "\\" + subkey, keys);
            result != ERROR_SUCCESS)
            return result;
    }
    return ERROR_SUCCESS;
}

int query(const Options& options, std::ostream& out, std::ostream& err)
{
    if (options.positional.size() != 1 || (options.hasValueName && options.defaultValue)
        || options.allValues || options.force || options.hasType || options.hasData
        || options.overwrite)
        return fail(err, c_invalidSyntax);
    KeyName name;
    if (!parseKeyName(options.positional[0], name))
        return fail(err, errorText(ERROR_INVALID_PARAMETER));
    CKeyHolder key;
    if (const LONG result = RegOpenKeyExA(name.root, name.path.c_str(), 0, KEY_READ, key.out());
        result != ERROR_SUCCESS)
        return fail(err, errorText(result));

    if (options.hasValueName || options.defaultValue) {
        const std::string valueName = options.defaultValue ? std::string() : options.valueName;
        if (options.subkeys) {
            int matches = 0;
            if (const LONG result
                = printMatches(key.get(), fullName(name), valueName, out, matches);
                result != ERROR_SUCCESS)
                return fail(err, errorText(result));
            if (matches == 0)
                return fail(err, c_notFound);
            out << "\nEnd of search: " << matches << " match(es) found.\n";
            return 0;
        }
        ExportValue value;
        if (const LONG result = queryValue(key.get(), valueName, value); result != ERROR_SUCCESS)
            return fail(err, errorText(result));
        out << "\n" << fullName(name) << "\n" << valueLine(value) << "\n";
        return 0;
    }

    if (options.subkeys) {
        if (const LONG result = printTree(key.get(), fullName(name), out); result != ERROR_SUCCESS)
            return fail(err, errorText(result));
        return 0;
    }
    std::vector<ExportValue> values;
    std::vector<std::string> subkeys;
    LONG result = readValues(key.get(), values);
    if (result == ERROR_SUCCESS)
        result = readSubkeys(key.get(), subkeys);
    if (result != ERROR_SUCCESS)
        return fail(err, errorText(result));
    out << "\n" << fullName(name) << "\n";
    for (const ExportValue& value : values)
        out << valueLine(value) << "\n";
    if (!subkeys.empty()) {
        out << "\n";
        for (const std::string& subkey : subkeys)
            out << fullName(name) << "\\" << subkey << "\n";
    }
    return 0;
}

int add(const Options& options, std::istream& in, std::ostream& out, std::ostream& err)
{
    const bool forValue = options.hasValueName || options.defaultValue;
    if (options.positional.size() != 1 || (options.hasValueName && options.defaultValue)
        || options.allValues || options.subkeys || options.overwrite
        || (!forValue && (options.hasType || options.hasData)))
        return fail(err, c_invalidSyntax);
    KeyName name;
    if (!parseKeyName(options.positional[0], name))
        return fail(err, errorText(ERROR_INVALID_PARAMETER));
    DWORD type = REG_SZ;
    if (options.hasType && !typeFromName(options.type, type))
        return fail(err,
            "ERROR: Unsupported type " + options.type
                + "; use REG_SZ, REG_DWORD, REG_BINARY or REG_MULTI_SZ.");
    std::vector<BYTE> data;
    std::string reason;
    if (forValue && !parseData(type, options.data, data, reason))
        return fail(err, "ERROR: Invalid data for " + typeName(type) + ": " + reason + ".");

    CKeyHolder key;
    if (const LONG result = RegCreateKeyExA(name.root, name.path.c_str(), 0, nullptr,
            REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key.out(), nullptr);
        result != ERROR_SUCCESS)
        return fail(err, errorText(result));
    if (forValue) {
        const std::string valueName = options.defaultValue ? std::string() : options.valueName;
        ExportValue existing;
        if (!options.force && queryValue(key.get(), valueName, existing) == ERROR_SUCCESS
            && !confirm(in, out,
                "Value " + (valueName.empty() ? std::string("(Default)") : valueName)
                    + " exists, overwrite(Yes/No)?")) {
            out << c_cancelled << "\n";
            return 1;
        }
        if (const LONG result = RegSetValueExA(key.get(), valueName.c_str(), 0, type,
                data.empty() ? nullptr : data.data(), static_cast<DWORD>(data.size()));
            result != ERROR_SUCCESS)
            return fail(err, errorText(result));
    }
    out << c_done << "\n";
    return 0;
}

int remove(const Options& options, std::istream& in, std::ostream& out, std::ostream& err)
{
    const int choices = (options.hasValueName ? 1 : 0) + (options.defaultValue ? 1 : 0)
        + (options.allValues ? 1 : 0);
    if (options.positional.size() != 1 || choices > 1 || options.subkeys || options.hasType
        || options.hasData || options.overwrite)
        return fail(err, c_invalidSyntax);
    const std::string& keyText = options.positional[0];
    KeyName name;
    if (!parseKeyName(keyText, name))
        return fail(err, errorText(ERROR_INVALID_PARAMETER));
    CKeyHolder key;
    if (const LONG result
        = RegOpenKeyExA(name.root, name.path.c_str(), 0, KEY_READ | KEY_SET_VALUE, key.out());
        result != ERROR_SUCCESS)
        return fail(err, errorText(result));

    if (options.hasValueName || options.defaultValue) {
        const std::string valueName = options.defaultValue ? std::string() : options.valueName;
        ExportValue existing;
        if (const LONG result = queryValue(key.get(), valueName, existing); result != ERROR_SUCCESS)
            return fail(err, errorText(result));
        if (!options.force
            && !confirm(in, out,
                "Delete the registry value "
                    + (valueName.empty() ? std::string("(Default)") : valueName) + " (Yes/No)?")) {
            out << c_cancelled << "\n";
            return 1;
        }
        if (const LONG result = RegDeleteValueA(key.get(), valueName.c_str());
            result != ERROR_SUCCESS)
            return fail(err, errorText(result));
    } else if (options.allValues) {
        if (!options.force
            && !confirm(
                in, out, "Delete all values under the registry key " + keyText + " (Yes/No)?")) {
            out << c_cancelled << "\n";
            return 1;
        }
        std::vector<ExportValue> values;
        if (const LONG result = readValues(key.get(), values); result != ERROR_SUCCESS)
            return fail(err, errorText(result));
        for (const ExportValue& value : values) {
            const LONG result = RegDeleteValueA(key.get(), value.name.c_str());
            if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
                return fail(err, errorText(result));
        }
    } else {
        if (!options.force
            && !confirm(in, out, "Delete the registry key " + keyText + " (Yes/No)?")) {
            out << c_cancelled << "\n";
            return 1;
        }
        if (const LONG result = SHDeleteKeyA(name.root, name.path.c_str()); result != ERROR_SUCCESS)
            return fail(err, errorText(result));
    }
    out << c_done << "\n";
    return 0;
}

int exportKey(const Options& options, std::istream& in, std::ostream& out, std::ostream& err)
{
    if (options.positional.size() != 2 || options.hasValueName || options.defaultValue
        || options.allValues || options.subkeys || options.force || options.hasType
        || options.hasData)
        return fail(err, c_invalidSyntax);
    KeyName name;
    if (!parseKeyName(options.positional[0], name))
        return fail(err, errorText(ERROR_INVALID_PARAMETER));
    const std::string& file = options.positional[1];
    CKeyHolder key;
    if (const LONG result = RegOpenKeyExA(name.root, name.path.c_str(), 0, KEY_READ, key.out());
        result != ERROR_SUCCESS)
        return fail(err, errorText(result));
    std::vector<ExportKey> keys;
    if (const LONG result = collectTree(key.get(), fullName(name), keys); result != ERROR_SUCCESS)
        return fail(err, errorText(result));
    std::string text;
    std::string reason;
    if (!writeExport(keys, text, reason))
        return fail(err, "ERROR: Cannot export: " + reason + ".");

    struct stat st
    {
    };
    if (!options.overwrite && stat(file.c_str(), &st) == 0
        && !confirm(in, out, "File " + file + " already exists. Overwrite (Yes/No)?")) {
        out << c_cancelled << "\n";
        return 1;
    }
    std::ofstream stream(file, std::ios::binary | std::ios::trunc);
    stream << text;
    stream.close();
    if (!stream)
        return fail(err, "ERROR: Cannot write the file " + file + ".");
    out << c_done << "\n";
    return 0;
}

int importFile(const Options& options, std::ostream& out, std::ostream& err)
{
    if (options.positional.size() != 1 || options.hasValueName || options.defaultValue
        || options.allValues || options.subkeys || options.force || options.hasType
        || options.hasData || options.overwrite)
        return fail(err, c_invalidSyntax);
    const std::string& file = options.positional[0];
    std::ifstream stream(file, std::ios::binary);
    if (!stream)
        return fail(err, "ERROR: Cannot read the file " + file + ".");
    const std::string text(
        (std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    std::vector<ExportKey> keys;
    std::string reason;
    if (!readExport(text, keys, reason))
        return fail(err, "ERROR: " + file + " is not a valid export file: " + reason + ".");

    for (const ExportKey& entry : keys) {
        KeyName name;
        parseKeyName(entry.name, name);
        if (entry.remove) {
            const LONG result = SHDeleteKeyA(name.root, name.path.c_str());
            if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
                return fail(err, errorText(result) + " (" + entry.name + ")");
            continue;
        }
        CKeyHolder key;
        if (const LONG result = RegCreateKeyExA(name.root, name.path.c_str(), 0, nullptr,
                REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key.out(), nullptr);
            result != ERROR_SUCCESS)
            return fail(err, errorText(result) + " (" + entry.name + ")");
        for (const ExportValue& value : entry.values) {
            LONG result = ERROR_SUCCESS;
            if (value.remove) {
                result = RegDeleteValueA(key.get(), value.name.c_str());
                if (result == ERROR_FILE_NOT_FOUND)
                    result = ERROR_SUCCESS;
            } else {
                result = RegSetValueExA(key.get(), value.name.c_str(), 0, value.type,
                    value.data.empty() ? nullptr : value.data.data(),
                    static_cast<DWORD>(value.data.size()));
            }
            if (result != ERROR_SUCCESS)
                return fail(err, errorText(result) + " (" + entry.name + ")");
        }
    }
    out << c_done << "\n";
    return 0;
}

} // namespace

int run(const std::vector<std::string>& givenArgs, std::istream& in, std::ostream& out,
    std::ostream& err)
{
    // --machine may stand anywhere among the words.
    std::vector<std::string> args;
    bool machine = false;
    for (const std::string& arg : givenArgs) {
        if (lower(arg) == "--machine")
            machine = true;
        else
            args.push_back(arg);
    }
    Options options;
    if (!parseOptions(args, options))
        return fail(err, args.empty() ? std::string(c_usage) : std::string(c_invalidSyntax));
    if (options.help) {
        out << c_usage;
        return 0;
    }
    // The machine-wide store is this command's whole store until it ends.
    std::unique_ptr<CMachineRegistryScope> machineStore;
    if (machine) {
        machineStore = std::make_unique<CMachineRegistryScope>();
        std::string reason;
        const bool writes = options.command == "add" || options.command == "delete"
            || options.command == "import";
        if (writes && !machineStore->prepareForWrites(reason))
            return fail(err,
                "ERROR: Cannot write the machine-wide registry " + machineStore->folder() + ": "
                    + reason + ".");
    }
    if (options.command == "query")
        return query(options, out, err);
    if (options.command == "add")
        return add(options, in, out, err);
    if (options.command == "delete")
        return remove(options, in, out, err);
    if (options.command == "export")
        return exportKey(options, in, out, err);
    if (options.command == "import")
        return importFile(options, out, err);
    return fail(err, c_invalidSyntax);
}

} // namespace zorreg
