// pppd logs made by the benchmarks' generator (make_log --kind pppd) with
// the table it wrote beside them, for the command line's tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace kestal::testing {

struct GeneratedLog {
    std::string log;
    std::string expected;  // the tab-separated table, header first, CR LF ends
};

// Writes a log of about size bytes in style into dir; fails the test when
// the generator fails.
inline GeneratedLog generatePppdLog(const TempDir& dir, const std::string& style,
                                    const std::string& version = "2.4",
                                    const std::string& size = "200K", int seed = 7) {
    const std::string name = "gen-" + style + "-" + version;
    GeneratedLog generated{dir.file(name + ".log"), {}};
    const std::string expect = dir.file(name + ".tsv");
    const std::string command = std::string("'") + KESTAL_MAKE_LOG + "' " + size + " '" +
                                generated.log + "' --kind pppd --style " + style + " --version " +
                                version + " --seed " + std::to_string(seed) + " --expect '" +
                                expect + "' > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    generated.expected = readBytes(expect);
    return generated;
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A tab-separated line's field.
inline std::string fieldOf(const std::string& line, int index) {
    std::size_t at = 0;
    for (int i = 0; i < index; ++i) at = line.find('\t', at) + 1;
    return line.substr(at, line.find('\t', at) - at);
}

}  // namespace kestal::testing
