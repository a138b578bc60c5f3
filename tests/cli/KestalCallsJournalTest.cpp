// kestal-calls on the systemd journal: journal files made from a generated
// pppd log give the sessions, statistics and outages that journalctl's JSON
// of the same entries gives; --since and --until choose the entries as
// journalctl's own options do; a user who may not read the journal hears
// which group to join.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/PppdLogFixture.h"
#include "cli/RunTool.h"
#include "journal/JournalFiles.h"

namespace kestal::testing {
namespace {

ToolSetup inZone(const std::string& zone) {
    ToolSetup setup;
    setup.environment.push_back("TZ=" + zone);
    return setup;
}

// A generated pppd log as a journal file, and journalctl's JSON of its
// entries of pppd and chat.
struct GeneratedJournal {
    GeneratedLog log;
    std::string journal;
    std::string json;
};

GeneratedJournal generateJournal(const TempDir& dir) {
    GeneratedJournal made{generatePppdLog(dir, "export"), dir.file("system.journal"),
                          dir.file("journal.json")};
    journalFromExport(made.log.log, made.journal);
    writeFile(made.json, journalctlPppdJson(made.journal));
    return made;
}

std::size_t rowCount(const std::string& table) { return linesOf(table).size(); }

TEST(KestalCallsJournal, SameTableStatisticsAndOutagesAsJournalctlsJson) {
    TempDir dir;
    const GeneratedJournal made = generateJournal(dir);
    const std::vector<std::vector<std::string>> modes = {
        {"--header"}, {"--stats", "--by", "day", "--header"}, {"--outages"}, {"--dropped"}};
    for (const std::string zone : {"UTC", "Europe/Berlin", "America/St_Johns"}) {
        for (const auto& mode : modes) {
            SCOPED_TRACE(zone + " " + mode.front());
            std::vector<std::string> fromJournal = mode;
            fromJournal.insert(fromJournal.end(), {"--journal-file", made.journal});
            std::vector<std::string> fromJson = mode;
            fromJson.push_back(made.json);
            const ToolRun journal = runTool(fromJournal, inZone(zone));
            const ToolRun json = runTool(fromJson, inZone(zone));
            EXPECT_EQ(journal.exitCode, 0);
            EXPECT_EQ(journal.err, "");
            EXPECT_GT(rowCount(journal.out), 2u);
            EXPECT_EQ(journal.out, json.out);
        }
    }
    // And the generator's own sessions, as it wrote them in UTC.
    EXPECT_EQ(runTool({"--header", "--journal-file", made.journal}, inZone("UTC")).out,
              made.log.expected);
}

TEST(KestalCallsJournal, SinceAndUntilChooseTheEntriesAsJournalctlDoes) {
    TempDir dir;
    const GeneratedJournal made = generateJournal(dir);
    const std::size_t allRows = rowCount(made.log.expected);
    struct Case {
        std::vector<std::string> ours;
        std::string journalctls;
    };
    const Case cases[] = {
        {{"--since", "2024-12-21"}, "--since '2024-12-21'"},
        {{"--until", "2024-12-21 12:00"}, "--until '2024-12-21 12:00'"},
        {{"--since=12-21-2024", "--until=2024-12-23T06:30:15"},
         "--since '2024-12-21' --until '2024-12-23 06:30:15'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.journalctls);
        std::vector<std::string> args = c.ours;
        args.insert(args.end(), {"--header", "--journal-file", made.journal});
        const ToolRun run = runTool(args, inZone("Europe/Berlin"));
        const std::string json = dir.file("part.json");
        ::setenv("TZ", "Europe/Berlin", 1);
        writeFile(json, journalctlPppdJson(made.journal, c.journalctls));
        ::unsetenv("TZ");
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, runTool({"--header", json}, inZone("Europe/Berlin")).out);
        EXPECT_GT(rowCount(run.out), 1u);
        EXPECT_LT(rowCount(run.out), allRows);
    }
}

// Root reads every file, so the child runs as nobody when the tests run as
// root; another user is kept out by the files' modes alone.
TEST(KestalCallsJournal, AUserWhoMayNotReadTheJournalIsToldWhichGroupToJoin) {
    ToolSetup setup;
    if (::geteuid() == 0) {
        if (!std::filesystem::exists("/usr/bin/setpriv")) GTEST_SKIP() << "no setpriv";
        setup.runAs = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    }
    TempDir dir;
    const GeneratedJournal made = generateJournal(dir);
    namespace fs = std::filesystem;
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
    struct Case {
        const char* what;
        fs::perms folder;
        fs::perms file;
    };
    const fs::perms open = fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec;
    const Case cases[] = {
        {"folder closed", fs::perms::owner_all, fs::perms::owner_read},
        {"file closed", open, fs::perms::none},
    };
    const std::string folder = dir.file("journal");
    fs::create_directory(folder);
    fs::copy_file(made.journal, folder + "/system.journal");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::permissions(folder + "/system.journal", c.file);
        fs::permissions(folder, c.folder);
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"--journal-directory", folder},
              std::vector<std::string>{"--journal-file", folder + "/system.journal"}}) {
            const ToolRun run = runTool(args, setup);
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(run.err,
                      "kestal-calls: Only members of the group systemd-journal can read pppd's "
                      "entries: add yourself with sudo usermod -aG systemd-journal $USER and log "
                      "in again.\n");
        }
        fs::permissions(folder, open);
    }
}

TEST(KestalCallsJournal, MissingJournalsAndUsageErrors) {
    TempDir dir;
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string errStart;
    };
    const std::string none = dir.file("none.journal");
    const Case cases[] = {
        {{"--journal-file", none}, 1, "kestal-calls: no such journal file: " + none + "\n"},
        {{"--journal-directory", dir.path().string()},
         1,
         "kestal-calls: no journal files in " + dir.path().string() + "\n"},
        {{"--journal", "a.tsv", "b.tsv"}, 2, "kestal-calls: the journal is the log: only OUTFILE"},
        {{"--since", "2024-12-21", none}, 2, "kestal-calls: --since and --until choose"},
        {{"--journal", "--until", "yesterday"},
         2,
         "kestal-calls: option '--until': 'yesterday' is no date"},
        {{"--journal", "--since", "2024-02-30"}, 2, "kestal-calls: option '--since'"},
        {{"--journal-file", none, "--journal-directory", "x"}, 2, "kestal-calls: --journal-file"},
        {{"--journal", "--kind", "dialup"}, 2, "kestal-calls: the journal holds pppd's entries"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front() + " " + c.args.back());
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.err.substr(0, c.errStart.size()), c.errStart) << run.err;
    }
}

}  // namespace
}  // namespace kestal::testing
