// The comma-separated export of the bundled sample log, opened by a real
// spreadsheet (LibreOffice Calc, headless), keeps its rows and 18 columns,
// also where the decimal separator is a comma.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "calls/CallScan.h"
#include "calls/DialUpColumns.h"
#include "lines/LogLines.h"
#include "output/TableExport.h"
#include "platform/Locale.h"
#include "platform/TextFile.h"
#include "support/TempDir.h"
#include "table/CallTable.h"

namespace kestal {
namespace {

std::string findOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        const std::filesystem::path candidate =
            std::filesystem::path(folders.substr(start, end - start)) / program;
        if (std::filesystem::exists(candidate)) return candidate.string();
        start = end + 1;
    }
    return {};
}

// Field n (from 0) of a tab-separated row.
std::string fieldOf(const std::string& row, int n) {
    std::size_t at = 0;
    for (int i = 0; i < n; ++i) at = row.find('\t', at) + 1;
    return row.substr(at, row.find('\t', at) - at);
}

// The program and the spreadsheet both under the locale: German writes its
// layer cells "1,3", which must stay single cells.
std::vector<std::string> rowsReadByCalc(const std::string& soffice, const char* locale,
                                        CallTable& table) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, locale) == nullptr) return {};
    const RegionalSettings settings = localeRegionalSettings();
    std::setlocale(LC_ALL, saved.c_str());

    LogLines lines;
    readLogFile(std::string(KESTAL_SOURCE_DIR) + "/examples/windows/ppplog.txt", lines);
    scanCalls(lines, table, settings, nullptr);

    testing::TempDir dir;
    const std::string csv = dir.file("calls.csv");
    TextFileWriter out;
    out.create(csv);
    writeTable(out, table, ExportLayout::CommaSeparated, true);
    out.close();

    // Calc reads the file as comma-separated text and writes it back with
    // tabs and without quotes, one row per line; its own profile keeps it
    // apart from any other running instance.
    const std::string converted = dir.file("converted");
    const std::string command =
        "LC_ALL=" + std::string(locale) + " '" + soffice +
        "' --headless --norestore -env:UserInstallation=file://" + dir.file("profile") +
        " --infilter=CSV:44,34,76,1" +
        " --convert-to 'tsv:Text - txt - csv (StarCalc):9,,76,1' --outdir '" + converted + "' '" +
        csv + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return testing::linesOf(testing::readBytes(converted + "/calls.tsv"));
}

TEST(TableExportSpreadsheet, CalcReadsEighteenColumnsForEveryRow) {
    const std::string soffice = findOnPath("soffice");
    if (soffice.empty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";

    for (const char* locale : {"C.UTF-8", "de_DE.UTF-8"}) {
        CallTable table{kDialUpColumns};
        const std::vector<std::string> rows = rowsReadByCalc(soffice, locale, table);
        ASSERT_EQ(table.callCount(), 6) << locale << " (scripts/install-deps.sh)";
        ASSERT_EQ(rows.size(), 1u + 6u) << locale;  // header and one row per call
        for (const auto& row : rows) {
            EXPECT_EQ(std::count(row.begin(), row.end(), '\t'), 17) << locale << ": " << row;
        }
        // The calls in table order, each still starting with its Start Time.
        for (int row = 0; row < table.rowCount(); ++row) {
            const std::string& line = rows[static_cast<std::size_t>(row) + 1];  // after the header
            EXPECT_EQ(line.substr(0, line.find('\t')), table.cell(Column::StartTime, row))
                << locale;
        }
        // The first LCP time ("1,3" in German) comes back whole.
        EXPECT_EQ(fieldOf(rows[1], 3), table.cell(Column::Lcp, 0)) << locale;
        EXPECT_EQ(rows[0],
                  "Start Time\tEnd Time\tDuration\tLCP\tCHAP\tIPCP\tCCP\tBytes Rx\tBytes Tx\t"
                  "Frames Rx\tFrames Tx\tCRC Errors\tTimeout Errors\tAlignment Errors\t"
                  "Overrun Errors\tFraming Errors\tBuffer Errors\tIncomplete Packets");
    }
}

}  // namespace
}  // namespace kestal
