#pragma once

// Helpers of the class factories for the classes root: writing texts, reading a key's default
// text and removing a class's registration.

#include "platform/ole/com.h"
#include "platform/registry/registry.h"

#include <string>

namespace zorole {

// The key of a class below the classes root: "CLSID\\{...}".
std::string clsidKey(REFCLSID clsid);

// Creates the key (and its path) below the classes root and writes a text value (the default
// value for an empty name). Texts are stored without a terminating zero, as the suite's other
// writers store them.
bool setText(const std::string& keyPath, const char* valueName, const std::string& text);
// Creates an empty key.
bool createKey(const std::string& keyPath);
// A text value of a key below the classes root; false when the key or the value is missing
// or is not text. A trailing zero written by another writer is dropped.
bool readText(const std::string& keyPath, const char* valueName, std::string* text);
// Deletes a key with everything below it; a key that is not there counts as removed.
bool deleteTree(const std::string& keyPath);
// Deletes every value and subkey of a key except the one subkey named keep; deletes the key
// itself when nothing is left. A key that is not there counts as removed.
bool deleteAllBut(const std::string& keyPath, const char* keep);

} // namespace zorole
