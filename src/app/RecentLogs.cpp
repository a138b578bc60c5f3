#include "app/RecentLogs.h"

#include <QByteArray>
#include <QSettings>
#include <QVariant>
#include <algorithm>

#include "commands/Messages.h"

namespace kestal {

namespace {

// Paths are kept as bytes: a file name need not be valid text.
const QString kKey = QStringLiteral("RecentLogs");

QSettings settings() { return QSettings(QStringLiteral("Kestal"), QStringLiteral("Kestal")); }

}  // namespace

std::string missingRecentLogText(const std::string& path) {
    return withPart(kRecentLogMissing, path);
}

std::string recentEntryOf(const std::vector<std::string>& paths) {
    if (paths.size() == 1) return paths.front();
    std::string entry;
    for (const std::string& path : paths) {
        entry += path;
        entry += '\0';
    }
    return entry;
}

std::vector<std::string> filesOfRecentEntry(const std::string& entry) {
    if (entry.find('\0') == std::string::npos) return {entry};
    std::vector<std::string> files;
    std::size_t from = 0;
    for (std::size_t end; (end = entry.find('\0', from)) != std::string::npos; from = end + 1) {
        if (end > from) files.push_back(entry.substr(from, end - from));
    }
    return files;
}

RecentLogs::RecentLogs() {
    for (const QVariant& value : settings().value(kKey).toList()) {
        const QByteArray path = value.toByteArray();
        if (!path.isEmpty() && paths_.size() < kMaximum) paths_.push_back(path.toStdString());
    }
}

void RecentLogs::add(const std::string& path) {
    std::erase(paths_, path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kMaximum) paths_.resize(kMaximum);
    save();
}

void RecentLogs::remove(const std::string& path) {
    std::erase(paths_, path);
    save();
}

void RecentLogs::save() const {
    QVariantList values;
    for (const std::string& path : paths_)
        values.push_back(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
    settings().setValue(kKey, values);
}

}  // namespace kestal
