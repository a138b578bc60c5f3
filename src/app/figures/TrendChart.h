// One chart of the Trends window: QCustomPlot with one or more plots stacked
// on a shared x axis, each titled in a row of its own above it. Along x it
// zooms and pans with the mouse (a dragged rectangle zooms to its span,
// Ctrl+drag pans, the wheel zooms) and the keys (+ and - zoom, Left and
// Right pan, Home shows everything).
#pragma once

#include <qcustomplot.h>

#include <vector>

namespace kestal {

class TrendChart : public QCustomPlot {
    Q_OBJECT
public:
    // Each wheel step and each + or - zooms by this factor (or its inverse):
    // from three weeks to a quarter of an hour takes 11 steps.
    static constexpr double kZoomStep = 0.5;

    // sharedX: the plots show the same x (time); otherwise each has its own.
    explicit TrendChart(bool sharedX, QWidget* parent = nullptr);

    // Adds a plot below the others, titled above it. The title stands in a
    // row of the chart's own, so titles never run into one another.
    QCPAxisRect* addPlot(const QString& title);
    // The x axis of every plot shows dates and times (seconds since 1970 as
    // the log writes them, without time zone).
    void useTimeAxis();
    // Shows or hides the x axes' ticks and dates (hidden while there is
    // nothing to chart).
    void showXLabels(bool shown);
    // The x range of a plot that Home (and the window's Whole Range) goes
    // back to.
    void setHomeRange(QCPAxisRect* plot, const QCPRange& range);
    void showHomeRange();
    // Zooms x about the middle by factor (below 1 zooms in).
    void zoomBy(double factor);
    // Moves x by fraction of the range shown (negative: to the left).
    void panBy(double fraction);
    const std::vector<QCPAxisRect*>& plots() const { return plots_; }
    const std::vector<QCPTextElement*>& titles() const { return titles_; }

signals:
    // The x range of plot changed, by any means (with a shared x, that of
    // every plot); sent before the chart is drawn again.
    void xRangeChanged(QCPAxisRect* plot);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void processRectZoom(QRect rect, QMouseEvent* event) override;

private:
    // Sets the x range of plot, and with a shared x that of every plot.
    void setXRange(QCPAxisRect* plot, const QCPRange& range);
    // Replots now when shown, else once shown.
    void replotWhenShown();

    bool sharedX_;
    std::vector<QCPAxisRect*> plots_;
    std::vector<QCPTextElement*> titles_;
    std::vector<QCPRange> homes_;
    bool movingX_ = false;
    bool stale_ = false;  // changed while hidden
    bool xLabels_ = true;
};

// y from 0 to a little above the largest value shown (NaN left out).
void fitYToValues(QCPAxis* axis, double largest);
// y a little wider than lowest to highest; never below 0 for values that
// aren't, and 0 to 1 when there are none.
void fitYToSpan(QCPAxis* axis, double lowest, double highest, bool empty);

}  // namespace kestal
