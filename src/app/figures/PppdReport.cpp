#include "app/figures/PppdReport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPdfWriter>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <memory>

#include "app/figures/PppdCharts.h"
#include "output/Outages.h"
#include "output/PppdStatistics.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"

namespace kestal {

// The report's texts in the user's language (kestal-calls loads no
// catalogue: its reports are in English).
struct PppdReport {
    Q_DECLARE_TR_FUNCTIONS(kestal::PppdReport)
};

namespace {

constexpr const char* kNotWritten =
    QT_TRANSLATE_NOOP("kestal::Messages", "The report could not be written");

// The page in pixels of 96 to the inch (A4 across), where the charts draw
// as they do on screen.
constexpr int kDpi = 96;
constexpr double kMargin = 48;
constexpr double kFooter = 24;
constexpr double kRowGap = 4;

template <std::size_t N>
std::vector<std::string> cellsOf(const std::array<std::string, N>& row) {
    return {row.begin(), row.end()};
}

template <std::size_t N>
std::vector<std::string> cellsOf(const std::array<std::string_view, N>& row) {
    return {row.begin(), row.end()};
}

// As the table writes times: MM-DD-YYYY hh:mm:ss.
std::string timeText(std::int64_t seconds) {
    using namespace std::chrono;
    const sys_seconds time{std::chrono::seconds(seconds)};
    const sys_days day = floor<days>(time);
    const year_month_day date(day);
    const hh_mm_ss clock(time - day);
    char text[64];
    std::snprintf(text, sizeof text, "%02u-%02u-%04d %02ld:%02ld:%02ld",
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(date.year()), static_cast<long>(clock.hours().count()),
                  static_cast<long>(clock.minutes().count()),
                  static_cast<long>(clock.seconds().count()));
    return text;
}

QString text(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A table's column titles as the Statistics window shows them.
QStringList headerTexts(const ReportTable& table) {
    QStringList titles;
    for (const std::string& title : table.header)
        titles << QCoreApplication::translate("kestal::Statistics", title.c_str());
    return titles;
}

QFont font(double points, bool bold = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// A table's cells set without the text shaper, which would take most of
// the report's time: a cell is Latin-1, a character one glyph, and where a
// character's glyph starts after the one before comes from shaping that
// pair once (its kerning included). The glyphs of a page's cells go to the
// PDF as one glyph run; a cell with a pair the shaper joins or sets in
// another font is drawn as text.
class CellGlyphs {
public:
    CellGlyphs(const QFont& font, QPaintDevice* device)
        : font_(font, device), metrics_(font_), pairs_(256 * 256) {
        const QList<QGlyphRun> runs = shaped(QStringLiteral("0"));
        if (!runs.isEmpty()) raw_ = runs.front().rawFont();
    }

    // The cell's width, as the shaped text's.
    double width(std::string_view cell) {
        if (cell.empty()) return 0;
        if (!plain(cell)) return metrics_.horizontalAdvance(text(cell));
        double x = 0;
        for (std::size_t i = 1; i < cell.size(); ++i) x += pair(cell[i - 1], cell[i]).advance;
        return x + advance(cell.back());
    }

    // Adds the cell's glyphs, the first at origin on the baseline; false
    // when the cell has to be drawn as text.
    bool add(std::string_view cell, QPointF origin) {
        if (!plain(cell)) return false;
        for (std::size_t i = 0; i < cell.size(); ++i) {
            if (i > 0) origin.rx() += pair(cell[i - 1], cell[i]).advance;
            glyphs_.push_back(glyph(cell[i]));
            positions_.push_back(origin);
        }
        return true;
    }

    // Draws the glyphs added since the last time.
    void draw(QPainter& painter) {
        if (glyphs_.isEmpty()) return;
        QGlyphRun run;
        run.setRawFont(raw_);
        run.setGlyphIndexes(glyphs_);
        run.setPositions(positions_);
        painter.drawGlyphRun(QPointF(0, 0), run);
        glyphs_.clear();
        positions_.clear();
    }

private:
    struct Pair {
        bool known = false;
        bool apart = false;  // shaped as the two characters' own glyphs
        double advance = 0;  // from the first glyph's start to the second's
    };

    static QString text(std::string_view bytes) {
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }

    QList<QGlyphRun> shaped(const QString& text) const {
        QTextLayout layout(text, font_);
        layout.beginLayout();
        layout.createLine().setLineWidth(1e6);
        layout.endLayout();
        return layout.glyphRuns();
    }

    // Whether every character has a glyph of the font and every pair of
    // them is shaped as those glyphs.
    bool plain(std::string_view cell) {
        if (!raw_.isValid()) return false;
        for (std::size_t i = 0; i < cell.size(); ++i) {
            if (glyph(cell[i]) == 0) return false;
            if (i > 0 && !pair(cell[i - 1], cell[i]).apart) return false;
        }
        return true;
    }

    quint32 glyph(char c) {
        auto& known = ownGlyphs_[static_cast<unsigned char>(c)];
        if (!known) {
            const QList<quint32> indexes =
                raw_.glyphIndexesForString(text(std::string_view(&c, 1)));
            known = indexes.size() == 1 ? indexes.front() : 0;
        }
        return *known;
    }

    double advance(char c) {
        auto& known = advances_[static_cast<unsigned char>(c)];
        if (!known) known = metrics_.horizontalAdvance(text(std::string_view(&c, 1)));
        return *known;
    }

    const Pair& pair(char a, char b) {
        Pair& step = pairs_[static_cast<unsigned char>(a) * 256 + static_cast<unsigned char>(b)];
        if (step.known) return step;
        step.known = true;
        const char both[] = {a, b};
        const QList<QGlyphRun> runs = shaped(text(std::string_view(both, 2)));
        if (runs.size() != 1 || !(runs.front().rawFont() == raw_)) return step;
        const QList<quint32> indexes = runs.front().glyphIndexes();
        const QList<QPointF> at = runs.front().positions();
        step.apart = indexes.size() == 2 && at.size() == 2 && indexes[0] == glyph(a) &&
                     indexes[1] == glyph(b);
        if (step.apart) step.advance = at[1].x() - at[0].x();
        return step;
    }

    QFont font_;
    QFontMetricsF metrics_;
    QRawFont raw_;
    std::vector<Pair> pairs_;
    std::array<std::optional<quint32>, 256> ownGlyphs_;
    std::array<std::optional<double>, 256> advances_;
    QList<quint32> glyphs_;
    QList<QPointF> positions_;
};

// A table's rows cut into pages, and the columns' widths on the page.
struct TableLayout {
    QStringList titles;  // the columns' titles
    std::vector<double> widths;
    double headerHeight = 0;
    double rowHeight = 0;
    int rowsPerPage = 1;
    int pages = 1;
};

class ReportWriter {
public:
    ReportWriter(const PppdReportContent& content, QPdfWriter& pdf)
        : content_(content), pdf_(pdf), smallCells_(font(8), &pdf), cells_(font(9), &pdf) {
        page_ = QRectF(0, 0, pdf.width(), pdf.height());
        body_ = page_.adjusted(kMargin, kMargin, -kMargin, -kMargin - kFooter);
        statistics_ = layOut(content.statistics, smallCells_, font(8), font(8, true));
        endings_ = layOut(content.endings, smallCells_, font(8), font(8, true));
        outages_ = layOut(content.outages, cells_, font(9), font(9, true));
        pages_ = 2 + statistics_.pages + endings_.pages + outages_.pages;
    }

    void write() {
        if (!painter_.begin(&pdf_)) throw CommandError(kNotWritten);
        firstPage();
        newPage();
        chartPage(PppdReport::tr("Drops by Weekday and Hour of Day"), Chart::DropMap);
        tablePages(PppdReport::tr("Statistics by Day"), content_.statistics, statistics_,
                   smallCells_, font(8), font(8, true));
        tablePages(PppdReport::tr("How Sessions and Attempts Ended, by Day"), content_.endings,
                   endings_, smallCells_, font(8), font(8, true));
        tablePages(PppdReport::tr("Outages"), content_.outages, outages_, cells_, font(9),
                   font(9, true));
        if (!painter_.end()) throw CommandError(kNotWritten);
    }

private:
    enum class Chart { PerDay, DropMap };

    TableLayout layOut(const ReportTable& table, CellGlyphs& glyphs, const QFont& cellFont,
                       const QFont& headerFont) {
        TableLayout layout;
        layout.titles = headerTexts(table);
        const QFontMetricsF cells(cellFont, &pdf_);
        const QFontMetricsF headers(headerFont, &pdf_);
        const std::size_t columns = table.header.size();
        std::vector<double> widest(columns, 0);
        int headerLines = 1;
        for (std::size_t c = 0; c < columns; ++c) {
            // A header breaks between its words: its longest word counts.
            const QStringList words =
                layout.titles[static_cast<qsizetype>(c)].split(QLatin1Char(' '));
            headerLines = std::max(headerLines, static_cast<int>(words.size()));
            for (const QString& word : words)
                widest[c] = std::max(widest[c], headers.horizontalAdvance(word));
        }
        for (const auto& row : table.rows) {
            for (std::size_t c = 0; c < std::min(columns, row.size()); ++c)
                widest[c] = std::max(widest[c], glyphs.width(row[c]));
        }
        double total = 0;
        for (double& width : widest) total += (width += 8);
        const double scale = total > 0 ? body_.width() / total : 1;
        for (const double width : widest) layout.widths.push_back(width * std::min(scale, 1.6));
        layout.headerHeight = headers.height() * std::min(headerLines, 3) + kRowGap * 2;
        layout.rowHeight = cells.height() + kRowGap;
        const double room = body_.height() - titleHeight() - layout.headerHeight;
        layout.rowsPerPage = std::max(1, static_cast<int>(room / layout.rowHeight));
        const auto rows = static_cast<int>(table.rows.size());
        layout.pages = std::max(1, (rows + layout.rowsPerPage - 1) / layout.rowsPerPage);
        return layout;
    }

    double titleHeight() const { return QFontMetricsF(font(14, true), &pdf_).height() + 12; }

    void newPage() {
        if (!pdf_.newPage()) throw CommandError(kNotWritten);
    }

    // The page's title; the log's name and the page number below.
    double titled(const QString& title) {
        ++pageNumber_;
        painter_.setPen(Qt::black);
        painter_.setFont(font(14, true));
        painter_.drawText(
            body_.topLeft() + QPointF(0, QFontMetricsF(font(14, true), &pdf_).ascent()), title);
        painter_.setFont(font(8));
        const QRectF footer(body_.left(), page_.bottom() - kMargin - kFooter / 2, body_.width(),
                            kFooter);
        painter_.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter, text(content_.logName));
        painter_.drawText(footer, Qt::AlignRight | Qt::AlignVCenter,
                          PppdReport::tr("Page %1 of %2").arg(pageNumber_).arg(pages_));
        return body_.top() + titleHeight();
    }

    void firstPage() {
        double y = titled(PppdReport::tr("Connection Report"));
        painter_.setFont(font(10));
        const QFontMetricsF metrics(font(10), &pdf_);
        const QString lines[] = {
            PppdReport::tr("Log: %1").arg(text(content_.logName)),
            PppdReport::tr("Span: %1")
                .arg(content_.firstTime.empty()
                         ? QStringLiteral("-")
                         : PppdReport::tr("%1 to %2")
                               .arg(text(content_.firstTime), text(content_.lastTime))),
            PppdReport::tr("Sessions: %1    Drops: %2    Failed attempts: %3    Outages: %4")
                .arg(content_.sessions)
                .arg(content_.drops)
                .arg(content_.failedAttempts)
                .arg(content_.outages.rows.size()),
        };
        for (const QString& line : lines) {
            painter_.drawText(QPointF(body_.left(), y + metrics.ascent()), line);
            y += metrics.height() + 4;
        }
        drawChart(Chart::PerDay,
                  QRectF(body_.left(), y + 8, body_.width(), body_.bottom() - y - 8));
    }

    void chartPage(const QString& title, Chart which) {
        const double y = titled(title);
        drawChart(which, QRectF(body_.left(), y, body_.width(), body_.bottom() - y));
    }

    void drawChart(Chart which, const QRectF& area) {
        // Drawn by the window's own charts, at a size the screen would give.
        TrendChart* chart =
            which == Chart::PerDay ? makePppdPerDayChart(nullptr) : makePppdDropMapChart(nullptr);
        const std::unique_ptr<TrendChart> owned(chart);
        const int width = static_cast<int>(area.width());
        const int height = static_cast<int>(area.height());
        chart->resize(width, height);
        PppdDayBars bars;
        if (which == Chart::PerDay) {
            bars = fillPppdPerDayChart(*chart, content_.trends);
            QObject::connect(chart, &QCustomPlot::afterLayout, [&bars] { bars.thin(); });
        } else {
            fillPppdDropMapChart(*chart, content_.trends);
        }
        painter_.save();
        painter_.translate(area.topLeft());
        painter_.setMode(QCPPainter::pmVectorized);
        painter_.setMode(QCPPainter::pmNoCaching);
        chart->toPainter(&painter_, width, height);
        painter_.restore();
    }

    void tablePages(const QString& title, const ReportTable& table, const TableLayout& layout,
                    CellGlyphs& glyphs, const QFont& cellFont, const QFont& headerFont) {
        const auto rows = static_cast<int>(table.rows.size());
        for (int page = 0; page < layout.pages; ++page) {
            newPage();
            double y = titled(page == 0 ? title : PppdReport::tr("%1 (continued)").arg(title));
            painter_.setFont(headerFont);
            double x = body_.left();
            for (std::size_t c = 0; c < table.header.size(); ++c) {
                painter_.drawText(QRectF(x, y, layout.widths[c] - 4, layout.headerHeight),
                                  Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap,
                                  layout.titles[static_cast<qsizetype>(c)]);
                x += layout.widths[c];
            }
            y += layout.headerHeight;
            painter_.drawLine(QPointF(body_.left(), y), QPointF(x, y));
            painter_.setFont(cellFont);
            if (rows == 0) {
                painter_.drawText(QRectF(body_.left(), y, body_.width(), layout.rowHeight),
                                  Qt::AlignLeft | Qt::AlignVCenter, PppdReport::tr("None."));
            }
            const int first = page * layout.rowsPerPage;
            // Every cell fits its column (the widths were taken from them):
            // drawn at its baseline, without the layout a rectangle asks for.
            const QFontMetricsF metrics(cellFont, &pdf_);
            const double baseline = (layout.rowHeight + metrics.ascent() - metrics.descent()) / 2;
            for (int r = first; r < std::min(rows, first + layout.rowsPerPage); ++r) {
                x = body_.left();
                const auto& row = table.rows[static_cast<std::size_t>(r)];
                for (std::size_t c = 0; c < std::min(row.size(), layout.widths.size()); ++c) {
                    const QPointF origin(x, y + baseline);
                    if (!row[c].empty() && !glyphs.add(row[c], origin))
                        painter_.drawText(origin, text(row[c]));
                    x += layout.widths[c];
                }
                y += layout.rowHeight;
            }
            glyphs.draw(painter_);
        }
    }

    const PppdReportContent& content_;
    QPdfWriter& pdf_;
    QCPPainter painter_;
    CellGlyphs smallCells_, cells_;  // the statistics' and the outages'
    QRectF page_, body_;
    TableLayout statistics_, endings_, outages_;
    int pages_ = 0;
    int pageNumber_ = 0;
};

}  // namespace

PppdReportContent pppdReportContent(std::string logName, const CallTable& table,
                                    const LogSpan& span) {
    PppdReportContent content;
    content.logName = std::move(logName);
    if (span.first && span.last) {
        content.firstTime = timeText(span.first->clock);
        content.lastTime = timeText(span.last->clock);
    }
    std::vector<int> rows;
    if (table.callCount() > 0) {
        for (int row = 0; row < table.rowCount(); ++row) rows.push_back(row);
    }
    std::optional<std::int64_t> end;
    if (span.last) end = span.last->clock;
    content.trends = pppdTrends(table, rows, end);
    for (const int row : rows) {
        const std::uint32_t marks = table.marks(row);
        if (marks & kSessionMark) ++content.sessions;
        if (marks & kFailedAttemptMark) ++content.failedAttempts;
        if (marks & kDroppedMark) ++content.drops;
    }
    // Too many columns for one page across: the figures, then the endings
    // (each with its period).
    const std::vector<std::string> header = cellsOf(kPppdStatisticsHeaders);
    const auto endings = header.begin() + kFirstEndedByFigure;
    content.statistics.header.assign(header.begin(), endings);
    content.endings.header.assign(endings, header.end());
    content.endings.header.insert(content.endings.header.begin(), header.front());
    for (const PppdStatisticsRow& day :
         pppdStatisticsOf(table, rows, StatisticsPeriod::Day, span)) {
        const auto first = day.begin() + kFirstEndedByFigure;
        content.statistics.rows.emplace_back(day.begin(), first);
        std::vector<std::string> ended{day.front()};
        ended.insert(ended.end(), first, day.end());
        content.endings.rows.push_back(std::move(ended));
    }
    content.outages.header = cellsOf(kOutageHeaders);
    if (table.callCount() > 0) {
        for (const Outage& outage : outagesOf(table))
            content.outages.rows.push_back(cellsOf(outageRow(table, outage)));
    }
    return content;
}

QByteArray pppdReportPdf(const PppdReportContent& content) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QStringLiteral("Kestal File Viewer"));
        pdf.setTitle(PppdReport::tr("Connection Report"));
        pdf.setResolution(kDpi);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        ReportWriter(content, pdf).write();
    }
    return bytes;
}

void writePppdReport(const PppdReportContent& content, const std::string& path) {
    const QByteArray bytes = pppdReportPdf(content);
    TextFileWriter out(TextFileWriter::Errors::InOut);
    out.create(path);
    out.write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    out.close();
}

}  // namespace kestal
