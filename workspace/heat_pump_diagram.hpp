#pragma once

// The heat-pump diagrams of the conditions panel in the heat-pump modes: two small plots of the
// selected heat pump's temperature differences, the evaporator's over the source temperature and
// the condenser's over the water outlet temperature, each flat below and above the temperatures
// where its rule reaches a limit.

#include <QWidget>

namespace kelvra {

class THeatPump;

class THeatPumpDiagrams : public QWidget {
    Q_OBJECT

  public:
    explicit THeatPumpDiagrams(QWidget* parent = nullptr);

    // The heat pump drawn; none hides the curves. The widget keeps the pointer until the next
    // call: callers clear it before the heat pump goes.
    void setHeatPump(const THeatPump* pump);
    const THeatPump* heatPump() const { return pump_; }

    // The plot rectangles (evaporator first), in widget coordinates.
    QRectF plotRect(int which) const;

    QSize sizeHint() const override { return {360, 130}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

  private:
    const THeatPump* pump_ = nullptr;
};

}  // namespace kelvra
