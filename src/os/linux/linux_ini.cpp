#include <ini.h>

#include <cstdio>

#include "os/ini.h"

namespace corvane::os {
namespace {

// The distribution's libinih hands no line number to the handler, so the reader counts the
// lines it gives the parser: the handler runs right after the line it reports was read.
struct Reader {
    std::FILE* file = nullptr;
    int line = 0;
    IniDocument* doc = nullptr;
};

char* ReadLine(char* str, int num, void* stream) {
    auto& reader = *static_cast<Reader*>(stream);
    char* got = std::fgets(str, num, reader.file);
    if (got != nullptr)
        ++reader.line;
    return got;
}

int OnEntry(void* user, const char* section, const char* name, const char* value) {
    auto& reader = *static_cast<Reader*>(user);
    IniDocument& doc = *reader.doc;
    const std::string s = section != nullptr ? section : "";
    bool known = false;
    for (const auto& k : doc.sections)
        known = known || k == s;
    if (!known && !s.empty())
        doc.sections.push_back(s);
    if (name != nullptr)
        doc.entries.push_back(IniEntry{s, name, value != nullptr ? value : "", reader.line});
    return 1;
}

} // namespace

IniParseResult ReadIniFile(const std::string& path) {
    IniParseResult result;
    Reader reader;
    reader.doc = &result.document;
    reader.file = std::fopen(path.c_str(), "r");
    if (reader.file == nullptr)
        return result;
    const int rc = ini_parse_stream(ReadLine, &reader, OnEntry, &reader);
    std::fclose(reader.file);
    result.ok = rc == 0;
    result.errorLine = rc > 0 ? rc : 0;
    return result;
}

} // namespace corvane::os
