// The repair gauge's drawing and the About box.
#include <QImage>
#include <QLabel>
#include <QPushButton>

#include "AppFixture.h"
#include "app/ProgressGauge.h"

namespace kestal::testing {
namespace {

TEST(GaugePercent, FollowsTheRangeClampedAndTruncated) {
    struct Case {
        int min, max, progress, percent;
    };
    const Case cases[] = {
        {0, 100, 0, 0}, {0, 100, 40, 40}, {0, 100, 100, 100}, {0, 100, 150, 100}, {0, 100, -5, 0},
        {0, 3, 1, 33},  {0, 3, 2, 66},    {10, 20, 15, 50},   {5, 5, 5, 0},       {0, 0, 7, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgressGauge::percentDone(c.min, c.max, c.progress), c.percent)
            << c.min << ".." << c.max << " at " << c.progress;
    EXPECT_EQ(ProgressGauge::fillWidth(331, 40), 132);
    EXPECT_EQ(ProgressGauge::fillWidth(331, 100), 331);
    EXPECT_EQ(ProgressGauge::fillWidth(331, 0), 0);
}

// Pixels of a row through the middle of the bar: how many are black and
// how many white, in [from, to).
struct Count {
    int black = 0;
    int white = 0;
};
Count countColours(const QImage& image, int from, int to, int y0, int y1) {
    Count count;
    for (int y = y0; y < y1; ++y)
        for (int x = from; x < to; ++x) {
            const QRgb pixel = image.pixel(x, y);
            count.black += pixel == qRgb(0, 0, 0);
            count.white += pixel == qRgb(255, 255, 255);
        }
    return count;
}

TEST(GaugeDrawing, FrameFillAndTwoColouredText) {
    ensureApplication();
    struct Case {
        int progress;
        const char* text;
        int fill;            // of the 331 inside pixels
        bool textOverFill;   // some of the text lies on the black part
        bool textOverWhite;  // some on the white part
    };
    const Case cases[] = {{0, "0%", 0, false, true},
                          {40, "40%", 132, false, true},
                          {50, "50%", 165, true, true},
                          {100, "100%", 331, true, false},
                          {130, "100%", 331, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.progress);
        ProgressGauge gauge;
        QFont font(QStringLiteral("System"));
        font.setPixelSize(13);
        gauge.setFont(font);
        gauge.resize(333, 14);
        gauge.setProgress(c.progress);
        EXPECT_EQ(gauge.text(), QString::fromLatin1(c.text));
        QImage image(gauge.size(), QImage::Format_RGB32);
        image.fill(Qt::red);
        gauge.render(&image);

        // The frame all round.
        for (int x = 0; x < 333; ++x) {
            EXPECT_EQ(image.pixel(x, 0), qRgb(0, 0, 0));
            EXPECT_EQ(image.pixel(x, 13), qRgb(0, 0, 0));
        }
        for (int y = 0; y < 14; ++y) {
            EXPECT_EQ(image.pixel(0, y), qRgb(0, 0, 0));
            EXPECT_EQ(image.pixel(332, y), qRgb(0, 0, 0));
        }
        // The inside's top row lies above the text: black up to the fill's
        // end, white after.
        const int fillEnd = 1 + c.fill;
        for (int x = 1; x < 332; ++x)
            EXPECT_EQ(image.pixel(x, 1), x < fillEnd ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << x;
        // The text takes the other colour of whatever it lies on; nothing
        // but black and white is drawn.
        const Count filled = countColours(image, 1, fillEnd, 1, 13);
        const Count empty = countColours(image, fillEnd, 332, 1, 13);
        EXPECT_EQ(filled.white > 0, c.textOverFill);
        EXPECT_EQ(empty.black > 0, c.textOverWhite);
        EXPECT_EQ(filled.black + filled.white, c.fill * 12);
        EXPECT_EQ(empty.black + empty.white, (331 - c.fill) * 12);
        EXPECT_GE(filled.black, filled.white);
        EXPECT_TRUE(c.fill == 331 || empty.white > empty.black);
    }
}

using AboutBoxTest = AppTest;

TEST_F(AboutBoxTest, LayoutAndTexts) {
    writeLog(kThreeCallLog);
    createWindows();
    const BevelPanel* panel = child<BevelPanel>(*about, "Panel1");
    const QLabel* icon = child<QLabel>(*about, "ProgramIcon");
    QLabel* productName = child<QLabel>(*about, "ProductName");
    QLabel* version = child<QLabel>(*about, "Version");
    QLabel* copyright = child<QLabel>(*about, "Copyright");
    QLabel* comments = child<QLabel>(*about, "Comments");
    const QPushButton* okButton = child<QPushButton>(*about, "Button1");
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About"));
    EXPECT_FALSE(about->isModal());
    EXPECT_EQ(about->size(), QSize(298, 213));
    EXPECT_EQ(panel->geometry(), QRect(8, 8, 281, 161));
    EXPECT_EQ(icon->geometry(), QRect(16, 16, 41, 33));
    EXPECT_TRUE(icon->hasScaledContents());
    EXPECT_EQ(icon->pixmap().size(), QSize(32, 32));
    EXPECT_EQ(productName->text(), QStringLiteral("Kestal File Viewer"));
    EXPECT_EQ(version->text(), QStringLiteral("Version: 1.12"));
    EXPECT_EQ(copyright->text(), QString::fromLatin1(kCopyrightLine));
    EXPECT_EQ(comments->text(), QString::fromLatin1(kContactLine));
    EXPECT_EQ(productName->pos(), QPoint(72, 16));
    EXPECT_EQ(version->pos(), QPoint(72, 40));
    EXPECT_EQ(copyright->pos(), QPoint(72, 80));
    EXPECT_EQ(comments->geometry(), QRect(72, 104, 177, 13));
    EXPECT_TRUE(comments->wordWrap());
    for (QLabel* label : {productName, version, copyright, comments}) {
        EXPECT_TRUE(label->font().bold());
        EXPECT_EQ(label->font().pixelSize(), 11);
        EXPECT_EQ(label->parentWidget(), panel);
    }
    EXPECT_EQ(okButton->geometry(), QRect(112, 182, 75, 25));
    EXPECT_EQ(okButton->text(), QStringLiteral("&OK"));
    EXPECT_TRUE(okButton->isDefault());
}

}  // namespace
}  // namespace kestal::testing
