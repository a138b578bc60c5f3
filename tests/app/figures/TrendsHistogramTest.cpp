// The Trends window's histogram of layer times over calls whose LCP times
// spread evenly over tenths of a second: every bin holds the same number of
// calls, no comb of tall and short bars.
#include <QAction>
#include <QTabWidget>
#include <QTest>
#include <cstdio>

#include "app/AppFixture.h"
#include "app/figures/TrendsWindow.h"

namespace kestal::testing {
namespace {

// Two calls for each LCP time of 0.0 to 9.9 seconds, a minute apart.
std::string evenLcpLog() {
    std::string log;
    char line[96];
    for (int call = 0; call < 200; ++call) {
        const int tenths = call % 100;
        const int minute = call % 60;
        const int hour = 10 + call / 60;
        std::snprintf(line, sizeof line,
                      "12-01-2026 %02d:%02d:00.00 - Remote access driver log opened.\r\n", hour,
                      minute);
        log += line;
        std::snprintf(line, sizeof line, "12-01-2026 %02d:%02d:%02d.%d0 - LCP : Layer up\r\n", hour,
                      minute, tenths / 10, tenths % 10);
        log += line;
        std::snprintf(line, sizeof line,
                      "12-01-2026 %02d:%02d:30.00 - Remote access driver log closed.\r\n", hour,
                      minute);
        log += line;
    }
    return log;
}

class TrendsHistogramTest : public AppTest {};

TEST_F(TrendsHistogramTest, EvenLayerTimesGiveEvenBins) {
    writeLog(evenLcpLog());
    createWindows();
    ASSERT_EQ(main->state().table.callCount(), 200);
    main->findChild<QAction*>(QStringLiteral("Trends1"))->trigger();
    auto* window = main->findChild<TrendsWindow*>(QStringLiteral("TrendsWindow"));
    ASSERT_NE(window, nullptr);
    auto* histograms = child<TrendChart>(*window, "HistogramChart");
    child<QTabWidget>(*window, "ChartTabs")->setCurrentWidget(histograms);
    QApplication::processEvents();
    ASSERT_GE(histograms->graphCount(), 1);
    // The LCP graph: a step at each bin's start, and 0 after the last bin.
    const QSharedPointer<QCPGraphDataContainer> lcp = histograms->graph(0)->data();
    ASSERT_GE(lcp->size(), 3);
    const double width = (lcp->begin() + 1)->key - lcp->begin()->key;
    EXPECT_NEAR(width, 0.2, 1e-9);  // 9.9 s over about 50 bins
    for (auto bin = lcp->begin(); bin != lcp->end() - 1; ++bin)
        EXPECT_EQ(bin->value, 4) << "bin from " << bin->key;  // two tenths, two calls each
    EXPECT_EQ((lcp->end() - 1)->value, 0);
}

}  // namespace
}  // namespace kestal::testing
