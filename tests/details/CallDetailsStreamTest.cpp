// Call details found in a streamed log: the lines the details window shows
// for the same log, for every call of every fixture and for times that
// start no call.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "details/CallDetails.h"
#include "details/CallDetailsStream.h"
#include "support/TempDir.h"

namespace kestal::testing {
namespace {

// The details of startTime in bytes, read as a stream in pieces of piece
// bytes.
std::vector<std::string> streamedDetails(const std::string& bytes, std::string_view startTime,
                                         std::size_t piece) {
    const int fd = ::memfd_create("log", MFD_CLOEXEC);
    EXPECT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::lseek(fd, 0, SEEK_SET);
    LineStream::Options options;
    options.piece = piece;
    LineStream lines(fd, "log", options);
    std::vector<std::string> details;
    streamCallDetails(lines, startTime, {},
                      [&details](std::string&& line) { details.push_back(std::move(line)); });
    ::close(fd);
    return details;
}

TEST(CallDetailsStream, EveryCallOfEveryFixtureAsTheWindowShowsIt) {
    std::vector<std::string> fixtures = {KESTAL_SOURCE_DIR "/tests/printing/two-calls-ppplog.txt",
                                         KESTAL_SOURCE_DIR "/examples/windows/ppplog.txt"};
    for (const auto& entry : std::filesystem::directory_iterator(KESTAL_TEST_DATA "/log"))
        fixtures.push_back(entry.path().string());
    for (const std::string& path : fixtures) {
        const std::string bytes = readBytes(path);
        const LogLines lines = LogLines::fromBytes(bytes);
        std::vector<std::string> startTimes = {"", "no such call", "12-01-1998 16:06:01.27 long"};
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].find("log opened") != std::string_view::npos)
                startTimes.emplace_back(lines[i].substr(0, 19));
        }
        for (const std::string& start : startTimes) {
            SCOPED_TRACE(path + ": " + start);
            const std::vector<std::string> shown = gatherCallDetails(lines, start, {});
            EXPECT_EQ(streamedDetails(bytes, start, 5), shown);
            EXPECT_EQ(streamedDetails(bytes, start, 1 << 16), shown);
        }
    }
}

}  // namespace
}  // namespace kestal::testing
