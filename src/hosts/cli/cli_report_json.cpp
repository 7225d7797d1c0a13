#include "hosts/cli/cli_report_json.h"

#include <ctime>

#include <nlohmann/json.hpp>

#include "hosts/cli/cli_texts.h"

namespace corvane::cli {
namespace {

using nlohmann::json;

constexpr const char* kProgram = "corvane-cli";

json Document(const char* command, int exitCode) {
    return json{{"program", kProgram},
                {"version", CORVANE_VERSION_TEXT},
                {"command", command},
                {"exit_code", exitCode},
                {"drives", json::array()}};
}

// Texts from drives may hold any bytes: what is not UTF-8 is replaced, never thrown over.
std::string Dump(const json& doc) {
    return doc.dump(2, ' ', false, json::error_handler_t::replace);
}

json IdentityJson(const DriveIdentity& d) {
    return json{{"identity",
                 {{"name", d.name},
                  {"vendor", d.vendor},
                  {"product", d.product},
                  {"revision", d.revision},
                  {"bus", d.bus},
                  {"type", d.type}}},
                {"reported_size_bytes", d.reportedSize},
                {"sector_size_bytes", d.sectorSize}};
}

// UTC, to the millisecond: "2026-12-11T15:40:00.123Z".
std::string TimeText(std::chrono::system_clock::time_point t) {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count();
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm parts{};
#ifdef _WIN32
    gmtime_s(&parts, &seconds);
#else
    gmtime_r(&seconds, &parts);
#endif
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", parts.tm_year + 1900,
                  parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
                  static_cast<int>(ms % 1000));
    return text;
}

const char* PassName(TestPass pass) {
    return pass == TestPass::Write ? "write" : "verify";
}

const char* FailureName(TestFailure failure) {
    switch (failure) {
    case TestFailure::WriteRefused:
        return "write-refused";
    case TestFailure::ReadRefused:
        return "read-refused";
    case TestFailure::Mismatch:
        return "mismatch";
    }
    return "mismatch";
}

json TestJson(const DriveReport& r) {
    json messages = json::array();
    for (const ShownMessage& m : r.messages) {
        json message{{"caption", m.caption}, {"text", m.text}};
        message["answer"] = m.answer ? json(*m.answer ? "yes" : "no") : json(nullptr);
        messages.push_back(std::move(message));
    }
    json failure = nullptr;
    if (r.failure)
        failure = json{{"position_bytes", r.failure->bytes},
                       {"sector", r.failure->sector},
                       {"pass", PassName(r.failure->pass)},
                       {"kind", FailureName(r.failure->failure)}};
    json test{{"mode", ModeName(r.mode)},
              {"verdict", VerdictName(r.verdict())},
              {"exit_code", r.exitCode()},
              {"probable_real_size_bytes",
               r.probableRealSize ? json(*r.probableRealSize) : json(nullptr)},
              {"first_failure", failure},
              {"blocks_per_pass", r.blocksPerPass},
              {"blocks_written", r.blocksWritten},
              {"blocks_verified", r.blocksVerified},
              {"started", r.outcome ? json(TimeText(r.started)) : json(nullptr)},
              {"duration_seconds", r.seconds},
              {"messages", messages},
              {"summary", ClosingLineText(r)}};
    return test;
}

} // namespace

std::string ListReportJson(const std::vector<DriveIdentity>& drives) {
    json doc = Document("list", 0);
    for (const DriveIdentity& d : drives)
        doc["drives"].push_back(IdentityJson(d));
    return Dump(doc);
}

std::string InfoReportJson(const DriveIdentity& drive, const std::vector<PanelLine>& panel) {
    json doc = Document("info", 0);
    json entry = IdentityJson(drive);
    json fields = json::array();
    for (const auto& [caption, text] : panel)
        fields.push_back(json{{"caption", caption}, {"text", text}});
    entry["panel"] = fields;
    doc["drives"].push_back(entry);
    return Dump(doc);
}

std::string TestReportJson(const std::vector<DriveReport>& reports, int exitCode,
                           const std::string& error) {
    json doc = Document("test", exitCode);
    for (const DriveReport& r : reports) {
        json entry = IdentityJson(r.identity);
        entry["test"] = TestJson(r);
        doc["drives"].push_back(entry);
    }
    if (!error.empty())
        doc["error"] = error;
    return Dump(doc);
}

std::string ErrorReportJson(const char* command, int exitCode, const std::string& error) {
    json doc = Document(command, exitCode);
    doc["error"] = error;
    return Dump(doc);
}

} // namespace corvane::cli
