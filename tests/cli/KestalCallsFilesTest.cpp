// kestal-calls FILE...: rotated logs read as one in the order of their
// first dated line, whatever the order given; .gz files decompressed, one
// cut short read up to where it ends; a rotated log given as the second
// operand is not written over.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <string>
#include <vector>

#include "cli/PppdLogFixture.h"
#include "cli/RunTool.h"
#include "support/Gzipped.h"

namespace kestal::testing {
namespace {

using kestal::test::gzipped;

ToolSetup inUtc() {
    ToolSetup setup;
    setup.environment.push_back("TZ=UTC");
    return setup;
}

// The same modification time as the generated log's: the years of the
// dates printed without one stay those the generator wrote.
void sameTimeAs(const std::string& path, const std::string& model) {
    struct stat status {};
    ASSERT_EQ(::stat(model.c_str(), &status), 0);
    const utimbuf times{status.st_mtime, status.st_mtime};
    ASSERT_EQ(::utime(path.c_str(), &times), 0);
}

// The log cut in three at line ends: oldest first.
std::vector<std::string> thirds(const std::string& log) {
    const std::size_t a = log.find('\n', log.size() / 3) + 1;
    const std::size_t b = log.find('\n', 2 * log.size() / 3) + 1;
    return {log.substr(0, a), log.substr(a, b - a), log.substr(b)};
}

TEST(KestalCallsFiles, RotatedLogsReadAsOneInTheOrderTheyBegan) {
    TempDir dir;
    for (const std::string style : {"syslog", "rfc3339", "json"}) {
        SCOPED_TRACE(style);
        const GeneratedLog generated = generatePppdLog(dir, style, "2.5", "300K");
        const std::vector<std::string> parts = thirds(readBytes(generated.log));
        const std::string newest = dir.file(style + ".log");
        const std::string older = dir.file(style + ".log.1");
        const std::string oldest = dir.file(style + ".log.2.gz");
        writeFile(newest, parts[2]);
        writeFile(older, parts[1]);
        writeFile(oldest, gzipped(parts[0]));
        for (const std::string& path : {newest, older, oldest}) sameTimeAs(path, generated.log);

        const std::vector<std::vector<std::string>> orders = {
            {newest, older, oldest}, {oldest, newest, older}, {"-o", "-", older, oldest, newest}};
        for (std::vector<std::string> args : orders) {
            args.insert(args.begin(), {"--format", "tsv", "--header"});
            const ToolRun run = runTool(args, inUtc());
            EXPECT_EQ(run.exitCode, 0);
            EXPECT_EQ(run.err, "");
            EXPECT_EQ(run.out, generated.expected);
        }
        // The output file may be named with --output; every operand is a log.
        const std::string out = dir.file(style + ".tsv");
        EXPECT_EQ(runTool({"--header", "--output", out, oldest, newest, older}, inUtc()).exitCode,
                  0);
        EXPECT_EQ(readBytes(out), generated.expected);
    }
}

TEST(KestalCallsFiles, ARotatedLogAsSecondOperandIsNotWrittenOver) {
    TempDir dir;
    const GeneratedLog generated = generatePppdLog(dir, "syslog", "2.4", "60K");
    const std::vector<std::string> parts = thirds(readBytes(generated.log));
    const std::string older = dir.file("syslog.1");
    writeFile(older, parts[0] + parts[1]);
    const ToolRun run = runTool({generated.log, older});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')),
              "kestal-calls: OUTFILE " + older +
                  " is a log: it is not overwritten (several logs are read with --output FILE "
                  "or - for standard output)");
    EXPECT_EQ(readBytes(older), parts[0] + parts[1]);
    // An output file that is no log is written as before.
    const std::string table = dir.file("table.tsv");
    writeFile(table, "old table\r\n");
    EXPECT_EQ(runTool({"--header", generated.log, table}, inUtc()).exitCode, 0);
    EXPECT_EQ(readBytes(table), generated.expected);
}

TEST(KestalCallsFiles, CompressedLogsWholeAndCutShort) {
    TempDir dir;
    const GeneratedLog generated = generatePppdLog(dir, "short-iso", "2.4", "200K");
    const std::string packed = gzipped(readBytes(generated.log));
    const std::string whole = dir.file("syslog.gz");
    writeFile(whole, packed);
    sameTimeAs(whole, generated.log);
    const ToolRun read = runTool({"--header", whole}, inUtc());
    EXPECT_EQ(read.exitCode, 0);
    EXPECT_EQ(read.err, "");
    EXPECT_EQ(read.out, generated.expected);
    // From standard input too.
    ToolSetup fromInput = inUtc();
    fromInput.stdinPath = whole;
    EXPECT_EQ(runTool({"--header", "-"}, fromInput).out, generated.expected);

    const std::string cut = dir.file("syslog.1.gz");
    writeFile(cut, packed.substr(0, packed.size() / 2));
    sameTimeAs(cut, generated.log);
    const ToolRun cutShort = runTool({"--header", cut}, inUtc());
    EXPECT_EQ(cutShort.exitCode, 0);
    EXPECT_EQ(cutShort.err,
              "kestal-calls: " + cut + ": compressed data cut short: read up to where it ends\n");
    // The rows that ended before the cut are the generator's; the last one
    // may be a session the cut left up.
    const std::vector<std::string> rows = linesOf(cutShort.out);
    const std::vector<std::string> expected = linesOf(generated.expected);
    ASSERT_GE(rows.size(), 4u);
    ASSERT_LT(rows.size(), expected.size());
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) EXPECT_EQ(rows[i], expected[i]);
}

TEST(KestalCallsFiles, ABigCompressedLogShowsItsProgressOnATerminal) {
    TempDir dir;
    const GeneratedLog generated = generatePppdLog(dir, "syslog", "2.4", "60K");
    const std::string log = readBytes(generated.log);
    std::string big;
    while (big.size() <= (std::size_t{64} << 20)) big += log;
    const std::string packed = dir.file("big.log.gz");
    writeFile(packed, gzipped(big));
    big.clear();
    const ToolRun run = runTool({"--kind", "pppd", packed}, stderrOnTerminal());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.err.find("Loading big.log.gz ["), std::string::npos) << run.err.substr(0, 200);
    EXPECT_NE(run.err.find("] 100%"), std::string::npos);
}

}  // namespace
}  // namespace kestal::testing
