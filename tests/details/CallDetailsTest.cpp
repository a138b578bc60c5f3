// Finding one call's lines again by its Start Time, and the dotted-decimal
// annotation of the addresses in them.
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "details/CallDetails.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using Lines = std::vector<std::string>;

LogLines logOf(const Lines& lines) {
    std::string bytes;
    for (const auto& line : lines) bytes += line + "\r\n";
    return LogLines::fromBytes(bytes);
}

struct Gathered {
    Lines lines;
    Lines warnings;
};

Gathered gatherOf(const Lines& log, std::string_view startTime) {
    Gathered result;
    result.lines = gatherCallDetails(logOf(log), startTime, [&result](std::string_view warning) {
        result.warnings.emplace_back(warning);
    });
    return result;
}

// ---------------------------------------------------------------- annotation

TEST(hexToDottedQuad, ConvertsUpToEightCharacters) {
    struct Case {
        std::string_view text;
        std::string_view expected;
    };
    const Case cases[] = {
        {"c0a80001", " (192.168.0.1)"},
        {"C0A80001", " (192.168.0.1)"},
        {"a000001.", " (10.0.0.1)"},  // seven digits and a full stop
        {"zzzzzzzz", " (0.0.0.0)"},
        {"c0a", " (192.160.0.0)"},
        {"", " (0.0.0.0)"},
        {"ffffffff", " (255.255.255.255)"},
        {"0a00fe02", " (10.0.254.2)"},
        {"c0.a8", " (12.0.168.0)"},  // "0c0.a8": the full stop counts 0
        {"12345678", " (18.52.86.120)"},
        {"c0a80001ff", " (192.168.0.1)"},  // only the first 8 count
        {"\xe9\xc9-+ 9Gg", " (0.0.9.0)"},  // anything but 1-9, A-F, a-f counts 0
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hexToDottedQuad(c.text), c.expected) << "text: " << c.text;
    }
}

