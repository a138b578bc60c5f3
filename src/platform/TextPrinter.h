// The program's printer used as a text device: lines of text written to it
// are laid out on pages like text written to a file.
#pragma once

#include <string>
#include <string_view>

namespace kestal {

class TextPrinter {
public:
    virtual ~TextPrinter() = default;

    // Starts a print job with an empty document title on the program's
    // printer and begins the first page. Throws CommandError
    // (noDefaultPrinter()) when there is no default printer.
    virtual void open() = 0;
    // Sets the printer font's name; the size stays. The font belongs to the
    // printer and stays for later jobs.
    virtual void setFontName(std::string_view name) = 0;
    virtual std::string fontName() const = 0;
    // Writes text followed by a line end.
    virtual void writeLine(std::string_view text) = 0;
    // Ends the last page and the job, which the printer then prints.
    virtual void close() = 0;
};

}  // namespace kestal
