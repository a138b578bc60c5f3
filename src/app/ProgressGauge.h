// The repair's progress bar ("Gauge1"). A 1-pixel black frame, white
// inside, filled black from the left, with the percentage centred on it in black
// over the white part and in white over the fill.
#pragma once

#include <QWidget>

namespace kestal {

class ProgressGauge : public QWidget {
    Q_OBJECT
public:
    explicit ProgressGauge(QWidget* parent = nullptr);

    void setMinValue(int value);
    void setMaxValue(int value);
    void setProgress(int value);
    int minValue() const { return min_; }
    int maxValue() const { return max_; }
    int progress() const { return progress_; }

    // (progress - min) * 100 / (max - min), progress clamped into min..max,
    // truncated; 0 when max equals min.
    static int percentDone(int min, int max, int progress);
    int percentDone() const { return percentDone(min_, max_, progress_); }
    // The filled part of an inside this wide, whole pixels.
    static int fillWidth(int insideWidth, int percent);
    QString text() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int min_ = 0;
    int max_ = 100;
    int progress_ = 0;
};

}  // namespace kestal
