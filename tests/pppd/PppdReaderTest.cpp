// Sessions and failed attempts from pppd's messages: the orders of pppd 2.4
// and 2.5, the rows each failure makes, the ends of sessions and the clock.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "PppdTestHelpers.h"

namespace kestal {
namespace {

using test::readText;
using test::readTextChecked;
using test::tableText;

struct ReaderCase {
    const char* name;
    const char* log;
    const char* rows;
    int sessions;
    int failed;
    std::uint64_t notUnderstood = 0;
};

const ReaderCase kReaderCases[] = {
    // pppd 2.4: the statistics at IPCP down and again after Connection
    // terminated., the same period counted once.
    {"pppd24Order",
     "Dec  8 10:00:00 h pppd[100]: pppd 2.4.9 started by root, uid 0\n"
     "Dec  8 10:00:01 h pppd[100]: Using interface ppp0\n"
     "Dec  8 10:00:01 h pppd[100]: Connect: ppp0 <--> /dev/ttyUSB0\n"
     "Dec  8 10:00:03 h pppd[100]: PAP authentication succeeded\n"
     "Dec  8 10:00:04 h pppd[100]: local  IP address 10.1.2.3\n"
     "Dec  8 10:00:04 h pppd[100]: remote IP address 10.64.64.64\n"
     "Dec  8 10:00:04 h pppd[100]: primary   DNS address 8.8.8.8\n"
     "Dec  8 10:00:04 h pppd[100]: secondary DNS address 8.8.4.4\n"
     "Dec  8 11:00:04 h pppd[100]: No response to 4 echo-requests\n"
     "Dec  8 11:00:04 h pppd[100]: Serial link appears to be disconnected.\n"
     "Dec  8 11:00:04 h pppd[100]: Connect time 60.0 minutes.\n"
     "Dec  8 11:00:04 h pppd[100]: Sent 1000 bytes, received 2000 bytes.\n"
     "Dec  8 11:00:05 h pppd[100]: Connection terminated.\n"
     "Dec  8 11:00:05 h pppd[100]: Connect time 60.0 minutes.\n"
     "Dec  8 11:00:05 h pppd[100]: Sent 1000 bytes, received 2000 bytes.\n"
     "Dec  8 11:00:05 h pppd[100]: Exit.\n",
     "12-08-2026 10:00:01\t12-08-2026 11:00:05\t01:00:04\t100\tppp0\t/dev/ttyUSB0\tPAP\t-\t"
     "10.1.2.3\t10.64.64.64\t8.8.8.8\t8.8.4.4\t60.0\t1000\t2000\techo timeout\t"
     "No response to 4 echo-requests\n",
     1, 0},
    // pppd 2.5: the statistics before Connection terminated.; an IPCP
    // restart in the middle sums two periods; the server's view of the peer.
    {"pppd25Order",
     "2026-06-01T08:00:00+02:00 h pppd[7]: Connect: ppp1 <--> /dev/pts/3\n"
     "2026-06-01T08:00:01+02:00 h pppd[7]: CHAP peer authentication succeeded for bob\n"
     "2026-06-01T08:00:02+02:00 h pppd[7]: local  IP address 192.168.9.1\n"
     "2026-06-01T08:00:02+02:00 h pppd[7]: remote IP address 192.168.9.2\n"
     "2026-06-01T08:30:00+02:00 h pppd[7]: Connect time 29.9 minutes.\n"
     "2026-06-01T08:30:00+02:00 h pppd[7]: Sent 5 bytes, received 6 bytes.\n"
     "2026-06-01T08:30:03+02:00 h pppd[7]: local  IP address 192.168.9.1\n"
     "2026-06-01T08:30:03+02:00 h pppd[7]: remote IP address 192.168.9.3\n"
     "2026-06-01T09:00:00+02:00 h pppd[7]: Terminating on signal 15\n"
     "2026-06-01T09:00:00+02:00 h pppd[7]: Connect time 29.9 minutes.\n"
     "2026-06-01T09:00:00+02:00 h pppd[7]: Sent 10 bytes, received 20 bytes.\n"
     "2026-06-01T09:00:01+02:00 h pppd[7]: Connection terminated.\n"
     "2026-06-01T09:00:01+02:00 h pppd[7]: Exit.\n",
     "06-01-2026 08:00:00\t06-01-2026 09:00:01\t01:00:01\t7\tppp1\t/dev/pts/3\tCHAP\tbob\t"
     "192.168.9.1\t192.168.9.3\t-\t-\t59.8\t15\t26\tstopped\tTerminating on signal 15\n",
     1, 0},
    // Every kind of failure outside a session, one attempt after another of
    // one pppd (persist): each starts at the first line after the last.
    {"failedAttempts",
     "Dec  8 09:00:00 h pppd[200]: pppd 2.5.0 started by root, uid 0\n"
     "Dec  8 09:00:05 h pppd[200]: Timeout waiting for PADO packets\n"
     "Dec  8 09:00:05 h pppd[200]: Unable to complete PPPoE Discovery\n"
     "Dec  8 09:00:10 h pppd[200]: Send PPPOE Discovery V1T1 PADI session 0x0 length 12\n"
     "Dec  8 09:00:15 h pppd[200]: Timeout waiting for PADS packets\n"
     "Dec  8 09:00:20 h pppd[200]: Unable to complete PPPoE Discovery\n"
     "Dec  8 09:00:30 h pppd[200]: Unable to complete PPPoE Discovery\n"
     "Dec  8 09:01:00 h pppd[200]: Connect script failed\n"
     "Dec  8 09:02:00 h pppd[200]: Failed to open /dev/ttyUSB0: No such file or directory\n"
     "Dec  8 09:03:00 h pppd[200]: LCP: timeout sending Config-Requests\n"
     "Dec  8 09:04:00 h pppd[200]: PAP authentication failed: bad password\n"
     "Dec  8 09:04:00 h pppd[200]: PAP authentication failed\n"
     "Dec  8 09:05:00 h pppd[200]: Peer carol failed CHAP authentication\n",
     "12-08-2026 09:00:00\t12-08-2026 09:00:05\t00:00:05\t200\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t"
     "no PADO\tTimeout waiting for PADO packets\n"
     "12-08-2026 09:00:10\t12-08-2026 09:00:15\t00:00:05\t200\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t"
     "no PADO\tTimeout waiting for PADS packets\n"
     "12-08-2026 09:00:30\t12-08-2026 09:00:30\t00:00:00\t200\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t"
     "no PADO\tUnable to complete PPPoE Discovery\n"
     "12-08-2026 09:01:00\t12-08-2026 09:01:00\t00:00:00\t200\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t"
     "connect script\tConnect script failed\n"
     "12-08-2026 09:02:00\t12-08-2026 09:02:00\t00:00:00\t200\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t"
     "device\tFailed to open /dev/ttyUSB0: No such file or directory\n"
     "12-08-2026 09:03:00\t12-08-2026 09:03:00\t00:00:00\t200\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t"
     "negotiation timeout\tLCP: timeout sending Config-Requests\n"
     "12-08-2026 09:04:00\t12-08-2026 09:04:00\t00:00:00\t200\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t"
     "auth failed\tPAP authentication failed\n"
     "12-08-2026 09:05:00\t12-08-2026 09:05:00\t00:00:00\t200\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t"
     "auth failed\tPeer carol failed CHAP authentication\n",
     0, 8},
    // A session left open ends at its PID's last line before a new Connect:
    // or a new pppd under the same (reused) PID; one open at the end is up.
    {"reusedPidAndStillUp",
     "Dec  8 10:00:00 h pppd[5]: Connect: ppp0 <--> eth0\n"
     "Dec  8 10:05:00 h pppd[5]: local  IP address 1.2.3.4\n"
     "Dec  8 10:06:00 h pppd[5]: Connect: ppp0 <--> eth0\n"
     "Dec  8 10:07:00 h pppd[5]: Hangup (SIGHUP)\n"
     "Dec  8 10:09:00 h pppd[5]: pppd 2.4.9 started by root, uid 0\n"
     "Dec  8 10:09:01 h pppd[5]: Connect: ppp0 <--> eth0\n"
     "Dec  8 10:09:02 h pppd[5]: Exit.\n"
     "Dec  8 10:10:00 h pppd[6]: Connect: ppp1 <--> \n",
     "12-08-2026 10:00:00\t12-08-2026 10:05:00\t00:05:00\t5\tppp0\teth0\t-\t-\t1.2.3.4\t-\t-\t-\t-"
     "\t-\t-\tunknown\t-\n"
     "12-08-2026 10:06:00\t12-08-2026 10:07:00\t00:01:00\t5\tppp0\teth0\t-\t-\t-\t-\t-\t-\t-\t-\t-"
     "\thangup\tHangup (SIGHUP)\n"
     "12-08-2026 10:09:01\t12-08-2026 10:09:02\t00:00:01\t5\tppp0\teth0\t-\t-\t-\t-\t-\t-\t-\t-\t-"
     "\tunknown\t-\n"
     "12-08-2026 10:10:00\t-\t-\t6\tppp1\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\tstill up\t-\n",
     4, 0},
    // A rotated log that starts in the middle of a session (its end said
    // twice is still one end); the address
    // lines dial-on-demand prints before any attempt are not a session's.
    {"beganBeforeLog",
     "Dec  8 10:00:00 h pppd[9]: Terminating connection due to lack of activity.\n"
     "Dec  8 10:00:00 h pppd[9]: Connection terminated.\n"
     "Dec  8 10:00:00 h pppd[9]: Connection terminated.\n"
     "Dec  8 10:00:00 h pppd[9]: Connect time 3.0 minutes.\n"
     "Dec  8 10:00:00 h pppd[9]: Sent 1 bytes, received 2 bytes.\n"
     "Dec  8 10:00:01 h pppd[9]: local  IP address 10.112.112.112\n"
     "Dec  8 10:00:02 h pppd[9]: Connect: ppp0 <--> /dev/ttyS0\n"
     "Dec  8 10:00:03 h pppd[9]: Connect time expired\n"
     "Dec  8 10:00:04 h pppd[9]: Connection terminated.\n",
     "-\t12-08-2026 10:00:00\t-\t9\t-\t-\t-\t-\t-\t-\t-\t-\t3.0\t1\t2\tidle\t"
     "Terminating connection due to lack of activity.\n"
     "12-08-2026 10:00:02\t12-08-2026 10:00:04\t00:00:02\t9\tppp0\t/dev/ttyS0\t-\t-\t-\t-\t-\t-\t-"
     "\t-\t-\ttime limit\tConnect time expired\n",
     2, 0},
    // December, then January: the next year; the year itself from the
    // newest time (2026-12-08), the last line's date at or before it.
    {"newYear",
     "Dec 31 23:59:00 h pppd[3]: Connect: ppp0 <--> /dev/ttyS0\n"
     "Jan  1 00:01:30 h pppd[3]: LCP terminated by peer (bye)\n"
     "Jan  1 00:01:30 h pppd[3]: Connection terminated.\n",
     "12-31-2025 23:59:00\t01-01-2026 00:01:30\t00:02:30\t3\tppp0\t/dev/ttyS0\t-\t-\t-\t-\t-\t-\t-"
     "\t-\t-\tpeer\tLCP terminated by peer (bye)\n",
     1, 0},
    // A router's clock set late: the time goes back and the duration is
    // unknown; a summer time change counts by the offsets printed.
    {"clockBackAndSummerTime",
     "Jun  5 12:00:00 h pppd[4]: Connect: ppp0 <--> eth0\n"
     "Jan  1 00:00:09 h pppd[4]: Traffic limit reached\n"
     "Jan  1 00:00:10 h pppd[4]: Connection terminated.\n"
     "2026-03-29T01:30:00+01:00 h pppd[8]: Connect: ppp0 <--> eth0\n"
     "2026-03-29T03:30:00+02:00 h pppd[8]: Connection terminated.\n",
     "06-05-2026 12:00:00\t01-01-2026 00:00:10\t-\t4\tppp0\teth0\t-\t-\t-\t-\t-\t-\t-\t-\t-\t"
     "traffic limit\tTraffic limit reached\n"
     "03-29-2026 01:30:00\t03-29-2026 03:30:00\t01:00:00\t8\tppp0\teth0\t-\t-\t-\t-\t-\t-\t-\t-\t-"
     "\tunknown\t-\n",
     2, 0},
    // systemd's copies of a pppd under a shell (nodetach): dropped when pppd
    // wrote the same in the same second, before or after; otherwise pppd's.
    {"shellCopies",
     "Dec  8 10:00:00 h sh[431]: Connect: ppp0 <--> /dev/ttyS0\n"
     "Dec  8 10:00:00 h pppd[432]: Connect: ppp0 <--> /dev/ttyS0\n"
     "Dec  8 10:00:05 h pppd[432]: Modem hangup\n"
     "Dec  8 10:00:05 h sh[431]: Modem hangup\n"
     "Dec  8 10:00:06 h pppd[432]: Connection terminated.\n"
     "Dec  8 10:00:07 h sh[431]: Connection terminated.\n"
     "Dec  8 10:00:07 h sh[431]: Exit.\n",
     "12-08-2026 10:00:00\t12-08-2026 10:00:06\t00:00:06\t432\tppp0\t/dev/ttyS0\t-\t-\t-\t-\t-\t-"
     "\t-\t-\t-\thangup\tModem hangup\n"
     "-\t12-08-2026 10:00:07\t-\t431\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\tunknown\t-\n",
     2, 0},
    // Lines that fit no prefix are counted, lines of other programs skipped,
    // a line wrapped by a mail reader joined to the one it continues.
    {"notUnderstoodAndWrapped",
     "Foo  8 10:00:00 h pppd[1]: Connect: ppp0 <--> eth0\n"
     "Dec  8 10:00:00 h pppd[1]: Connect: ppp0\n"
     "<--> eth0\n"
     "Dec  8 10:00:01 h kernel: something else\n"
     "{\"MESSAGE\":\"Exit.\"\n"
     "\x01\x02 junk\n"
     "Dec  8 10:00:02 h pppd[1]: Sent 7 bytes, received \n"
     "8 bytes.\n"
     "Dec  8 10:00:02 h pppd[1]: Connection terminated.\n",
     "12-08-2026 10:00:00\t12-08-2026 10:00:02\t00:00:02\t1\tppp0\teth0\t-\t-\t-\t-\t-\t-\t-\t7\t8"
     "\tunknown\t-\n",
     1, 0, 2},
    // pppd's own output, then a system log's lines: the first prefixed line
    // (another program's) makes the log a system log, and the bare lines
    // before it are counted as not understood.
    {"bareThenPrefixed",
     "hello\n"
     "Connect: ppp0 <--> eth0\n"
     "Dec  8 10:00:01 h kernel: eth0 link up\n"
     "Dec  8 10:00:02 h pppd[5]: Connect: ppp1 <--> eth1\n"
     "Dec  8 10:00:03 h kernel: eth1 link down\n"
     "Dec  8 10:00:04 h pppd[5]: Connection terminated.\n",
     "-\t-\t-\t-\tppp0\teth0\t-\t-\t-\t-\t-\t-\t-\t-\t-\tstill up\t-\n"
     "12-08-2026 10:00:02\t12-08-2026 10:00:04\t00:00:02\t5\tppp1\teth1\t-\t-\t-\t-\t-\t-\t-"
     "\t-\t-\tunknown\t-\n",
     2, 0},
    {"unknownThenPrefixed",
     "hello\n"
     "world\n"
     "Dec  8 10:00:01 h kernel: eth0 link up\n"
     "Dec  8 10:00:02 h pppd[5]: Connect: ppp1 <--> eth1\n",
     "12-08-2026 10:00:02\t-\t-\t5\tppp1\teth1\t-\t-\t-\t-\t-\t-\t-\t-\t-\tstill up\t-\n", 1, 0, 2},
};

class PppdSessions : public testing::TestWithParam<ReaderCase> {};

TEST_P(PppdSessions, Rows) {
    const ReaderCase& c = GetParam();
    const PppdLog log = readText(c.log);
    EXPECT_EQ(tableText(log), c.rows);
    EXPECT_EQ(log.sessions, c.sessions);
    EXPECT_EQ(log.failedAttempts, c.failed);
    EXPECT_EQ(log.linesNotUnderstood, c.notUnderstood);
    // Checked on another thread first, in batches of any size: the same.
    for (const std::size_t batchLines : {1, 3, 1000}) {
        const PppdLog checked = readTextChecked(c.log, batchLines);
        EXPECT_EQ(tableText(checked), c.rows) << batchLines;
        EXPECT_EQ(checked.linesNotUnderstood, c.notUnderstood) << batchLines;
        EXPECT_EQ(checked.span.first, log.span.first) << batchLines;
        EXPECT_EQ(checked.span.last, log.span.last) << batchLines;
    }
}

INSTANTIATE_TEST_SUITE_P(Every, PppdSessions, testing::ValuesIn(kReaderCases),
                         [](const testing::TestParamInfo<ReaderCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace kestal

namespace kestal {
namespace {

// Bad input is lines not understood, never a crash or a hang: junk, a
// 50 MB line (pppd's, and wrapped on), JSON nested past any sense.
TEST(PppdBadInput, JunkHugeLinesAndDeepJson) {
    const std::string huge(50 * 1024 * 1024, 'x');
    const std::string session = "Dec  8 10:00:00 h pppd[1]: Connect: ppp0 <--> eth0\n";
    const struct {
        const char* name;
        std::string log;
        int rows;
        std::uint64_t notUnderstood;
    } cases[] = {
        {"junk", session + std::string("\x01\xff\xfe\x80 junk\n\x1b[0m\n", 13), 1, 2},
        {"hugeOwnLine", session + huge + "\n", 1, 1},
        {"hugePppdMessage", session + "Dec  8 10:00:01 h pppd[1]: " + huge + "\n", 1, 0},
        {"deepJson", session + "{\"MESSAGE\":" + std::string(100000, '[') + "\n", 1, 1},
    };
    for (const auto& c : cases) {
        const PppdLog log = readText(c.log);
        EXPECT_EQ(log.table.callCount(), c.rows) << c.name;
        EXPECT_EQ(log.linesNotUnderstood, c.notUnderstood) << c.name;
    }
}

// A big table is made in two halves side by side: its rows still come in
// log order (a session before the attempt that ended inside it), each with
// its own lines.
TEST(PppdTable, ThousandsOfRowsInLogOrder) {
    constexpr int kPairs = 6000;
    std::string text;
    for (int i = 0; i < kPairs; ++i) {
        char time[32];
        std::snprintf(time, sizeof time, "Dec  8 %02d:%02d:%02d h ", i / 3600, i / 60 % 60, i % 60);
        const std::string session = std::to_string(10000 + 2 * i);
        const std::string attempt = std::to_string(10001 + 2 * i);
        text += time + ("pppd[" + session + "]: Connect: ppp0 <--> eth0\n");
        text += time + ("pppd[" + attempt + "]: Connect script failed\n");
        text += time + ("pppd[" + session + "]: Connection terminated.\n");
    }
    const PppdLog log = readText(text);
    ASSERT_EQ(log.table.callCount(), 2 * kPairs);
    EXPECT_EQ(log.sessions, kPairs);
    EXPECT_EQ(log.failedAttempts, kPairs);
    for (int row = 0; row < 2 * kPairs; ++row) {
        const auto first = static_cast<std::uint64_t>(row / 2 * 3);
        const std::vector<std::uint64_t> lines = row % 2 == 0
                                                     ? std::vector<std::uint64_t>{first, first + 2}
                                                     : std::vector<std::uint64_t>{first + 1};
        ASSERT_EQ(log.table.cell(PppdColumn::Pid, row), std::to_string(10000 + row)) << row;
        ASSERT_EQ(log.table.cell(PppdColumn::EndedBy, row),
                  row % 2 == 0 ? "unknown" : "connect script")
            << row;
        ASSERT_EQ(std::vector<std::uint64_t>(log.linesOf(row).begin(), log.linesOf(row).end()),
                  lines)
            << row;
    }

    // Handed on row by row (made on another thread while they are taken),
    // the rows come in the same order with the same cells and lines.
    PppdReader reader(test::testOptions());
    test::feedText(reader, text);
    int row = 0;
    reader.finish([&](const BuiltRow& built, std::vector<std::uint64_t>& lines) {
        for (int column = 0; column < kPppdColumnCount; ++column) {
            ASSERT_EQ(built.cells[static_cast<std::size_t>(column)], log.table.cell(column, row))
                << row;
        }
        ASSERT_EQ(lines,
                  std::vector<std::uint64_t>(log.linesOf(row).begin(), log.linesOf(row).end()));
        ++row;
    });
    EXPECT_EQ(row, 2 * kPairs);
}

}  // namespace
}  // namespace kestal
