// A pppd log's report for the provider, one PDF: the log's name and span,
// its figures, the charts per day and of the drops by weekday and hour,
// the statistics by day and the outage list, pages numbered.
#pragma once

#include <QByteArray>
#include <string>
#include <vector>

#include "output/PppdTrends.h"
#include "pppd/PppdColumns.h"
#include "table/CallTable.h"

namespace kestal {

// A table of text cells, as the report prints it.
struct ReportTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

struct PppdReportContent {
    std::string logName;
    // The log's first and last dated line ("12-01-2026 10:00:00"); empty
    // when it has none.
    std::string firstTime, lastTime;
    int sessions = 0;
    int drops = 0;
    int failedAttempts = 0;
    ReportTable statistics;  // by day: sessions to bytes
    ReportTable endings;     // by day: how the rows ended
    ReportTable outages;     // in log order
    PppdTrends trends;
};

// The report of every row of a pppd log's table; span is the log's first
// and last dated line.
PppdReportContent pppdReportContent(std::string logName, const CallTable& table,
                                    const LogSpan& span);

// The report as PDF bytes: A4 across. Needs a QApplication (the charts are
// drawn by the window's chart widgets, never shown).
QByteArray pppdReportPdf(const PppdReportContent& content);
// Writes it to a file; throws CommandError when it can't be written.
void writePppdReport(const PppdReportContent& content, const std::string& path);

}  // namespace kestal
