// Times Show Call Details on a large log and Save Table As on a large table.
//
//   details_export_bench [log MiB, default 1024] [table rows, default 250000]
//
// Prints figures only; it asserts nothing.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "details/CallDetails.h"
#include "log/CallTable.h"
#include "log/LogLines.h"
#include "output/TableExport.h"
#include "platform/TextFile.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// One call of 30 lines, its Start Time made from the call number so that
// every call has a Start Time of its own.
void appendCall(std::string& log, long number) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02ld-%02ld-%04ld %02ld:%02ld:%02ld", number % 12 + 1,
                  number / 12 % 28 + 1, 2000 + number / 336 % 1000, number / 3600 % 24,
                  number / 60 % 60, number % 60);
    const std::string head = std::string(stamp) + ".30 - ";
    log += head + "Remote access driver log opened.\r\n";
    for (int i = 0; i < 8; ++i)
        log += head + "FSA : Adding Control Protocol 80fd (CCP) to chain.\r\n";
    log += head + "IPCP : Negotiated IP address of c0a80101\r\n";
    log += head + "IPCP : Received DNS 0a000001\r\n";
    log += head + "IPCP : Remote address change from 0 to 0a00fe02\r\n";
    for (int i = 0; i < 16; ++i) log += head + "Bytes Received                      182344\r\n";
    log += head + "Remote access driver is shutting down.\r\n";
    log += head + "Remote access driver log closed.\r\n";
}

void benchDetails(std::size_t megabytes) {
    std::string bytes;
    bytes.reserve(megabytes * 1024 * 1024 + 4096);
    long calls = 0;
    while (bytes.size() < megabytes * 1024 * 1024) appendCall(bytes, calls++);
    const std::string wanted = std::string(std::string_view(bytes).substr(0, 19));
    const kestal::LogLines lines = kestal::LogLines::fromBytes(std::move(bytes));
    std::printf("log: %zu lines, %ld calls, %zu MiB\n", lines.size(), calls, megabytes);

    // The first call is found at once; the scan still reads every line.
    const auto start = Clock::now();
    const auto gathered = kestal::gatherCallDetails(lines, wanted, nullptr);
    std::printf("gatherCallDetails: %zu lines gathered in %.3f s\n", gathered.size(),
                secondsSince(start));
}

void benchExport(int rows) {
    kestal::CallTable table;
    table.setRowCount(rows + 1);
    // clang-format off
    const kestal::RowCells cells = {
        "12-01-2026 09:12:04", "12-01-2026 09:22:41", "00:10:37",   "1.0",        "1.8",
        "2.8",                 "3.1",                 "    182344", "     23117", "      1931",
        "      1714",          "         0",          "         0", "         0", "         0",
        "         0",          "         0",          "         1"};
    // clang-format on
    for (int row = 1; row <= rows; ++row) table.writeRow(row, cells);

    const std::string path =
        (std::filesystem::temp_directory_path() / "kestal-export-bench.out").string();
    const struct {
        const char* name;
        kestal::ExportLayout layout;
    } layouts[] = {{"tab-separated", kestal::ExportLayout::TabSeparated},
                   {"comma-separated", kestal::ExportLayout::CommaSeparated},
                   {"fixed-width", kestal::ExportLayout::FixedWidth}};
    for (const auto& l : layouts) {
        const auto start = Clock::now();
        kestal::TextFileWriter out;
        out.create(path);
        kestal::writeTable(out, table, l.layout, true);
        out.close();
        std::printf("writeTable %-15s %d rows: %.3f s, %ju bytes\n", l.name, rows,
                    secondsSince(start),
                    static_cast<std::uintmax_t>(std::filesystem::file_size(path)));
    }
    std::filesystem::remove(path);
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1024;
    const int rows = argc > 2 ? std::atoi(argv[2]) : 250000;
    benchExport(rows);
    benchDetails(megabytes);
    return 0;
}
