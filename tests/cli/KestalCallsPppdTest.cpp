// kestal-calls on pppd logs: a generated log in every prefix style and
// both pppd versions' order of messages gives the generator's own
// sessions; the options that choose and order the rows; the dial-up log's
// options refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/PppdLogFixture.h"
#include "cli/RunTool.h"

namespace kestal::testing {
namespace {

// The journal's times are shown in the viewer's time zone: UTC here, as
// the generator wrote them.
ToolSetup inUtc() {
    ToolSetup setup;
    setup.environment.push_back("TZ=UTC");
    return setup;
}

TEST(KestalCallsPppd, GeneratedLogInEveryStyleGivesTheGeneratorsSessions) {
    const char* const styles[] = {
        "syslog",        "busybox",    "openwrt", "rfc3339", "short-iso", "short-iso-precise",
        "short-precise", "short-full", "json",    "bare",    "priority",  "mixed"};
    TempDir dir;
    for (const std::string version : {"2.4", "2.5"}) {
        for (const std::string style : styles) {
            SCOPED_TRACE(style + " " + version);
            const GeneratedLog generated = generatePppdLog(dir, style, version);
            // Every ending the generator knows is among the rows.
            for (const char* ending :
                 {"\techo timeout\t", "\tpeer\t", "\thangup\t", "\tstopped\t", "\tidle\t",
                  "\ttime limit\t", "\ttraffic limit\t", "\tauth failed\t",
                  "\tnegotiation timeout\t", "\tstill up\t"})
                EXPECT_NE(generated.expected.find(ending), std::string::npos) << ending;
            const ToolRun run =
                runTool({"--kind", "pppd", "--format", "tsv", "--header", generated.log}, inUtc());
            EXPECT_EQ(run.exitCode, 0);
            EXPECT_EQ(run.err, "");
            EXPECT_EQ(run.out, generated.expected);
        }
    }
}

// The expected rows (header left out) that pass test, in log order.
std::vector<std::string> rowsWhere(const std::string& table,
                                   const std::function<bool(const std::string&)>& test) {
    std::vector<std::string> rows = linesOf(table);
    rows.erase(rows.begin());
    std::erase_if(rows, [&](const std::string& row) { return !test(row); });
    return rows;
}

std::string joined(const std::vector<std::string>& rows) {
    std::string text;
    for (const std::string& row : rows) text += row + "\r\n";
    return text;
}

// "12-20-2024 08:02:00" as 20241220, "-" as none.
long dateKey(const std::string& time) {
    if (time == "-") return -1;
    return std::stol(time.substr(6, 4)) * 10000 + std::stol(time.substr(0, 2)) * 100 +
           std::stol(time.substr(3, 2));
}

long durationSeconds(const std::string& duration) {
    if (duration == "-") return -1;
    return std::stol(duration.substr(0, duration.size() - 6)) * 3600 +
           std::stol(duration.substr(duration.size() - 5, 2)) * 60 +
           std::stol(duration.substr(duration.size() - 2));
}

TEST(KestalCallsPppd, OptionsChooseAndOrderTheRows) {
    TempDir dir;
    const GeneratedLog generated = generatePppdLog(dir, "syslog", "2.5", "400K");
    const std::string& table = generated.expected;
    const auto endedBy = [](const std::string& row) { return fieldOf(row, 15); };
    const auto isDropped = [&](const std::string& row) {
        const std::string e = endedBy(row);
        return e == "echo timeout" || e == "peer" || e == "hangup" || e == "unknown";
    };
    const auto isFailed = [&](const std::string& row) {
        const std::string e = endedBy(row);
        return e == "no PADO" || e == "connect script" || e == "device";
    };
    std::vector<std::string> byDuration = rowsWhere(table, [](const std::string&) { return true; });
    std::stable_sort(byDuration.begin(), byDuration.end(), [](const auto& a, const auto& b) {
        const long x = durationSeconds(fieldOf(a, 2)), y = durationSeconds(fieldOf(b, 2));
        if ((x < 0) != (y < 0)) return y < 0;  // without a value last
        return x > y;
    });
    const std::vector<std::string> rows = linesOf(table);
    const long middle = dateKey(fieldOf(rows[rows.size() / 2], 0));
    const std::string middleDate = fieldOf(rows[rows.size() / 2], 0).substr(0, 10);

    struct Case {
        std::vector<std::string> options;
        std::string expected;
    };
    const Case cases[] = {
        {{}, table},
        {{"--kind", "auto"}, table},
        {{"--dropped"}, joined(rowsWhere(table, isDropped))},
        {{"--failed"}, joined(rowsWhere(table, isFailed))},
        {{"--dropped", "--failed"},
         joined(rowsWhere(table, [&](const auto& r) { return isDropped(r) || isFailed(r); }))},
        {{"--from", middleDate},
         joined(rowsWhere(table, [&](const auto& r) { return dateKey(fieldOf(r, 0)) >= middle; }))},
        {{"--to", middleDate},
         joined(rowsWhere(table,
                          [&](const auto& r) {
                              const long day = dateKey(fieldOf(r, 0));
                              return day >= 0 && day <= middle;
                          }))},
        {{"--sort", "duration:desc"}, joined(byDuration)},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.options;
        const bool whole = c.expected == table;
        if (!whole)
            args.insert(args.begin(), {"--format", "tsv"});
        else
            args.insert(args.begin(), {"--format", "tsv", "--header"});
        args.push_back(generated.log);
        SCOPED_TRACE(args.front() + " " + (c.options.empty() ? "" : c.options.front()));
        const ToolRun run = runTool(args, inUtc());
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_FALSE(c.expected.empty());
        EXPECT_EQ(run.out, c.expected);
    }
}

TEST(KestalCallsPppd, DialUpOptionsAreRefusedAndTheOtherWayRound) {
    TempDir dir;
    const GeneratedLog generated = generatePppdLog(dir, "busybox", "2.4", "60K");
    struct Case {
        std::vector<std::string> args;
        std::string message;  // the first line of standard error
    };
    const Case cases[] = {
        {{"--errors", generated.log},
         "kestal-calls: --errors and --cut-short are for dial-up logs: this is a pppd log "
         "(--dropped and --failed choose its rows)"},
        {{"--cut-short", generated.log},
         "kestal-calls: --errors and --cut-short are for dial-up logs: this is a pppd log "
         "(--dropped and --failed choose its rows)"},
        {{"--outages", kSamplePath},
         "kestal-calls: --outages is for pppd logs: this is a dial-up log"},
        {{"--outages", "--stats", generated.log},
         "kestal-calls: --outages goes alone: no --stats, --by or --details with it"},
        {{"--outages", "--dropped", generated.log},
         "kestal-calls: --outages lists the whole log's gaps: no --sort or filter with it"},
        {{"--outages", "--format", "txt", generated.log},
         "kestal-calls: --outages writes tsv or csv"},
        {{"--repair", generated.log},
         "kestal-calls: --repair mends dial-up logs only: this is a pppd log"},
        {{"--sort", "Bytes Rx", generated.log},
         "kestal-calls: unknown column 'Bytes Rx' for --sort (a tab-separated header name, "
         ":desc after it to sort falling)"},
        {{"--dropped", kSamplePath},
         "kestal-calls: --dropped and --failed are for pppd logs: this is a dial-up log "
         "(--errors and --cut-short choose its calls)"},
        {{"--kind", "dialup", "--failed", generated.log},
         "kestal-calls: --dropped and --failed are for pppd logs: this is a dial-up log "
         "(--errors and --cut-short choose its calls)"},
        {{"--kind", "windows", kSamplePath},
         "kestal-calls: unknown kind of log 'windows' (auto, dialup or pppd)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front());
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), c.message);
    }
    // The sample dial-up log reads as before whether its kind is told or found.
    EXPECT_EQ(runTool({"--kind", "dialup", kSamplePath}).out, runTool({kSamplePath}).out);
}

TEST(KestalCallsPppd, DetailsWriteTheLinesOfTheRowsThatStartedThen) {
    TempDir dir;
    const GeneratedLog generated = generatePppdLog(dir, "syslog", "2.4", "60K");
    const std::vector<std::string> rows = linesOf(generated.expected);
    // The session still up at the end: its process's lines, as logged.
    const std::string start = fieldOf(rows.back(), 0);
    const std::string pid = "pppd[" + fieldOf(rows.back(), 3) + "]: ";
    const ToolRun run = runTool({"--details", start, generated.log}, inUtc());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = linesOf(run.out);
    ASSERT_GE(lines.size(), 6u);
    const std::string log = readBytes(generated.log);
    for (const std::string& line : lines) {
        EXPECT_NE(log.find(line + "\n"), std::string::npos) << line;
        EXPECT_TRUE(line.find(pid) != std::string::npos || line.find(" chat[") != std::string::npos)
            << line;
    }
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find(": Connect: ") != std::string::npos;
    }));
    EXPECT_EQ(runTool({"--details", "01-01-1999 00:00:00", generated.log}, inUtc()).out, "");
}

}  // namespace
}  // namespace kestal::testing
