// The report's outage list read back from its PDF with pdftotext: each
// row's cells in order, whether set by the report as glyphs or shaped.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <sstream>

#include "app/AppFixture.h"
#include "app/figures/PppdReport.h"
#include "support/CommandOutput.h"
#include "support/TempDir.h"

namespace kestal::testing {
namespace {

TEST(PppdReport, OutagePageReadsBackAsTheRowsCells) {
    ensureApplication();
    if (commandOutput("command -v pdftotext").empty()) GTEST_SKIP() << "no pdftotext";
    // Cells (Latin-1) and the row as pdftotext prints it, its columns one
    // space apart: pairs the font kerns (AV, To, Yo), letters the shaper
    // joins (fi, ffl: drawn as shaped text), empty cells.
    const std::vector<std::pair<std::vector<std::string>, std::string>> rows = {
        {{"12-01-2026 10:00:00", "12-01-2026 10:04:31", "0:04:31", "echo timeout", "0"},
         "12-01-2026 10:00:00 12-01-2026 10:04:31 0:04:31 echo timeout 0"},
        {{"12-01-2026 11:00:00", "", "", "AVAWAY Tolerance", "12"},
         "12-01-2026 11:00:00 AVAWAY Tolerance 12"},
        {{"12-01-2026 12:00:00", "12-01-2026 12:10:00", "0:10:00", "fiber baffled", "3"},
         "12-01-2026 12:00:00 12-01-2026 12:10:00 0:10:00 \uFB01ber ba\uFB04ed 3"},
        {{"12-31-2026 23:59:59", "01-01-2027 00:00:01", "0:00:02", "r\xE9seau Y\xF6", ""},
         "12-31-2026 23:59:59 01-01-2027 00:00:01 0:00:02 r\u00E9seau Y\u00F6"},
    };
    PppdReportContent content;
    content.logName = "ppp.log";
    content.outages.header = {"Start", "End", "Length", "Cause", "Failed Attempts"};
    for (const auto& row : rows) content.outages.rows.push_back(row.first);
    TempDir dir;
    const std::string pdf = dir.file("report.pdf");
    writePppdReport(content, pdf);
    // The charts, a page each for the two statistics tables, the outages.
    std::istringstream text(
        commandOutput("pdftotext -layout -enc UTF-8 -f 5 -l 5 '" + pdf + "' -"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) {
        line = std::regex_replace(line, std::regex("^ +| +$|\f"), "");
        if (!line.empty()) lines.push_back(std::regex_replace(line, std::regex(" +"), " "));
    }
    ASSERT_EQ(lines.size(), 2 + rows.size() + 1) << text.str();
    EXPECT_EQ(lines[1], "Start End Length Cause Failed Attempts");
    for (std::size_t r = 0; r < rows.size(); ++r) EXPECT_EQ(lines[2 + r], rows[r].second);
    EXPECT_EQ(lines.back(), "ppp.log Page 5 of 5");
}

}  // namespace
}  // namespace kestal::testing
