// A chart as a picture file (PNG, SVG or PDF, chosen by the file name) and
// on paper.
#pragma once

#include <QByteArray>
#include <optional>
#include <string_view>

#include "platform/Platform.h"

class QCustomPlot;
class QPrinter;

namespace kestal {

enum class PictureFormat { Png, Svg, Pdf };

inline constexpr std::string_view kSavePictureFilter = QT_TRANSLATE_NOOP(
    "kestal::Messages",
    "PNG Picture (*.png)|*.png|SVG Drawing (*.svg)|*.svg|PDF Document (*.pdf)|*.pdf");
inline constexpr std::string_view kNoPictureFormatWarning = QT_TRANSLATE_NOOP(
    "kestal::Messages", "The picture was not saved: the file name must end in .png, .svg or .pdf.");

// The format a file name ends in, without regard to letter case.
std::optional<PictureFormat> pictureFormatForPath(std::string_view path);

// The chart drawn at its size on screen; SVG and PDF as lines and text.
QByteArray chartPicture(QCustomPlot& chart, PictureFormat format);

// Save Picture As: asks for the file through the platform and writes it.
// A file that can't be written throws, for the general error report.
void saveChartPicture(QCustomPlot& chart, Platform& platform, FileDialog& dialog);

// The chart on one landscape page, as large as the page allows.
void printChart(QCustomPlot& chart, QPrinter& printer);
// The same on the system's default printer; throws when there is none.
void printChartOnDefaultPrinter(QCustomPlot& chart);

}  // namespace kestal
