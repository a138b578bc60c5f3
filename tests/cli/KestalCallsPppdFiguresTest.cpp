// kestal-calls --stats and --outages on pppd logs: a generated log gives
// the figures the generator worked out from its own rows; the hand-worked
// log's rows are chosen by --from, --to, --dropped and --failed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/PppdLogFixture.h"
#include "cli/RunTool.h"

namespace kestal::testing {
namespace {

const std::string kHandWorked = KESTAL_TEST_DATA "/log/pppd-outages.log";

ToolSetup inUtc() {
    ToolSetup setup;
    setup.environment.push_back("TZ=UTC");
    return setup;
}

TEST(KestalCallsPppdFigures, GeneratedLogGivesTheGeneratorsStatisticsAndOutages) {
    TempDir dir;
    for (const std::string style : {"syslog", "json", "short-iso"}) {
        for (const std::string version : {"2.4", "2.5"}) {
            SCOPED_TRACE(style + " " + version);
            const std::string log = dir.file(style + version + ".log");
            const std::string stats = dir.file("stats.tsv");
            const std::string outages = dir.file("outages.tsv");
            const std::string command = std::string("'") + KESTAL_MAKE_LOG + "' 400K '" + log +
                                        "' --kind pppd --seed 31 --style " + style + " --version " +
                                        version + " --expect-stats '" + stats +
                                        "' --expect-outages '" + outages + "' > /dev/null";
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
            const std::string expectedStats = readBytes(stats);
            const std::string expectedOutages = readBytes(outages);
            // Several days, drops that open gaps, attempts inside them.
            EXPECT_GT(linesOf(expectedStats).size(), 3u);
            EXPECT_GT(linesOf(expectedOutages).size(), 5u);

            const ToolRun byDay = runTool({"--stats", "--by", "day", "--header", log}, inUtc());
            EXPECT_EQ(byDay.exitCode, 0);
            EXPECT_EQ(byDay.err, "");
            EXPECT_EQ(byDay.out, expectedStats);
            const ToolRun gaps = runTool({"--outages", "--header", log}, inUtc());
            EXPECT_EQ(gaps.exitCode, 0);
            EXPECT_EQ(gaps.out, expectedOutages);
        }
    }
}

// --days squeezes the same sessions into about that many days; the
// generator's figures still hold.
TEST(KestalCallsPppdFigures, GeneratedLogOverSomeDaysGivesTheGeneratorsFigures) {
    TempDir dir;
    for (const int days : {3, 8}) {
        SCOPED_TRACE(days);
        const std::string log = dir.file("busy.log");
        const std::string stats = dir.file("stats.tsv");
        const std::string outages = dir.file("outages.tsv");
        const std::string command = std::string("'") + KESTAL_MAKE_LOG + "' 400K '" + log +
                                    "' --kind pppd --seed 31 --days " + std::to_string(days) +
                                    " --expect-stats '" + stats + "' --expect-outages '" + outages +
                                    "' > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const std::string expectedStats = readBytes(stats);
        // The header, then a line for each day (the last one's part, and the
        // session before the log, may add one).
        const std::size_t lines = linesOf(expectedStats).size();
        EXPECT_GE(lines, static_cast<std::size_t>(days) + 1) << expectedStats;
        EXPECT_LE(lines, static_cast<std::size_t>(days) + 3) << expectedStats;
        EXPECT_EQ(runTool({"--stats", "--by", "day", "--header", log}, inUtc()).out, expectedStats);
        EXPECT_EQ(runTool({"--outages", "--header", log}, inUtc()).out, readBytes(outages));
    }
}

TEST(KestalCallsPppdFigures, OptionsChooseTheRowsAndTheLayout) {
    const struct {
        std::vector<std::string> options;
        std::string out;
    } cases[] = {
        // The 12-02 rows alone.
        {{"--from", "12-02-2026", "--by", "day"},
         "2026-12-02\t3\t3\t1\t2:40:00\t83.4%\t1:10:00\t1:00:00\t0:20:00\t300\t700"
         "\t0\t0\t1\t1\t0\t0\t0\t0\t0\t0\t2\t1\t1\t0\r\n"},
        // The 12-01 session; the session before the log has no day.
        {{"--to", "12-01-2026"},
         "all\t1\t0\t1\t2:30:00\t88.3%\t2:30:00\t2:30:00\t0:09:55\t1000\t5000"
         "\t1\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\r\n"},
        // The failed attempts: no session, no time up.
        {{"--failed"},
         "all\t0\t3\t0\t-\t88.3%\t-\t-\t-\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t2\t1\t0\t0\r\n"},
        {{"--dropped", "--format", "csv"},
         "all,2,0,2,3:40:00,88.3%,2:30:00,1:10:00,0:14:58,1000,5000,1,0,1,0,0,0,0,0,0,0,0,0,0,"
         "0\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.front());
        std::vector<std::string> args{"--stats"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.push_back(kHandWorked);
        const ToolRun run = runTool(args, inUtc());
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, c.out);
    }
    EXPECT_EQ(runTool({"--outages", "--format", "csv", kHandWorked}, inUtc()).out,
              "12-02-2026 00:40:05,12-02-2026 00:50:00,0:09:55,echo timeout,2\r\n"
              "12-02-2026 02:10:00,12-02-2026 02:30:00,0:20:00,hangup,0\r\n"
              "12-02-2026 02:50:00,-,-,device,1\r\n");
}

}  // namespace
}  // namespace kestal::testing
