// The progress that kestal-calls shows while a big log loads comes from the
// log reader itself: it must report every piece, in order, up to the whole.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "lines/LogLines.h"
#include "support/TempDir.h"

namespace kestal::testing {
namespace {

std::string patterned(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + i % 23);
    return bytes;
}

std::vector<std::pair<std::uint64_t, std::uint64_t>> readWithProgress(const std::string& path,
                                                                      std::string& bytes) {
    std::vector<std::pair<std::uint64_t, std::uint64_t>> reports;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_GE(fd, 0);
    bytes = readDescriptorBytes(fd, path, [&reports](std::uint64_t done, std::uint64_t expected) {
        reports.emplace_back(done, expected);
    });
    ::close(fd);
    return reports;
}

TEST(ReadProgress, ReportsEveryPieceUpToTheWholeFile) {
    TempDir dir;
    const std::string content = patterned((std::size_t{10} << 20) + 12345);
    const std::string path = dir.write("big.txt", content);

    std::string bytes;
    const auto reports = readWithProgress(path, bytes);
    EXPECT_EQ(bytes, content);
    ASSERT_GE(reports.size(), 3u) << "a 10 MB file must report more than once";
    std::uint64_t previous = 0;
    for (const auto& [done, expected] : reports) {
        EXPECT_GT(done, previous);
        EXPECT_EQ(expected, content.size());
        previous = done;
    }
    EXPECT_EQ(reports.back().first, content.size());
}

TEST(ReadProgress, EmptyFileAndNoCallbackReadTheSame) {
    TempDir dir;
    const std::string path = dir.write("empty.txt", "");
    std::string bytes = "x";
    const auto reports = readWithProgress(path, bytes);
    EXPECT_EQ(bytes, "");
    EXPECT_TRUE(reports.empty());

    const std::string small = dir.write("small.txt", "line\r\n");
    const int fd = ::open(small.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(readDescriptorBytes(fd, small, ReadProgress{}), "line\r\n");
    ::close(fd);
}

}  // namespace
}  // namespace kestal::testing
