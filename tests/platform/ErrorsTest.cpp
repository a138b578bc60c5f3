#include <gtest/gtest.h>

#include <cerrno>
#include <new>

#include "platform/Errors.h"
#include "support/FakePlatform.h"

namespace kestal {
namespace {

using testing::DialogRecord;
using testing::FakePlatform;

TEST(IoErrorText, NamesTheKnownCodesAndNumbersTheRest) {
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {2, "File not found"},
        {3, "Invalid filename"},
        {4, "Too many open files"},
        {5, "File access denied"},
        {100, "Read beyond end of file"},
        {101, "Disk full"},
        {106, "Invalid numeric input"},
        {1, "I/O error 1"},
        {6, "I/O error 6"},
        {103, "I/O error 103"},
        {0, "I/O error 0"},
        {-7, "I/O error -7"},
    };
    for (const auto& c : cases) EXPECT_EQ(ioErrorText(c.code), c.text) << c.code;
    EXPECT_STREQ(ioError(101).what(), "Disk full");
}

TEST(IoCodeFromErrno, MapsTheSystemErrorsOntoTheReportedCodes) {
    const struct {
        int err;
        bool creating;
        int code;
    } cases[] = {
        {ENOENT, false, 2},      {ENOENT, true, 3},    {ENOTDIR, false, 3},   {ENOTDIR, true, 3},
        {ENAMETOOLONG, true, 3}, {EMFILE, false, 4},   {ENFILE, true, 4},     {EACCES, true, 5},
        {EPERM, false, 5},       {EROFS, true, 5},     {EISDIR, true, 5},     {ETXTBSY, true, 5},
        {ENOSPC, false, 101},    {EDQUOT, false, 101}, {EBADF, false, EBADF}, {ENXIO, true, ENXIO},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ioCodeFromErrno(c.err, c.creating), c.code)
            << "errno " << c.err << " creating " << c.creating;
}

TEST(IoCodeFromErrno, DeviceFailureIsNotTakenForAccessDenied) {
    // EIO is 5 on Linux, the code that reads "File access denied".
    const int code = ioCodeFromErrno(EIO, false);
    EXPECT_NE(ioErrorText(code), "File access denied");
    EXPECT_EQ(ioErrorText(code).rfind("I/O error ", 0), 0u);
}

TEST(FailureTexts, AreWordedAsTheSystemWordsThem) {
    EXPECT_STREQ(cannotOpenFile("/tmp/a b.txt").what(), "Cannot open file /tmp/a b.txt");
    EXPECT_STREQ(cannotCreateFile("/x/y.csv").what(), "Cannot create file /x/y.csv");
    EXPECT_STREQ(streamWriteError().what(), "Stream write error");
    EXPECT_STREQ(noDefaultPrinter().what(), "There is no default printer currently selected");
}

TEST(WithFullStop, AppendsAStopOnlyAfterCharactersBeyondTheStop) {
    const struct {
        std::string_view text;
        std::string_view expected;
    } cases[] = {
        {"Disk full", "Disk full."},
        {"I/O error 32", "I/O error 32."},  // digits come after "."
        {"Cannot create file /tmp/x.txt", "Cannot create file /tmp/x.txt."},
        {"Cannot create file /tmp/dir/", "Cannot create file /tmp/dir/."},  // "/" is 47
        {"Some calls may not be listed!", "Some calls may not be listed!"},
        {"ends in a blank ", "ends in a blank "},
        {"already stopped.", "already stopped."},
        {"a dash-", "a dash-"},  // "-" is 45
        {"a comma,", "a comma,"},
        {"colon:", "colon:."},    // ":" is 58
        {"Caf\xE9", "Caf\xE9."},  // above 127: still after "."
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(withFullStop(c.text), c.expected) << c.text;
}

struct Thrown {
    std::function<void()> command;
    std::string_view report;
};

TEST(RunCommand, ReportsWhateverEndsTheCommandAndGoesOn) {
    const Thrown cases[] = {
        {[] { throw ioError(5); }, "File access denied."},
        {[] { throw streamWriteError(); }, "Stream write error."},
        {[] { throw CommandError("Cannot open file /tmp/x."); }, "Cannot open file /tmp/x."},
        {[] { throw std::bad_alloc(); }, "Out of memory."},
        {[] { throw std::runtime_error("stoi"); }, "stoi."},
        {[] { throw 42; }, "Unknown error."},
    };
    for (const auto& c : cases) {
        FakePlatform platform;
        EXPECT_NO_THROW(runCommand(platform, c.command));
        ASSERT_EQ(platform.dialogs.size(), 1u) << c.report;
        EXPECT_EQ(platform.dialogs[0].kind, DialogRecord::Kind::ErrorReport);
        EXPECT_EQ(platform.dialogs[0].text, c.report);
    }
}

TEST(RunCommand, KeepsWhatWasDoneBeforeTheFailure) {
    FakePlatform platform;
    std::vector<int> done;
    runCommand(platform, [&] {
        done.push_back(1);
        throw noDefaultPrinter();
        done.push_back(2);
    });
    EXPECT_EQ(done, std::vector<int>{1});
    EXPECT_EQ(platform.dialogTexts(),
              std::vector<std::string>{"There is no default printer currently selected."});
}

TEST(RunCommand, ShowsNothingWhenTheCommandSucceeds) {
    FakePlatform platform;
    bool ran = false;
    runCommand(platform, [&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(platform.dialogs.empty());
}

// A platform whose error report itself fails.
class FailingReport : public FakePlatform {
public:
    void showErrorReport(std::string_view) override { throw std::runtime_error("no screen"); }
};

TEST(RunCommand, LetsNoExceptionOutEvenWhenTheReportFails) {
    FailingReport platform;
    EXPECT_NO_THROW(runCommand(platform, [] { throw ioError(101); }));
}

TEST(DialogCaption, FollowsTheDialogType) {
    EXPECT_EQ(dialogCaption(DialogType::Warning), "Warning");
    EXPECT_EQ(dialogCaption(DialogType::Error), "Error");
    EXPECT_EQ(dialogCaption(DialogType::Information), "Information");
    EXPECT_EQ(dialogCaption(DialogType::Confirmation), "Confirm");
}

}  // namespace
}  // namespace kestal
