#pragma once
#include <string>
#include <vector>

namespace corvane::os {

struct IniEntry {
    std::string section;
    std::string key;
    std::string value;
    int line = 0; // 1-based line of the entry; 0 when the reader cannot tell
};

struct IniDocument {
    std::vector<std::string> sections; // in file order
    std::vector<IniEntry> entries;     // in file order
};

struct IniParseResult {
    bool ok = false;
    IniDocument document;
    // When !ok: the line of the first syntax error (0 when the file could not be read).
    int errorLine = 0;
};

// Reads an INI file with the system's INI reader: comments start with ';' or '#' (also after a
// value), keys and values are trimmed. Implemented by the native backend.
IniParseResult ReadIniFile(const std::string& path);

} // namespace corvane::os
