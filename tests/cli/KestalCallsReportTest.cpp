// kestal-calls --report: a pppd log's report as a PDF without a display,
// its pages numbered and its counts those of the log; refused for a
// dial-up log and beside the table's options.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "cli/PppdLogFixture.h"
#include "cli/RunTool.h"
#include "support/CommandOutput.h"

namespace kestal::testing {
namespace {

TEST(KestalCallsReport, WritesANumberedPdfOfThePppdLog) {
    TempDir dir;
    const GeneratedLog generated = generatePppdLog(dir, "syslog", "2.4", "60K");
    const std::string pdf = dir.file("report.pdf");
    ToolSetup setup;
    setup.environment.push_back("QT_QPA_PLATFORM=xcb");  // --report needs no display
    setup.environment.push_back("DISPLAY=");
    const ToolRun run = runTool({"--report", pdf, generated.log}, setup);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    std::ifstream in(pdf, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_EQ(bytes.substr(0, 5), "%PDF-");
    if (commandOutput("command -v pdftotext").empty()) GTEST_SKIP() << "no pdftotext";
    const std::string text = commandOutput("pdftotext -layout '" + pdf + "' -");
    // The generated table's rows, header first: each row a session or an attempt.
    const auto rows = std::count(generated.expected.begin(), generated.expected.end(), '\n') - 1;
    const std::string pages = commandOutput("pdfinfo '" + pdf + "' | sed -n 's/^Pages: *//p'");
    ASSERT_FALSE(pages.empty());
    const int count = std::stoi(pages);
    EXPECT_GE(count, 5);
    for (const std::string& expected :
         {std::string("Connection Report"), std::string("Statistics by Day"),
          std::string("Outages"), "Page 1 of " + std::to_string(count),
          "Page " + std::to_string(count) + " of " + std::to_string(count)})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    // Sessions and failed attempts together are every row of the table.
    const auto sessionsAt = text.find("Sessions: ");
    const auto failedAt = text.find("Failed attempts: ");
    ASSERT_NE(sessionsAt, std::string::npos);
    ASSERT_NE(failedAt, std::string::npos);
    EXPECT_EQ(std::stol(text.substr(sessionsAt + 10)) + std::stol(text.substr(failedAt + 17)),
              rows);
}

TEST(KestalCallsReport, RefusedForADialUpLogAndBesideOtherOptions) {
    TempDir dir;
    const GeneratedLog generated = generatePppdLog(dir, "syslog", "2.4", "60K");
    const std::string pdf = dir.file("report.pdf");
    const ToolRun dialUp = runTool({"--report", pdf, kSamplePath});
    EXPECT_EQ(dialUp.exitCode, 2);
    EXPECT_EQ(dialUp.err.substr(0, dialUp.err.find('\n')),
              "kestal-calls: --report is for pppd logs: this is a dial-up log");
    const ToolRun withStats = runTool({"--report", pdf, "--stats", generated.log});
    EXPECT_EQ(withStats.exitCode, 2);
    EXPECT_EQ(withStats.err.substr(0, withStats.err.find('\n')),
              "kestal-calls: --report FILE.pdf goes alone: only --kind and the logs with it");
}

}  // namespace
}  // namespace kestal::testing
