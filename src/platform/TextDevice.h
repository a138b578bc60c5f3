// The page layout of the printer text device, apart from any toolkit: text
// written to it is placed on pages the way a line printer would, in the
// current font of a drawing surface.
#pragma once

#include <cstddef>
#include <string_view>

namespace kestal {

// What the layout needs from a page surface, in device units. Text is
// single-byte; the surface decides how it is drawn (Latin-1 on Qt).
class TextSurface {
public:
    virtual ~TextSurface() = default;

    virtual int textWidth(std::string_view text) = 0;
    // The height of a piece of text as drawn in the current font.
    virtual int textHeight(std::string_view text) = 0;
    virtual int averageCharWidth() = 0;
    // The font's character height, used for a line without text.
    virtual int fontHeight() = 0;
    virtual int pageWidth() = 0;
    virtual int pageHeight() = 0;
    // Draws text with its top-left corner at (x, y).
    virtual void drawText(int x, int y, std::string_view text) = 0;
    // Ends the current page and begins the next.
    virtual void newPage() = 0;
};

// The write position on the page and the line being built. A new device
// starts at the top-left corner of its surface's first page.
class TextDevice {
public:
    explicit TextDevice(TextSurface& surface) : surface_(surface) {}

    // Writes bytes: tab, line feed, form feed and carriage return act as
    // control characters, every other byte is text.
    void write(std::string_view bytes);
    // text followed by a line end.
    void writeLine(std::string_view text);

    int x() const { return x_; }
    int y() const { return y_; }

    // Control actions, also used by write().
    void lineEnd();
    void newPage();
    void tab();

private:
    void writeText(std::string_view text);
    // The longest prefix of text that fits between the position and the
    // right edge.
    std::size_t fittingLength(std::string_view text);

    TextSurface& surface_;
    int x_ = 0;
    int y_ = 0;
    // Tallest text on the current line plus 2; 0 while the line has none.
    int lineHeight_ = 0;
};

}  // namespace kestal
