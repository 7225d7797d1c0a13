#pragma once
#include <string>
#include <vector>

#include "hosts/cli/cli_report.h"

namespace corvane::cli {

// The table that closes a test of several drives: one row per drive with its model, reported
// size, verdict, probable real size, first failure position, blocks written and verified, and
// time; "-" where there is nothing to say. Columns are aligned with blanks.
std::string SummaryTableText(const std::vector<DriveReport>& reports);

} // namespace corvane::cli
