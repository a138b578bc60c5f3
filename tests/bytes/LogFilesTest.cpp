// Several files as one log: their order, their bytes joined, .gz files
// whole, cut short and damaged.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bytes/LogFiles.h"
#include "platform/Errors.h"
#include "support/Gzipped.h"
#include "support/TempDir.h"

namespace kestal::testing {
namespace {

using kestal::test::gzipped;

void writeFile(const std::string& path, const std::string& bytes, std::int64_t modified) {
    std::ofstream(path, std::ios::binary) << bytes;
    const utimbuf times{modified, modified};
    ASSERT_EQ(::utime(path.c_str(), &times), 0);
}

// The first dated line of these test files: "T<seconds>" at their start.
std::optional<std::int64_t> leadingTime(std::string_view head, std::int64_t) {
    if (!head.starts_with("T")) return std::nullopt;
    return std::stoll(std::string(head.substr(1, head.find('\n') - 1)));
}

TEST(LogFiles, OrderedByFirstDatedLineElseModificationTimeTiesAsGiven) {
    TempDir dir;
    struct File {
        std::string name, bytes;
        std::int64_t modified;
    };
    const File files[] = {
        {"a", "T300\nline\n", 1000},  // begins third
        {"b", "T100\nline\n", 5000},  // first, however new the file
        {"c", "no date\n", 200},      // by its modification time: second
        {"d", "T300\nother\n", 900},  // ties with a: after it, as given
        {"e.gz", "", 100},            // compressed: its first line counts
    };
    for (const File& f : files) {
        const std::string bytes = f.name == "e.gz" ? gzipped("T250\nz\n") : f.bytes;
        writeFile(dir.file(f.name), bytes, f.modified);
    }
    const std::vector<std::string> given = {dir.file("a"), dir.file("b"), dir.file("c"),
                                            dir.file("d"), dir.file("e.gz")};
    const std::vector<std::string> expected = {dir.file("b"), dir.file("c"), dir.file("e.gz"),
                                               dir.file("a"), dir.file("d")};
    EXPECT_EQ(orderLogFiles(given, leadingTime), expected);
    // Standard input keeps its place; the files on either side are ordered.
    const std::vector<std::string> withInput = {dir.file("a"), dir.file("b"), "-", dir.file("d"),
                                                dir.file("c")};
    const std::vector<std::string> expectedWithInput = {dir.file("b"), dir.file("a"), "-",
                                                        dir.file("c"), dir.file("d")};
    EXPECT_EQ(orderLogFiles(withInput, leadingTime), expectedWithInput);
    EXPECT_EQ(newestModification({dir.file("a"), dir.file("b"), dir.file("c")}), 5000);
}

TEST(LogFiles, JoinedBytesKeepEachFilesLastLineItsOwn) {
    TempDir dir;
    writeFile(dir.file("one"), "T1\nwithout end", 10);
    writeFile(dir.file("two.gz"), gzipped("T2\nsecond\n"), 20);
    writeFile(dir.file("three"), "T3\nlast without end", 30);
    const LogFilesBytes log =
        readLogFiles({dir.file("three"), dir.file("two.gz"), dir.file("one")}, leadingTime);
    EXPECT_EQ(log.bytes, "T1\nwithout end\nT2\nsecond\nT3\nlast without end");
    EXPECT_EQ(log.bytes.substr(log.lastFileStart), "T3\nlast without end");
    EXPECT_TRUE(log.notes.empty());
    EXPECT_EQ(log.newestModified, 30);
}

TEST(LogFiles, CompressedFilesCutShortOrDamagedGiveWhatTheyHoldAndANote) {
    TempDir dir;
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i * 7919 % 10007) + "\n";
    const std::string packed = gzipped(text);
    std::string damaged = packed;
    damaged[packed.size() / 2] ^= 0x55;
    damaged[packed.size() / 2 + 1] ^= 0x55;
    struct Case {
        std::string name, bytes, note;
    };
    const Case cases[] = {
        {"whole.gz", packed, ""},
        {"cut.gz", packed.substr(0, packed.size() / 2),
         "compressed data cut short: read up to where it ends"},
        {"header-only.gz", packed.substr(0, 5),
         "compressed data cut short: read up to where it ends"},
        {"damaged.gz", damaged, "damaged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(dir.file(c.name), c.bytes, 10);
        std::string read;
        const std::vector<LogFileNote> notes =
            streamLogFiles({dir.file(c.name)}, [&](std::string_view bytes) { read.append(bytes); });
        EXPECT_EQ(text.substr(0, read.size()), read);  // what there is, as it was
        if (c.note.empty()) {
            EXPECT_EQ(read, text);
            EXPECT_TRUE(notes.empty());
        } else {
            EXPECT_LT(read.size(), text.size());
            ASSERT_EQ(notes.size(), 1u);
            EXPECT_EQ(notes[0].path, dir.file(c.name));
            EXPECT_NE(notes[0].text.find(c.note), std::string::npos) << notes[0].text;
        }
    }
    EXPECT_THROW(LogFileReader(dir.file("missing")), CommandError);
    EXPECT_THROW(LogFileReader(dir.path().string()), CommandError);
}

}  // namespace
}  // namespace kestal::testing
