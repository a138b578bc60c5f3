// The printer text device's layout, and the table printout fed into it: on
// any page and font metrics, every text byte is drawn exactly once and in
// order, nothing is drawn past the right or bottom edge (but a single
// character wider or taller than the page, at the edge), and pieces of text
// never overlap or go back up the page.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "calls/DialUpColumns.h"
#include "output/Printouts.h"
#include "platform/TextDevice.h"

using namespace kestal;
using kestal::fuzz::check;

namespace {

// A page whose metrics come from the fuzz input. Widths add up by character,
// bytes from 0x80 up are taller, like accented capitals.
class FuzzSurface : public TextSurface {
public:
    int charWidths[4] = {1, 1, 1, 1};
    int average = 1;
    int height = 10;
    int tallExtra = 0;
    int width = 100;
    int pageHigh = 100;

    struct Piece {
        int page, x, y;
        std::string text;
    };
    std::vector<Piece> pieces;
    int pages = 1;

    int textWidth(std::string_view text) override {
        long long sum = 0;
        for (unsigned char c : text) sum += charWidths[c % 4];
        return static_cast<int>(std::min<long long>(sum, 1 << 30));
    }
    int textHeight(std::string_view text) override {
        const bool tall =
            std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
        return height + (tall ? tallExtra : 0);
    }
    int averageCharWidth() override { return average; }
    int fontHeight() override { return height; }
    int pageWidth() override { return width; }
    int pageHeight() override { return pageHigh; }
    void drawText(int x, int y, std::string_view text) override {
        pieces.push_back(Piece{pages, x, y, std::string(text)});
    }
    void newPage() override { ++pages; }
};

bool isControl(char c) { return c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

void checkLayout(FuzzSurface& surface, std::string_view written) {
    std::string drawn;
    const FuzzSurface::Piece* previous = nullptr;
    for (const FuzzSurface::Piece& piece : surface.pieces) {
        check(!piece.text.empty(), "empty piece drawn");
        const int w = surface.textWidth(piece.text);
        const int h = surface.textHeight(piece.text);
        check(piece.x >= 0 && piece.y >= 0, "drawn above or left of the page", piece.text);
        check(piece.x + w <= surface.width || (piece.x == 0 && piece.text.size() == 1),
              "drawn past the right edge", piece.text);
        check(piece.y + h <= surface.pageHigh || piece.y == 0, "drawn past the bottom", piece.text);
        for (char c : piece.text) check(!isControl(c), "control character drawn", piece.text);
        if (previous && previous->page == piece.page) {
            check(piece.y >= previous->y, "went back up the page", piece.text);
            if (piece.y == previous->y) {
                check(piece.x >= previous->x + surface.textWidth(previous->text), "pieces overlap",
                      piece.text);
            }
        }
        check(!previous || piece.page >= previous->page, "went back a page");
        drawn += piece.text;
        previous = &piece;
    }
    std::string expected;
    for (char c : written) {
        if (!isControl(c)) expected += c;
    }
    check(drawn == expected, "drawn text differs from the text written", drawn);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestal::fuzz::Input input(data, size);
    FuzzSurface surface;
    for (int& w : surface.charWidths) w = input.byte() % 40;
    surface.average = input.byte() % 30;
    surface.height = 1 + input.byte() % 120;
    surface.tallExtra = input.byte() % 60;
    surface.width = 1 + (input.byte() << 2 | input.byte() % 4);
    surface.pageHigh = 1 + (input.byte() << 2 | input.byte() % 4);
    const bool tablePrintout = input.byte() & 1;

    TextDevice device(surface);
    std::string written;
    int formFeeds = 0;
    if (tablePrintout) {
        // Cells from the input, separated by 0x1F; rows by 0x1E.
        CallTable table{kDialUpColumns};
        int row = 0;
        while (!input.empty() && row < 7) {
            std::string_view rowText = input.until('\x1e');
            if (row >= table.rowCount()) table.setRowCount(row + 1);
            for (int column = 0; column < kColumnCount && !rowText.empty(); ++column) {
                table.setCell(columnAt(column), row, rowText.substr(0, rowText.find('\x1f')));
                const std::size_t next = rowText.find('\x1f');
                rowText =
                    next == std::string_view::npos ? std::string_view{} : rowText.substr(next + 1);
            }
            ++row;
        }
        std::vector<std::string> lines;
        forEachTablePrintoutLine(table, [&](std::string_view line) { lines.emplace_back(line); });
        check(lines.size() == static_cast<std::size_t>(table.rowCount()) * 16,
              "printout line count");
        for (int r = 0; r < table.rowCount(); ++r) {
            const std::size_t first = static_cast<std::size_t>(r) * 16;
            check(lines[first] == "Call " + std::to_string(r + 1), "printout call line",
                  lines[first]);
            for (int column = 0; column < 14; ++column) {
                const std::string expected =
                    std::string(kDialUpColumns[static_cast<std::size_t>(column)].title) + ": " +
                    std::string(table.cell(columnAt(column), r));
                check(lines[first + 1 + static_cast<std::size_t>(column)] == expected,
                      "printout cell line", lines[first + 1 + static_cast<std::size_t>(column)]);
            }
            check(lines[first + 15].empty(), "printout blank line", lines[first + 15]);
        }
        for (const std::string& line : lines) {
            device.writeLine(line);
            written += line;
            formFeeds += static_cast<int>(std::count(line.begin(), line.end(), '\f'));
        }
    } else {
        while (!input.empty()) {
            const std::string_view chunk = input.until('\x1e');
            if (!chunk.empty() && (chunk[0] & 1))
                device.writeLine(chunk);
            else
                device.write(chunk);
            written += chunk;
            formFeeds += static_cast<int>(std::count(chunk.begin(), chunk.end(), '\f'));
        }
    }
    check(surface.pages - 1 >= formFeeds, "a form feed began no page");
    check(device.x() >= 0 && device.y() >= 0, "position off the page");
    checkLayout(surface, written);
    return 0;
}
