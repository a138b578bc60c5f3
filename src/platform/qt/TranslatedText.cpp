#include "platform/qt/TranslatedText.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>
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

// text matched against pattern, whose "%1", "%2"... stand for any text:
// the parts in the order of their numbers, or nothing when it doesn't match.
std::optional<QStringList> partsOf(const QString& text, const QString& pattern) {
    static const QRegularExpression placeholder(QStringLiteral("%([1-9])"));
    QString expression;
    QList<int> numbers;
    qsizetype from = 0;
    for (auto it = placeholder.globalMatch(pattern); it.hasNext();) {
        const QRegularExpressionMatch found = it.next();
        expression += QRegularExpression::escape(pattern.mid(from, found.capturedStart() - from));
        expression += QStringLiteral("(.+?)");
        numbers << found.captured(1).toInt();
        from = found.capturedEnd();
    }
    if (numbers.isEmpty()) return std::nullopt;
    expression += QRegularExpression::escape(pattern.mid(from));
    const QRegularExpression whole(QRegularExpression::anchoredPattern(expression),
                                   QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch found = whole.match(text);
    if (!found.hasMatch()) return std::nullopt;
    QStringList parts(numbers.size());
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        const qsizetype at = numbers[i] - 1;
        if (at >= parts.size()) return std::nullopt;
        parts[at] = found.captured(static_cast<int>(i + 1));
    }
    return parts;
}

// translation with its "%1", "%2"... replaced by parts, all at once (a part
// holding "%2" stays as it is).
QString withParts(const QString& translation, const QStringList& parts) {
    static const QRegularExpression placeholder(QStringLiteral("%([1-9])"));
    QString result;
    qsizetype from = 0;
    for (auto it = placeholder.globalMatch(translation); it.hasNext();) {
        const QRegularExpressionMatch found = it.next();
        result += translation.mid(from, found.capturedStart() - from);
        const qsizetype at = found.captured(1).toInt() - 1;
        result += at < parts.size() ? parts[at] : found.captured();
        from = found.capturedEnd();
    }
    return result + translation.mid(from);
}

// One line: whole, else by the first pattern it matches.
std::optional<QString> translatedLine(std::string_view text) {
    if (auto whole = lookUp(text)) return *whole;
    const QString shown = decoded(text);
    for (const std::string_view pattern : textPatterns) {
        const auto parts = partsOf(shown, decoded(pattern));
        if (!parts) continue;
        if (auto translated = lookUp(pattern)) return withParts(*translated, *parts);
    }
    return std::nullopt;
}

}  // namespace

void useTextPatterns(std::span<const std::string_view> patterns) { textPatterns = patterns; }

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

QString translatedText(std::string_view text) {
    if (text.empty()) return {};
    if (text.find("\r\n") == std::string_view::npos)
        return translatedLine(text).value_or(decoded(text));
    if (auto whole = lookUp(text)) return *whole;
    // A text of several lines (a warning and the files it is about): each
    // line by itself, as a pattern's part would otherwise swallow lines.
    QString result;
    std::size_t from = 0;
    while (true) {
        const std::size_t end = text.find("\r\n", from);
        const std::string_view line = text.substr(from, end - from);
        if (from > 0) result += QStringLiteral("\r\n");
        if (auto translated = line.empty() ? std::nullopt : translatedLine(line))
            result += *translated;
        else
            result += decoded(line);
        if (end == std::string_view::npos) break;
        from = end + 2;
    }
    return result;
}

}  // namespace kestal
