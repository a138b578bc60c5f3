// The report's tables read back from its PDF with pdftotext: every row's
// cells in order, whether a cell went out as glyphs set by the report
// itself or as shaped text.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/AppFixture.h"
#include "app/figures/PppdReport.h"
#include "support/TempDir.h"

namespace kestal::testing {
namespace {

std::string commandOutput(const std::string& command) {
    std::string text;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            text.append(buffer, n);
        ::pclose(pipe);
    }
    return text;
}

// A line with its runs of spaces made one space, none at its ends, its
// ligatures (U+FB00 to U+FB04, as the shaper sets "fi") as their letters,
// and without the page's form feed.
std::string squeezed(const std::string& line) {
    static const char* const ligatures[] = {"ff", "fi", "fl", "ffi", "ffl"};
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (line.compare(i, 2, "\xEF\xAC") == 0 && i + 2 < line.size() &&
            static_cast<unsigned char>(line[i + 2]) - 0x80u < 5) {
            out += ligatures[static_cast<unsigned char>(line[i + 2]) - 0x80];
            i += 2;
            continue;
        }
        if (c == '\f') continue;
        if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
        out += c;
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// The row's cells as pdftotext's layout prints them (Latin-1 as UTF-8),
// an empty cell leaving nothing.
std::string rowLine(const std::vector<std::string>& cells) {
    std::string line;
    for (const std::string& cell : cells) {
        if (cell.empty()) continue;
        if (!line.empty()) line += ' ';
        for (const char c : cell) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x80) {
                line += c;
            } else {
                line += static_cast<char>(0xC0 | (byte >> 6));
                line += static_cast<char>(0x80 | (byte & 0x3F));
            }
        }
    }
    return line;
}

TEST(PppdReport, TablesReadBackRowByRowWithTheirCellsInOrder) {
    ensureApplication();
    if (commandOutput("command -v pdftotext").empty()) GTEST_SKIP() << "no pdftotext";
    PppdReportContent content;
    content.logName = "ppp.log";
    content.statistics.header = {"Period", "Sessions", "Drops", "Peer"};
    content.endings.header = {"Period", "Hangup"};
    content.outages.header = {"Start", "End", "Length", "Cause", "Failed Attempts"};
    // Pairs the font kerns (AV, Te, Yo, LT), letters it may join (fi, ffl),
    // Latin-1 beyond ASCII, a cell of one character and empty cells.
    const std::vector<std::vector<std::string>> outages = {
        {"12-01-2026 10:00:00", "12-01-2026 10:04:31", "0:04:31", "echo timeout", "0"},
        {"12-01-2026 11:00:00", "", "", "AVAWAY Tolerance", "12"},
        {"12-01-2026 12:00:00", "12-01-2026 12:10:00", "0:10:00", "fiber office baffled", "3"},
        {"12-01-2026 13:00:00", "12-01-2026 13:00:07", "0:00:07", "r\xE9seau \xE0 Y\xF6LT", "1"},
        {"12-31-2026 23:59:59", "01-01-2027 00:00:01", "0:00:02", "x", ""},
    };
    content.outages.rows = outages;
    content.statistics.rows = {{"2026-12-01", "4", "3", "2"}, {"2026-12-02", "0", "", "0"}};
    content.endings.rows = {{"2026-12-01", "1"}, {"2026-12-02", ""}};
    TempDir dir;
    const std::string pdf = dir.file("report.pdf");
    writePppdReport(content, pdf);
    const std::string pages = commandOutput("pdfinfo '" + pdf + "' | sed -n 's/^Pages: *//p'");
    ASSERT_EQ(pages, "5\n");

    struct Case {
        int page;
        const ReportTable& table;
    };
    for (const Case& page :
         {Case{3, content.statistics}, Case{4, content.endings}, Case{5, content.outages}}) {
        const std::string number = std::to_string(page.page);
        std::istringstream text(commandOutput("pdftotext -layout -enc UTF-8 -f " + number + " -l " +
                                              number + " '" + pdf + "' -"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(text, line);) {
            line = squeezed(line);
            if (!line.empty()) lines.push_back(line);
        }
        // The title and the header, the rows, the footer.
        ASSERT_EQ(lines.size(), 2 + page.table.rows.size() + 1) << number;
        for (std::size_t r = 0; r < page.table.rows.size(); ++r)
            EXPECT_EQ(lines[2 + r], rowLine(page.table.rows[r])) << "page " << number;
        EXPECT_EQ(lines.back(), "ppp.log Page " + number + " of 5");
    }
}

}  // namespace
}  // namespace kestal::testing
