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
