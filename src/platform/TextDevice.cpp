#include "platform/TextDevice.h"

#include <algorithm>

namespace kestal {

void TextDevice::write(std::string_view bytes) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\t' && c != '\n' && c != '\f' && c != '\r') continue;
        writeText(bytes.substr(start, i - start));
        start = i + 1;
        switch (c) {
            case '\t':
                tab();
                break;
            case '\n':
                lineEnd();
                break;
            case '\f':
                newPage();
                break;
            default:
                break;  // a carriage return alone moves nothing
        }
    }
    writeText(bytes.substr(start));
}

void TextDevice::writeLine(std::string_view text) {
    write(text);
    lineEnd();
}

void TextDevice::lineEnd() {
    x_ = 0;
    y_ += lineHeight_ > 0 ? lineHeight_ : surface_.fontHeight();
    // A line without text (height 0) breaks the page only below its bottom.
    if (y_ > surface_.pageHeight() - 2 * lineHeight_) newPage();
    lineHeight_ = 0;
}

void TextDevice::newPage() {
    surface_.newPage();
    x_ = 0;
    y_ = 0;
    lineHeight_ = 0;
}

void TextDevice::tab() {
    const int stop = std::max(1, surface_.averageCharWidth() * 8);
    // The next stop lying more than one unit to the right.
    x_ = ((x_ + 1) / stop + 1) * stop;
    if (x_ > surface_.pageWidth()) lineEnd();
}

std::size_t TextDevice::fittingLength(std::string_view text) {
    const int room = surface_.pageWidth() - x_;
    if (surface_.textWidth(text) <= room) return text.size();
    // Widths grow with the length: search the longest prefix that fits.
    std::size_t fits = 0;
    std::size_t tooLong = text.size();
    while (tooLong - fits > 1) {
        const std::size_t middle = fits + (tooLong - fits) / 2;
        if (surface_.textWidth(text.substr(0, middle)) <= room)
            fits = middle;
        else
            tooLong = middle;
    }
    return fits;
}

void TextDevice::writeText(std::string_view text) {
    while (!text.empty()) {
        std::size_t length = fittingLength(text);
        // A character wider than the whole page still goes out, cut by the
        // edge; waiting for a line on which it fits would never end.
        if (length == 0 && x_ == 0) length = 1;
        if (length > 0) {
            const std::string_view piece = text.substr(0, length);
            const int height = surface_.textHeight(piece);
            // Empty lines only break the page below its bottom, so a run of
            // them can leave the position too low for a line of text: that
            // text goes to the next page rather than off the paper.
            if (y_ > 0 && y_ + height > surface_.pageHeight()) {
                surface_.newPage();
                y_ = 0;
            }
            surface_.drawText(x_, y_, piece);
            lineHeight_ = std::max(lineHeight_, height + 2);
            x_ += surface_.textWidth(piece);
            text.remove_prefix(length);
        }
        if (!text.empty()) lineEnd();
    }
}

}  // namespace kestal
