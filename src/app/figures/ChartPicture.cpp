#include "app/figures/ChartPicture.h"

#include <qcustomplot.h>

#include <QBuffer>
#include <QPdfWriter>
#include <QPicture>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSvgGenerator>
#include <string>

#include "commands/SaveDialog.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"

namespace kestal {

namespace {

bool endsWithLowerCase(std::string_view path, std::string_view suffix) {
    if (path.size() < suffix.size()) return false;
    for (std::size_t k = 0; k < suffix.size(); ++k) {
        char c = path[path.size() - suffix.size() + k];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[k]) return false;
    }
    return true;
}

// Draws the chart as lines and text, not as one bitmap.
void drawVectorized(QCustomPlot& chart, QPaintDevice& device, int width, int height) {
    QCPPainter painter(&device);
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    chart.toPainter(&painter, width, height);
}

}  // namespace

std::optional<PictureFormat> pictureFormatForPath(std::string_view path) {
    if (endsWithLowerCase(path, ".png")) return PictureFormat::Png;
    if (endsWithLowerCase(path, ".svg")) return PictureFormat::Svg;
    if (endsWithLowerCase(path, ".pdf")) return PictureFormat::Pdf;
    return std::nullopt;
}

QByteArray chartPicture(QCustomPlot& chart, PictureFormat format) {
    const int width = chart.width();
    const int height = chart.height();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
        case PictureFormat::Png:
            chart.toPixmap(width, height).save(&buffer, "PNG");
            break;
        case PictureFormat::Svg: {
            QSvgGenerator svg;
            svg.setOutputDevice(&buffer);
            svg.setSize(QSize(width, height));
            svg.setViewBox(QRect(0, 0, width, height));
            svg.setTitle(QStringLiteral("Kestal File Viewer"));
            drawVectorized(chart, svg, width, height);
            break;
        }
        case PictureFormat::Pdf: {
            QPdfWriter pdf(&buffer);
            pdf.setCreator(QStringLiteral("Kestal File Viewer"));
            pdf.setResolution(96);
            // 96 pixels to the inch are 72 points.
            pdf.setPageSize(QPageSize(QSizeF(width * 0.75, height * 0.75), QPageSize::Point));
            pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            drawVectorized(chart, pdf, width, height);
            break;
        }
    }
    return bytes;
}

void saveChartPicture(QCustomPlot& chart, Platform& platform, FileDialog& dialog) {
    setUpSaveDialog(dialog, kSavePictureFilter, "png");
    if (!platform.executeFileDialog(dialog)) return;
    const std::optional<PictureFormat> format = pictureFormatForPath(dialog.fileName);
    if (!format) {
        platform.messageDlg(kNoPictureFormatWarning, DialogType::Warning, DialogButtons::Ok);
        return;
    }
    const QByteArray bytes = chartPicture(chart, *format);
    TextFileWriter out(TextFileWriter::Errors::InOut);
    out.create(dialog.fileName);
    out.write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    out.close();
}

void printChart(QCustomPlot& chart, QPrinter& printer) {
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QStringLiteral("Kestal File Viewer"));
    // Drawn first at the screen's resolution, where its fonts were sized,
    // then played on the page scaled up as a whole: drawn on the printer
    // straight away, its texts would take the printer's far higher
    // resolution on top of the scale.
    const int width = chart.width();
    const int height = chart.height();
    QPicture picture;
    {
        QCPPainter recorder;
        if (!recorder.begin(&picture)) throw CommandError("The chart could not be printed");
        recorder.setMode(QCPPainter::pmVectorized);
        recorder.setMode(QCPPainter::pmNoCaching);
        chart.toPainter(&recorder, width, height);
        recorder.end();
    }
    QPainter painter;
    if (!painter.begin(&printer)) throw CommandError("The chart could not be printed");
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    // The picture plays at the printer's resolution by itself.
    const double scale = std::min(page.width() / width, page.height() / height) *
                         picture.logicalDpiX() / printer.logicalDpiX();
    painter.scale(scale, scale);
    painter.drawPicture(0, 0, picture);
    if (!painter.end()) throw CommandError("The chart could not be printed");
}

void printChartOnDefaultPrinter(QCustomPlot& chart) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) throw noDefaultPrinter();
    QPrinter printer(info, QPrinter::HighResolution);
    printChart(chart, printer);
}

}  // namespace kestal