TEST(AnnotateLine, AppendsTheAddressAfterEachKey) {
    struct Case {
        std::string_view line;
        std::string_view expected;
    };
    const std::string prefix = "12-01-2026 09:12:06.60 - IPCP : Received DNS ";
    const Case cases[] = {
        // The six annotations, after "DNS ".
        {"x DNS c0a80001", "x DNS c0a80001 (192.168.0.1)"},
        {"x DNS C0A80001", "x DNS C0A80001 (192.168.0.1)"},
        {"x DNS a000001. Done", "x DNS a000001. Done (10.0.0.1)"},
        {"x DNS zzzzzzzz", "x DNS zzzzzzzz (0.0.0.0)"},
        {"x DNS c0a", "x DNS c0a (192.160.0.0)"},
        {"x DNS ", "x DNS  (0.0.0.0)"},
        // The other two keys.
        {"Negotiated IP address of c0a80101", "Negotiated IP address of c0a80101 (192.168.1.1)"},
        {"Remote address change from 0 to 0a00fe02",
         "Remote address change from 0 to 0a00fe02 (10.0.254.2)"},
        // Two keys: two annotations, in key order, not in line order.
        {"from 0 to 0a00fe02 and IP address of c0a80101",
         "from 0 to 0a00fe02 and IP address of c0a80101 (192.168.1.1) (10.0.254.2)"},
        // A key that ends the line reads into the annotation already appended.
        {"IP address of c0a80001 DNS ", "IP address of c0a80001 DNS  (192.168.0.1) (0.1.146.1)"},
        // The first occurrence of a key counts.
        {"DNS 0a000001 DNS c0a80001", "DNS 0a000001 DNS c0a80001 (10.0.0.1)"},
        // Keys are case-sensitive and need their blank.
        {"dns 0a000001", "dns 0a000001"},
        {"DNS-0a000001", "DNS-0a000001"},
        {"ip address of c0a80001", "ip address of c0a80001"},
        {"from 1 to 0a00fe02", "from 1 to 0a00fe02"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(annotateLine(c.line), c.expected) << "line: " << c.line;
    }
}

// ----------------------------------------------------------------- gathering

constexpr std::string_view kStart = "12-01-2026 09:12:04";
const std::string kOpened = "12-01-2026 09:12:04.30 - Remote access driver log opened.";
const std::string kOpenedAgain = "12-01-2026 09:12:04.80 - Remote access driver log opened.";
const std::string kOther = "12-01-2026 10:00:00.00 - Remote access driver log opened.";
const std::string kClosed = "12-01-2026 09:20:00.00 - Remote access driver log closed.";
const std::string kIp = "12-01-2026 09:12:06.60 - IPCP : Negotiated IP address of c0a80101";
const std::string kIpAnnotated = kIp + " (192.168.1.1)";

TEST(GatherCallDetails, CopiesOneCallsBlock) {
    struct Case {
        const char* name;
        Lines log;
        std::string_view startTime;
        Lines expected;
    };
    const Case cases[] = {
        {"ends with its closing line, which is copied",
         {"before", kOpened, kIp, kClosed, "after"},
         kStart,
         {kOpened, kIpAnnotated, kClosed}},
        {"another \"log closed\" wording is copied and the copy goes on",
         {kOpened, "12-01-2026 09:19:00.00 - Modem log closed.", kIp, kClosed, "after"},
         kStart,
         {kOpened, "12-01-2026 09:19:00.00 - Modem log closed.", kIpAnnotated, kClosed}},
        {"cut short by the next call's opening line, which is left out",
         {kOpened, kIp, kOther, "in the next call", kClosed},
         kStart,
         {kOpened, kIpAnnotated}},
        {"runs to the end of the log",
         {kOpened, "first", kIp},
         kStart,
         {kOpened, "first", kIpAnnotated}},
        {"the opening line is the last line", {"before", kOpened}, kStart, {kOpened}},
        {"two calls with one Start Time, the first closed: both shown",
         {kOpened, "one", kClosed, kOther, "other", kClosed, kOpenedAgain, "two", kClosed},
         kStart,
         {kOpened, "one", kClosed, kOpenedAgain, "two", kClosed}},
        {"two calls with one Start Time, the first not closed: only the first",
         {kOpened, "one", kOpenedAgain, "two", kClosed},
         kStart,
         {kOpened, "one"}},
        {"the opening line is not annotated",
         {"12-01-2026 09:12:04.30 - DNS 0a000001 log opened", "x DNS 0a000001", kClosed},
         kStart,
         {"12-01-2026 09:12:04.30 - DNS 0a000001 log opened", "x DNS 0a000001 (10.0.0.1)",
          kClosed}},
        {"a line with the Start Time but without \"log opened\" starts nothing",
         {"12-01-2026 09:12:04.30 - Installable CP VxD SPAP", "x", kOpened, "y"},
         kStart,
         {kOpened, "y"}},
        {"\"log opened\" is case-sensitive",
         {"12-01-2026 09:12:04.30 - Remote access driver Log Opened.", "x"},
         kStart,
         {}},
        {"a line shorter than 19 characters is compared whole",
         {"log opened", "x DNS 0a000001", "log opened!"},
         "log opened",
         {"log opened", "x DNS 0a000001 (10.0.0.1)"}},
        {"a Start Time longer than 19 characters matches nothing",
         {kOpened, "x"},
         "12-01-2026 09:12:04.",
         {}},
        {"the empty row's Start Time matches nothing", {kOpened, "x", kClosed}, "", {}},
        {"an empty log", {}, kStart, {}},
    };
    for (const auto& c : cases) {
        const Gathered gathered = gatherOf(c.log, c.startTime);
        EXPECT_EQ(gathered.lines, c.expected) << c.name;
        EXPECT_TRUE(gathered.warnings.empty()) << c.name;
    }
}

TEST(GatherCallDetails, GivesTheSameLinesEveryTime) {
    const LogLines log = logOf({kOpened, kIp, kClosed, kOpenedAgain, "two"});
    const auto first = gatherCallDetails(log, kStart, nullptr);
    const auto second = gatherCallDetails(log, kStart, nullptr);
    EXPECT_EQ(first, (Lines{kOpened, kIpAnnotated, kClosed, kOpenedAgain, "two"}));
    EXPECT_EQ(second, first);
}

TEST(GatherCallDetails, MatchesTheSampleLogGolden) {
    struct Case {
        std::string_view startTime;
        const char* golden;
    };
    const Case cases[] = {
        {"12-01-2026 09:12:04", "details-closed-call.txt"},
        {"12-04-2026 08:03:17", "details-cut-short-call.txt"},
    };
    LogLines log;
    readLogFile(std::string(KESTAL_SOURCE_DIR) + "/examples/windows/ppplog.txt", log);
    for (const auto& c : cases) {
        const Lines expected = testing::linesOf(
            testing::readBytes(std::string(KESTAL_TEST_DATA) + "/export/" + c.golden));
        EXPECT_EQ(gatherCallDetails(log, c.startTime, nullptr), expected) << c.golden;
    }
}

// ------------------------------------------------------------------ failures

// Fails on every line holding "BAD", the way running out of memory would.
std::string annotateOrFail(std::string_view line) {
    if (line.find("BAD") != std::string_view::npos) throw std::bad_alloc();
    if (line.find("ODD") != std::string_view::npos) throw 42;  // not even a std::exception
    return annotateLine(line);
}

TEST(GatherCallDetails, ReplacesALineThatFailsWithAWarning) {
    auto warning = [](int lineNumber) {
        return std::string(kCorruptLineWarningStart) + std::to_string(lineNumber) +
               std::string(kCorruptLineWarningEnd);
    };
    struct Case {
        const char* name;
        Lines log;
        Lines expectedLines;
        Lines expectedWarnings;
    };
    const Case cases[] = {
        {"one line fails",
         {kOpened, kIp, "BAD line", "after", kClosed, "not copied"},
         {kOpened, kIpAnnotated, "Warning!", "after", kClosed},
         {warning(2)}},
        {"each failing line is numbered by the lines gathered before it",
         {kOpened, "BAD", "ODD", "fine", "BAD"},
         {kOpened, "Warning!", "Warning!", "fine", "Warning!"},
         {warning(1), warning(2), warning(4)}},
        {"a failing closing line still ends the copy",
         {kOpened, "BAD " + kClosed, "not copied"},
         {kOpened, "Warning!"},
         {warning(1)}},
        {"the opening line is copied unannotated and cannot fail",
         {"12-01-2026 09:12:04.30 - BAD log opened", "x"},
         {"12-01-2026 09:12:04.30 - BAD log opened", "x"},
         {}},
    };
    for (const auto& c : cases) {
        Lines warnings;
        const Lines lines = gatherCallDetails(
            logOf(c.log), kStart,
            [&warnings](std::string_view text) { warnings.emplace_back(text); }, annotateOrFail);
        EXPECT_EQ(lines, c.expectedLines) << c.name;
        EXPECT_EQ(warnings, c.expectedWarnings) << c.name;
    }
}

TEST(GatherCallDetails, WarningTextReadsAsOneSentence) {
    Lines warnings;
    gatherCallDetails(
        logOf({kOpened, "a", "b", "BAD"}), kStart,
        [&warnings](std::string_view text) { warnings.emplace_back(text); }, annotateOrFail);
    EXPECT_EQ(warnings, (Lines{"The data for this call appears to have been corrupted in line "
                               "number 3. A warning replaces the corrupted line."}));
}

}  // namespace
}  // namespace kestal
