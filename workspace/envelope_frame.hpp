#pragma once

// The "Envelope" tab: the plot of the selected compressor's operating envelope with its legend
// at the right and a "Clip" button that copies the picture to the clipboard.

#include <QImage>
#include <QWidget>
#include <array>

#include "envelope_plot.hpp"

class QLabel;
class QPushButton;

namespace kelvra {

class TCModel;

class TframeEnv : public QWidget {
    Q_OBJECT

  public:
    explicit TframeEnv(QWidget* parent = nullptr);

    // Takes the model shown (the compressor, the unit or the heat pump of the mode; nullptr for
    // none), reads its envelope and repaints.
    void setModel(TCModel* model, const OperatingConditions& conditions, ActivityMode mode,
                  bool componentSelected = false);
    // Moves the operating point to the conditions (the model has been evaluated there).
    void setPoint(const OperatingConditions& conditions);
    // Legend captions from the language.
    void applyLanguage();
    // The "Clip" button: the plot goes to the clipboard as a picture.
    void copyPicture();

    // The plot as an image of the paint area's size (what "Clip" copies).
    QImage picture() const;
    // True when an envelope is drawn.
    bool hasEnvelope() const { return hasEnvelope_; }
    const EnvelopePicture& envelope() const { return envelope_; }

  private:
    class PaintBox;
    void rebuild();
    void updateLegend();

    TCModel* model_ = nullptr;
    OperatingConditions conditions_;
    ActivityMode mode_ = ActivityMode::Compressors;
    bool componentSelected_ = false;
    bool hasEnvelope_ = false;
    EnvelopePicture envelope_;

    PaintBox* paintBox_ = nullptr;
    QLabel* lblMessage_ = nullptr;
    QLabel* lblModel_ = nullptr;
    QLabel* lblMinET_ = nullptr;
    std::array<QLabel*, kEnvelopeLegendSlots> slotLabels_{};
    QLabel* lblMaxET_ = nullptr;
    QLabel* lblMaxPress_ = nullptr;
    QLabel* lblAt_ = nullptr;
    QPushButton* btnClip_ = nullptr;
};

}  // namespace kelvra
