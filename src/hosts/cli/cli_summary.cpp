#include "hosts/cli/cli_summary.h"

#include <algorithm>

#include "drives/panel_text.h"
#include "hosts/cli/cli_texts.h"

namespace corvane::cli {

std::string SummaryTableText(const std::vector<DriveReport>& reports) {
    std::vector<std::vector<std::string>> rows = {{"Drive", "Model", "Reported size", "Verdict",
                                                   "Probable real size", "First failure",
                                                   "Written / verified", "Time"}};
    for (const DriveReport& r : reports) {
        const bool tested = r.outcome.has_value();
        rows.push_back(
            {r.identity.name, ModelText(r.identity), FormatSize(r.identity.reportedSize),
             VerdictName(r.verdict()), r.probableRealSize ? FormatSize(*r.probableRealSize) : "-",
             r.failure ? FormatSize(r.failure->bytes) : "-",
             tested ? std::to_string(r.blocksWritten) + " / " + std::to_string(r.blocksVerified)
                    : "-",
             tested ? DurationText(r.seconds) : "-"});
    }
    std::vector<std::size_t> widths(rows[0].size(), 0);
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    std::string text;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size())
                line += std::string(widths[c] - row[c].size() + 2, ' ');
        }
        text += (text.empty() ? "" : "\n") + line;
    }
    return text;
}

} // namespace corvane::cli
