// One chart of the Trends window: QCustomPlot with one or more plots stacked
// on a shared x axis, zoomed and panned along x with the mouse (drag, wheel)
// and the keys (+ and - zoom, Left and Right pan, Home shows everything).
#pragma once

#include <qcustomplot.h>

#include <vector>

namespace kestal {

class TrendChart : public QCustomPlot {
    Q_OBJECT
public:
    // sharedX: the plots show the same x (time); otherwise each has its own.
    explicit TrendChart(bool sharedX, QWidget* parent = nullptr);

    // Adds a plot below the others, its y axis labelled.
    QCPAxisRect* addPlot(const QString& yLabel);
    // The x axis of every plot shows dates and times (seconds since 1970 as
    // the log writes them, without time zone).
    void useTimeAxis();
    // The x range of a plot that Home (and the window's Whole Range) goes
    // back to.
    void setHomeRange(QCPAxisRect* plot, const QCPRange& range);
    void showHomeRange();
    // Zooms x about the middle by factor (below 1 zooms in).
    void zoomBy(double factor);
    // Moves x by fraction of the range shown (negative: to the left).
    void panBy(double fraction);
    const std::vector<QCPAxisRect*>& plots() const { return plots_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Sets the x range of plot, and with a shared x that of every plot.
    void setXRange(QCPAxisRect* plot, const QCPRange& range);
    // Replots now when shown, else once shown.
    void replotWhenShown();

    bool sharedX_;
    std::vector<QCPAxisRect*> plots_;
    std::vector<QCPRange> homes_;
    bool movingX_ = false;
    bool stale_ = false;  // changed while hidden
};

// y from 0 to a little above the largest value shown (NaN left out).
void fitYToValues(QCPAxis* axis, double largest);

}  // namespace kestal
