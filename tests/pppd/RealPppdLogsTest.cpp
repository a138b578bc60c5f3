// The published pppd logs beside the project: the sessions, failed attempts
// and fields read from each by hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "PppdTestHelpers.h"
#include "lines/LogLines.h"

namespace kestal {
namespace {

using test::tableText;

std::string readFile(const std::string& name) {
    std::ifstream file(std::string(KESTAL_REAL_PPPD) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

struct RealLog {
    const char* file;
    std::int64_t newest;  // the log's newest time (a day after it was published)
    bool german;
    int sessions;
    int failed;
    const char* rows;
};

// Decisions where the text leaves it open:
// - 04: the statistics with no session open end one that began before the log;
//   the IPCP restart after them goes on in it, and its end is the signal's line.
// - 07: the IPv6 link-local addresses stand as Local IP and Remote IP.
// - 09: the addresses charon saw are not pppd's: Local IP unknown.
// - a session that ended (Terminating on signal) without Connection terminated.
//   ends at its last line.
const RealLog kRealLogs[] = {
    {"04-linuxppp-2024-ppp250-stats-mid-session.log", 1714780800, false, 1, 0,
     "-\t05-03-2024 08:33:50\t-\t15375\t-\t-\t-\t-\tn1.n2.n3.n4\tm1.m2.m3.m4\tXXX\tXXX\t0.1\t14\t"
     "10\tstopped\tTerminating on signal 2\n"},
    {"05-linuxppp-2024-nodetach-stderr-sigint.log", 1711497600, false, 1, 0,
     "-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t26.4\t85749\t1323321\tstopped\tTerminating on signal "
     "2\n"},
    {"06-linuxppp-2020-pppoe-nodetach-annotated.log", 1591660800, false, 1, 0,
     "-\t-\t-\t-\tppp0\twan0\tCHAP\t-\tXX.XX.XX.XX\tYY.YY.YY.YY\t-\t-\t1629."
     "2\t572\t452077\thangup\t"
     "Modem hangup\n"},
    {"07-linuxppp-2021-pty-ipv6-selftest-indented.log", 1613520000, false, 1, 0,
     "-\t-\t-\t-\tppp0\t/dev/pts/18\t-\t-\tfe80::0000:0000:0000:0002\tfe80::0000:0000:0000:0001\t-"
     "\t-\t0.1\t120\t120\tstopped\tTerminating on signal 2\n"},
    {"08-linuxppp-2024-uart-nodetach-modem-hangup.log", 1725926400, false, 1, 0,
     "-\t-\t-\t-\tppp0\t/dev/ttyMSM0\t-\t-\t10.0.0.2\t10.0.0.1\t-\t-\t0.1\t0\t1276\thangup\t"
     "Modem hangup\n"},
    {"09-linuxppp-2025-journalctl-short-precise-l2tp.log", 1747526400, true, 2, 0,
     "-\t04-14-2025 16:11:08\t-\t493659\t-\t-\t-\t-\t-\t-\t-\t-\t6.7\t1735197\t56173839\tstopped\t"
     "Terminating on signal 15\n"
     "-\t05-16-2025 08:53:56\t-\t10313\t-\t-\t-\t-\t-\t-\t-\t-\t5.1\t1054040\t15208988\tstopped\t"
     "Terminating on signal 15\n"},
    {"10-linuxppp-2020-openwrt-logread-pppoe-debug-wrapped.log", 1588204800, false, 2, 0,
     "-\t04-29-2020 06:40:31\t-\t22479\t-\t-\t-\t-\t-\t-\t-\t-\t2351.5\t524878898\t2649683636\t"
     "hangup\tModem hangup\n"
     "04-29-2020 06:40:31\t-\t-\t9495\tpppoe-wan\teth1.3902\tCHAP\t-\t146.X.Y.Z\t94.127.30.0\t"
     "212.18.32.10\t212.18.32.12\t-\t-\t-\tstill up\t-\n"},
    {"14-vintagenet-2018-lte-huawei-ttyUSB0-busybox-syslog.log", 1544486400, false, 1, 0,
     "01-01-2018 00:55:32\t-\t-\t213\tppp0\t/dev/ttyUSB0\t-\t-\t26.35.123.110\t10.64.64.64\t"
     "10.177.0.34\t10.177.0.210\t-\t-\t-\tstill up\t-\n"},
};

class RealPppdLogs : public testing::TestWithParam<RealLog> {};

TEST_P(RealPppdLogs, SessionsAndFields) {
    const RealLog& real = GetParam();
    // The published logs lie beside the checkout, never in it.
    if (!std::filesystem::exists(std::string(KESTAL_REAL_PPPD) + "/" + real.file))
        GTEST_SKIP() << "no " << KESTAL_REAL_PPPD << "/" << real.file;
    const std::string bytes = readFile(real.file);
    ASSERT_FALSE(bytes.empty()) << real.file;
    PppdReadOptions options = test::testOptions(real.newest);
    if (real.german) {
        options.localMonths.local = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                                     "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    }
    const PppdLog log = readPppdLog(LogLines::fromBytes(bytes), options);
    EXPECT_EQ(log.sessions, real.sessions);
    EXPECT_EQ(log.failedAttempts, real.failed);
    EXPECT_EQ(tableText(log), real.rows);
}

INSTANTIATE_TEST_SUITE_P(EveryFile, RealPppdLogs, testing::ValuesIn(kRealLogs),
                         [](const testing::TestParamInfo<RealLog>& info) {
                             return "log" + std::string(info.param.file).substr(0, 2);
                         });

}  // namespace
}  // namespace kestal
