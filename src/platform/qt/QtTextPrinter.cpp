#include "platform/qt/QtTextPrinter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRect>
#include <QString>
#include <memory>
#include <optional>

#include "platform/Errors.h"
#include "platform/TextDevice.h"
#include "platform/qt/Latin1.h"

namespace kestal {

namespace {

// The toolkit's default font; fontconfig picks what stands in for it.
constexpr const char* kDefaultFontName = "MS Sans Serif";
constexpr int kDefaultFontPoints = 8;

// A printer that exists but takes no job (its spool file can't be made or
// written) is not the same failure as having no printer.
constexpr const char* kCannotStartJob = "Cannot start the print job";
constexpr const char* kCannotFinishJob = "Cannot finish the print job";

// A page of the printer as the layout sees it: device units, origin at the
// top-left corner of the printable area.
class PrinterSurface : public TextSurface {
public:
    PrinterSurface(QPrinter& printer, QPainter& painter, const QRect& printable)
        : printer_(printer),
          painter_(painter),
          printable_(printable),
          metrics_(painter.fontMetrics()) {}

    // After the painter's font changed.
    void refreshMetrics() { metrics_ = painter_.fontMetrics(); }

    int textWidth(std::string_view text) override {
        return metrics_.horizontalAdvance(latin1(text));
    }
    int textHeight(std::string_view) override { return metrics_.height(); }
    int averageCharWidth() override { return metrics_.averageCharWidth(); }
    int fontHeight() override { return metrics_.height(); }
    int pageWidth() override { return printable_.width(); }
    int pageHeight() override { return printable_.height(); }

    void drawText(int x, int y, std::string_view text) override {
        // QPainter places text by its baseline; the layout by its top.
        painter_.drawText(printable_.left() + x, printable_.top() + y + metrics_.ascent(),
                          latin1(text));
    }

    void newPage() override { printer_.newPage(); }

private:
    QPrinter& printer_;
    QPainter& painter_;
    QRect printable_;
    QFontMetrics metrics_;
};

// One print job: the printer, the painter on it and the page layout.
struct Job {
    explicit Job(const QPrinterInfo& info) : printer(info, QPrinter::HighResolution) {}
    QPrinter printer;
    QPainter painter;
    std::optional<PrinterSurface> surface;
    std::optional<TextDevice> device;
};

class QtTextPrinter : public TextPrinter {
public:
    QtTextPrinter()
        : fontName_(kDefaultFontName),
          font_(QString::fromLatin1(kDefaultFontName), kDefaultFontPoints) {}

    ~QtTextPrinter() override { finishJob(); }

    void open() override {
        // A command that failed between open and close left its job
        // running; it ends here with what it printed.
        finishJob();
        const QPrinterInfo info = programPrinter();
        auto job = std::make_unique<Job>(info);
        job->printer.setDocName(QString());
        // The painter works on the whole sheet; the layout starts at the
        // printable area's corner itself.
        const QPageLayout layout = job->printer.pageLayout();
        const int resolution = job->printer.resolution();
        const QRect printable =
            layout.fullRectPixels(resolution).marginsRemoved(layout.marginsPixels(resolution));
        job->printer.setFullPage(true);
        if (!job->painter.begin(&job->printer)) throw CommandError(kCannotStartJob);
        job->painter.setFont(font_);
        job->surface.emplace(job->printer, job->painter, printable);
        job->device.emplace(*job->surface);
        job_ = std::move(job);
    }

    void setFontName(std::string_view name) override {
        fontName_ = std::string(name);
        font_.setFamily(latin1(name));
        if (job_) {
            job_->painter.setFont(font_);
            job_->surface->refreshMetrics();
        }
    }

    std::string fontName() const override { return fontName_; }

    void writeLine(std::string_view text) override {
        if (job_) job_->device->writeLine(text);
    }

    void close() override {
        if (!job_) return;
        const bool sent = finishJob();
        if (!sent) throw CommandError(kCannotFinishJob);
    }

private:
    // The system's default printer as found at the first job of the run.
    QPrinterInfo programPrinter() {
        if (printerName_.isEmpty()) {
            const QPrinterInfo info = QPrinterInfo::defaultPrinter();
            if (info.isNull()) throw noDefaultPrinter();
            printerName_ = info.printerName();
            return info;
        }
        const QPrinterInfo info = QPrinterInfo::printerInfo(printerName_);
        // The printer was removed since: there is none to print on.
        if (info.isNull()) throw noDefaultPrinter();
        return info;
    }

    // Ends the page and the job, which then goes to the printer.
    bool finishJob() {
        if (!job_) return true;
        job_->device.reset();
        job_->surface.reset();
        const bool sent = job_->painter.end();
        job_.reset();
        return sent;
    }

    std::string fontName_;
    QFont font_;
    QString printerName_;
    std::unique_ptr<Job> job_;
};

}  // namespace

std::unique_ptr<TextPrinter> createQtTextPrinter() { return std::make_unique<QtTextPrinter>(); }

}  // namespace kestal
