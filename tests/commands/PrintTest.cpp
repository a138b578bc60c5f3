// File > Print and the details window's Print: the lines handed to the
// printer, and a missing printer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/Print.h"
#include "output/PrintoutFixtures.h"
#include "platform/Errors.h"
#include "support/FakePlatform.h"

namespace kestal {
namespace {

using testing::FakePlatform;
using testing::printoutText;
using testing::twoCallTable;

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + '\n';
    return text;
}

TEST(PrintTable, PrintsTheTableInCourierNewAsOneJob) {
    FakePlatform platform;
    const CallTable table = twoCallTable();
    commands::printTable(table, platform);
    const auto& jobs = platform.fakePrinter.jobs;
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].fontName, "courier new");
    EXPECT_TRUE(jobs[0].closed);
    EXPECT_EQ(joined(jobs[0].lines), printoutText(table));
}

TEST(PrintDetails, LinesAsTheyAreInTheFontThePrinterHas) {
    FakePlatform platform;
    // A tab, a high byte and a trailing blank go out unchanged.
    const std::vector<std::string> memo = {
        "12/01/2026 10:00:01.00 - Remote access driver log opened.",
        "12/01/2026 10:00:02.10 - IP address of remote: 0a000001 (10.0.0.1)\t\xe9 ",
        "12/01/2026 10:05:01.00 - Remote access driver log closed."};

    commands::printDetails(memo, platform);
    commands::printTable(twoCallTable(), platform);
    commands::printDetails(memo, platform);

    const auto& jobs = platform.fakePrinter.jobs;
    ASSERT_EQ(jobs.size(), 3u);
    EXPECT_EQ(jobs[0].fontName, "MS Sans Serif");
    EXPECT_EQ(jobs[2].fontName, "courier new");  // the table's font stays
    EXPECT_EQ(jobs[0].lines, memo);
    EXPECT_EQ(jobs[2].lines, memo);
    EXPECT_TRUE(jobs[0].closed && jobs[2].closed);
}

TEST(PrintDetails, EmptyTextStillMakesAJob) {
    FakePlatform platform;
    commands::printDetails({}, platform);
    ASSERT_EQ(platform.fakePrinter.jobs.size(), 1u);
    EXPECT_TRUE(platform.fakePrinter.jobs[0].lines.empty());
    EXPECT_TRUE(platform.fakePrinter.jobs[0].closed);
}

TEST(Printing, NoDefaultPrinterIsReportedAndNothingPrints) {
    FakePlatform platform;
    platform.fakePrinter.hasDefaultPrinter = false;
    runCommand(platform, [&] { commands::printTable(twoCallTable(), platform); });
    runCommand(platform, [&] { commands::printDetails({"a line"}, platform); });
    EXPECT_TRUE(platform.fakePrinter.jobs.empty());
    EXPECT_EQ(platform.dialogTexts(),
              (std::vector<std::string>{"There is no default printer currently selected.",
                                        "There is no default printer currently selected."}));
}

}  // namespace
}  // namespace kestal
