#include "PppdLineStyles.h"

#include <array>
#include <cstdio>
#include <ctime>
#include <utility>

namespace kestal::bench {

namespace {

constexpr std::array<std::pair<std::string_view, LineStyle>, 13> kStyleNames{{
    {"syslog", LineStyle::Syslog},
    {"busybox", LineStyle::BusyBox},
    {"openwrt", LineStyle::OpenWrt},
    {"rfc3339", LineStyle::Rfc3339},
    {"short-iso", LineStyle::ShortIso},
    {"short-iso-precise", LineStyle::ShortIsoPrecise},
    {"short-precise", LineStyle::ShortPrecise},
    {"short-full", LineStyle::ShortFull},
    {"json", LineStyle::Json},
    {"export", LineStyle::Export},
    {"bare", LineStyle::Bare},
    {"priority", LineStyle::Priority},
    {"mixed", LineStyle::Mixed},
}};

// The styles a mixed log takes its lines' prefixes from: those that print
// the same clock, with or without a year and an offset.
constexpr std::array<LineStyle, 8> kMixedStyles{
    LineStyle::Syslog,   LineStyle::BusyBox,         LineStyle::OpenWrt,      LineStyle::Rfc3339,
    LineStyle::ShortIso, LineStyle::ShortIsoPrecise, LineStyle::ShortPrecise, LineStyle::Priority};

constexpr std::array<std::string_view, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<std::string_view, 7> kWeekdays{"Sun", "Mon", "Tue", "Wed",
                                                    "Thu", "Fri", "Sat"};
constexpr std::string_view kHost = "gateway";

std::tm brokenDown(std::int64_t time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm parts{};
    gmtime_r(&t, &parts);
    return parts;
}

void appendf(std::string& out, const char* format, auto... values) {
    char buffer[96];
    const int n = std::snprintf(buffer, sizeof buffer, format, values...);
    if (n > 0) out.append(buffer, static_cast<std::size_t>(n));
}

void appendOffset(std::string& out, int offset, bool colon) {
    const char sign = offset < 0 ? '-' : '+';
    const int minutes = (offset < 0 ? -offset : offset) / 60;
    appendf(out, colon ? "%c%02d:%02d" : "%c%02d%02d", sign, minutes / 60, minutes % 60);
}

void appendIdent(std::string& out, const LogLineParts& line) {
    out.append(line.program);
    if (line.pid != 0) appendf(out, "[%ld]", line.pid);
    out.append(": ");
}

std::string_view facilityLevel(std::string_view program) {
    if (program == "kernel") return "kern.info";
    if (program == "pppd" || program == "chat") return "daemon.notice";
    return "daemon.info";
}

void appendIsoDate(std::string& out, const std::tm& t, char between) {
    appendf(out, "%04d-%02d-%02d%c%02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
            between, t.tm_hour, t.tm_min, t.tm_sec);
}

void appendJsonString(std::string& out, std::string_view text) {
    out.push_back('"');
    for (const char c : text) {
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
}

void appendJson(std::string& out, const LogLineParts& line, unsigned pick) {
    const std::int64_t utc = line.localTime - line.utcOffsetSeconds;
    appendf(out, "{\"__CURSOR\":\"s=5f1e;i=%x\",\"__REALTIME_TIMESTAMP\":\"%lld%06u\",", pick,
            static_cast<long long>(utc), line.microseconds);
    appendf(out, "\"PRIORITY\":\"%d\",\"_HOSTNAME\":\"%s\",\"SYSLOG_IDENTIFIER\":", 5,
            std::string(kHost).c_str());
    appendJsonString(out, line.program);
    if (line.pid != 0) appendf(out, ",\"_PID\":\"%ld\"", line.pid);
    out.append(",\"MESSAGE\":");
    if (pick % 7 == 3) {
        // The journal writes a message that isn't valid UTF-8 as its bytes.
        out.push_back('[');
        for (std::size_t i = 0; i < line.message.size(); ++i) {
            if (i > 0) out.push_back(',');
            appendf(out, "%u", static_cast<unsigned char>(line.message[i]));
        }
        out.push_back(']');
    } else {
        appendJsonString(out, line.message);
    }
    out.append("}\n");
}

// One entry of the journal export format: its fields a line each, a blank
// line after it. The boot changes now and then, as a journal's does.
void appendExport(std::string& out, const LogLineParts& line, unsigned pick) {
    const std::int64_t utc = line.localTime - line.utcOffsetSeconds;
    appendf(out, "__REALTIME_TIMESTAMP=%lld%06u\n__MONOTONIC_TIMESTAMP=%lld\n",
            static_cast<long long>(utc), line.microseconds, static_cast<long long>(utc % 100000));
    appendf(out, "_BOOT_ID=%032x\nPRIORITY=5\n_HOSTNAME=%s\nSYSLOG_IDENTIFIER=", pick / 50000,
            std::string(kHost).c_str());
    out.append(line.program);
    if (line.pid != 0) appendf(out, "\n_PID=%ld", line.pid);
    if (line.program == "pppd") out.append("\n_COMM=pppd");
    out.append("\nMESSAGE=");
    out.append(line.message);
    out.append("\n\n");
}

}  // namespace

std::optional<LineStyle> lineStyleNamed(std::string_view name) {
    for (const auto& [styleName, style] : kStyleNames)
        if (styleName == name) return style;
    return std::nullopt;
}

void appendLine(std::string& out, LineStyle style, const LogLineParts& line, unsigned pick) {
    if (style == LineStyle::Mixed) style = kMixedStyles[pick % kMixedStyles.size()];
    const std::tm t = brokenDown(line.localTime);
    const std::string_view month = kMonths[static_cast<std::size_t>(t.tm_mon)];
    const std::string_view weekday = kWeekdays[static_cast<std::size_t>(t.tm_wday)];
    switch (style) {
        case LineStyle::Priority:
            appendf(out, "<%d>", line.program == "kernel" ? 6 : 29);
            [[fallthrough]];
        case LineStyle::Syslog:
            appendf(out, "%s %2d %02d:%02d:%02d %s ", month.data(), t.tm_mday, t.tm_hour, t.tm_min,
                    t.tm_sec, kHost.data());
            break;
        case LineStyle::BusyBox:
            appendf(out, "%s %02d %02d:%02d:%02d %s %s ", month.data(), t.tm_mday, t.tm_hour,
                    t.tm_min, t.tm_sec, kHost.data(), facilityLevel(line.program).data());
            break;
        case LineStyle::OpenWrt:
            appendf(out, "%s %s %2d %02d:%02d:%02d %d %s ", weekday.data(), month.data(), t.tm_mday,
                    t.tm_hour, t.tm_min, t.tm_sec, t.tm_year + 1900,
                    facilityLevel(line.program).data());
            break;
        case LineStyle::Rfc3339:
            appendIsoDate(out, t, 'T');
            appendf(out, ".%06u", line.microseconds);
            appendOffset(out, line.utcOffsetSeconds, true);
            appendf(out, " %s ", kHost.data());
            break;
        case LineStyle::ShortIso:
        case LineStyle::ShortIsoPrecise:
            appendIsoDate(out, t, 'T');
            if (style == LineStyle::ShortIsoPrecise) appendf(out, ".%06u", line.microseconds);
            appendOffset(out, line.utcOffsetSeconds, pick % 2 == 0);
            appendf(out, " %s ", kHost.data());
            break;
        case LineStyle::ShortPrecise:
            appendf(out, "%s %02d %02d:%02d:%02d.%06u %s ", month.data(), t.tm_mday, t.tm_hour,
                    t.tm_min, t.tm_sec, line.microseconds, kHost.data());
            break;
        case LineStyle::ShortFull:
            appendf(out, "%s ", weekday.data());
            appendIsoDate(out, t, ' ');
            appendf(out, " %s %s ", line.utcOffsetSeconds == 0 ? "UTC" : "CET", kHost.data());
            break;
        case LineStyle::Json:
            appendJson(out, line, pick);
            return;
        case LineStyle::Export:
            appendExport(out, line, pick);
            return;
        case LineStyle::Bare:
        case LineStyle::Mixed:
            out.append(line.message);
            out.push_back('\n');
            return;
    }
    appendIdent(out, line);
    out.append(line.message);
    out.push_back('\n');
}

}  // namespace kestal::bench
