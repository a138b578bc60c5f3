#include "app/figures/PppdReport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <algorithm>
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
    ReportWriter(const PppdReportContent& content, QPdfWriter& pdf) : content_(content), pdf_(pdf) {
        page_ = QRectF(0, 0, pdf.width(), pdf.height());
        body_ = page_.adjusted(kMargin, kMargin, -kMargin, -kMargin - kFooter);
        statistics_ = layOut(content.statistics, font(8), font(8, true));
        endings_ = layOut(content.endings, font(8), font(8, true));
        outages_ = layOut(content.outages, font(9), font(9, true));
        pages_ = 2 + statistics_.pages + endings_.pages + outages_.pages;
    }

    void write() {
        if (!painter_.begin(&pdf_)) throw CommandError(kNotWritten);
        firstPage();
        newPage();
        chartPage(PppdReport::tr("Drops by Weekday and Hour of Day"), Chart::DropMap);
        tablePages(PppdReport::tr("Statistics by Day"), content_.statistics, statistics_, font(8),
                   font(8, true));
        tablePages(PppdReport::tr("How Sessions and Attempts Ended, by Day"), content_.endings,
                   endings_, font(8), font(8, true));
        tablePages(PppdReport::tr("Outages"), content_.outages, outages_, font(9), font(9, true));
        if (!painter_.end()) throw CommandError(kNotWritten);
    }

private:
    enum class Chart { PerDay, DropMap };

    TableLayout layOut(const ReportTable& table, const QFont& cellFont, const QFont& headerFont) {
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
                widest[c] = std::max(widest[c], cells.horizontalAdvance(text(row[c])));
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
                    const QFont& cellFont, const QFont& headerFont) {
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
                    if (!row[c].empty()) painter_.drawText(QPointF(x, y + baseline), text(row[c]));
                    x += layout.widths[c];
                }
                y += layout.rowHeight;
            }
        }
    }

    const PppdReportContent& content_;
    QPdfWriter& pdf_;
    QCPPainter painter_;
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
