#include "platform/qt/TranslatedText.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringDecoder>
#include <QTranslator>
#include <optional>

namespace kestal {

namespace {

std::span<const std::string_view> textPatterns;

QString decoded(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (utf8.hasError())
        text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return text;
}

// The catalogue's translation of source, or nothing when it has none.
std::optional<QString> lookUp(std::string_view source) {
    if (QCoreApplication::instance() == nullptr) return std::nullopt;
    const QByteArray key(source.data(), static_cast<qsizetype>(source.size()));
    const QString found = QCoreApplication::translate(kMessageContext, key.constData());
    if (found == QString::fromUtf8(key)) return std::nullopt;
    return found;
}

}  // namespace

bool loadCatalogue(const std::string& language) {
    if (language.empty() || language == "en") return false;
    auto* own = new QTranslator(QCoreApplication::instance());
    if (!own->load(QStringLiteral(":/i18n/kestal_%1.qm").arg(QString::fromStdString(language)))) {
        delete own;
        return false;
    }
    QCoreApplication::installTranslator(own);
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(QStringLiteral("qtbase_%1").arg(QString::fromStdString(language)),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    return true;
}

void useTextPatterns(std::span<const std::string_view> patterns) { textPatterns = patterns; }

QString translatedText(std::string_view text) {
    if (text.empty()) return {};
    if (auto whole = lookUp(text)) return *whole;
    for (const std::string_view pattern : textPatterns) {
        const std::size_t at = pattern.find("%1");
        if (at == std::string_view::npos) continue;
        const std::string_view before = pattern.substr(0, at);
        const std::string_view after = pattern.substr(at + 2);
        if (text.size() <= before.size() + after.size() || !text.starts_with(before) ||
            !text.ends_with(after))
            continue;
        if (auto translated = lookUp(pattern)) {
            const std::string_view part =
                text.substr(before.size(), text.size() - before.size() - after.size());
            return translated->arg(decoded(part));
        }
    }
    return decoded(text);
}

}  // namespace kestal
