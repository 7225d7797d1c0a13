#pragma once
// The JSON documents of --json: one per command, on stdout. Their shape is described by
// docs/corvane-cli-report.schema.json; a test mode adds its own figures as an object named
// after the mode inside a drive's "test" object, beside the fields every mode shares.
#include <string>
#include <utility>
#include <vector>

#include "hosts/cli/cli_report.h"

namespace corvane::cli {

// A panel field as the info command shows it: caption and text.
using PanelLine = std::pair<std::string, std::string>;

std::string ListReportJson(const std::vector<DriveIdentity>& drives);
std::string InfoReportJson(const DriveIdentity& drive, const std::vector<PanelLine>& panel);
// The test of the drives; error says why no test ran when none could (empty otherwise).
std::string TestReportJson(const std::vector<DriveReport>& reports, int exitCode,
                           const std::string& error = {});
// A command that ended before it had anything to report.
std::string ErrorReportJson(const char* command, int exitCode, const std::string& error);

} // namespace corvane::cli
