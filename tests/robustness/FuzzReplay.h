// Every fuzz target runs in the test suite too, over its seed inputs and the
// inputs of past findings (fuzz/corpus/<target>/), with all of its property
// checks: a broken property aborts the test program.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "robustness/RobustnessHelpers.h"

namespace kestal::testing {

using FuzzEntry = int (*)(const std::uint8_t* data, std::size_t size);

inline void replayCorpus(std::string_view target, FuzzEntry run) {
    const std::filesystem::path folder =
        std::filesystem::path(KESTAL_SOURCE_DIR) / "fuzz" / "corpus" / target;
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        SCOPED_TRACE(entry.path().string());
        const std::string bytes = fileContent(entry.path());
        EXPECT_EQ(run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
        ++inputs;
    }
    EXPECT_GT(inputs, 0) << "no inputs in " << folder;
}

}  // namespace kestal::testing

#define KESTAL_REPLAY_TEST(target, entry) \
    TEST(FuzzCorpus, target) { ::kestal::testing::replayCorpus(#target, entry); }
