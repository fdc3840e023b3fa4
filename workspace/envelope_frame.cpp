#include "envelope_frame.hpp"

#include <QApplication>
#include <QClipboard>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "compressor.hpp"
#include "language_texts.hpp"
#include "model.hpp"

namespace kelvra {

namespace {

QString T(std::string_view key, std::string_view english) {
    return QString::fromStdString(Text(key, english));
}

const QColor kPanelColour(0xF0, 0xF0, 0xF0);

bool IsComponentMode(ActivityMode mode) {
    const auto m = ToInt(mode);
    return m >= 3 && m <= 6;
}

}  // namespace

// The area the plot is painted on.
class TframeEnv::PaintBox : public QWidget {
  public:
    explicit PaintBox(TframeEnv* frame) : QWidget(frame), frame_(frame) {
        setObjectName("envelopeBox");
        setMinimumSize(260, 220);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (frame_->hasEnvelope_)
            PaintEnvelope(painter, size(), frame_->envelope_, kPanelColour);
        else
            painter.fillRect(rect(), kPanelColour);
    }

  private:
    TframeEnv* frame_;
};

TframeEnv::TframeEnv(QWidget* parent) : QWidget(parent) {
    setObjectName("frameEnv");
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    lblMessage_ = new QLabel(this);
    lblMessage_->setObjectName("lblEnvMessage");
    lblMessage_->setStyleSheet("color: red;");
    lblMessage_->setVisible(false);
    paintBox_ = new PaintBox(this);
    left->addWidget(lblMessage_);
    left->addWidget(paintBox_, 1);
    layout->addLayout(left, 1);

    auto* legend = new QVBoxLayout;
    lblModel_ = new QLabel(this);
    lblModel_->setObjectName("lblEnvModel");
    QFont bold = lblModel_->font();
    bold.setBold(true);
    lblModel_->setFont(bold);
    legend->addWidget(lblModel_);
    lblMinET_ = new QLabel(this);
    lblMinET_->setObjectName("lblMinET");
    legend->addWidget(lblMinET_);
    for (int slot = 1; slot <= kEnvelopeLegendSlots; ++slot) {
        auto* label = new QLabel(this);
        label->setObjectName(QString("lbl%1").arg(slot));
        label->setStyleSheet(QString("color: %1; padding-left: 8px;")
                                 .arg(EnvelopeSlotColour(slot).name()));
        slotLabels_[static_cast<std::size_t>(slot - 1)] = label;
        legend->addWidget(label);
    }
    lblMaxET_ = new QLabel(this);
    lblMaxET_->setObjectName("lblMaxET");
    lblMaxET_->setStyleSheet("color: blue;");
    legend->addWidget(lblMaxET_);
    lblMaxPress_ = new QLabel(this);
    lblMaxPress_->setObjectName("lblMaxPress");
    lblMaxPress_->setStyleSheet("color: red;");
    legend->addWidget(lblMaxPress_);
    lblAt_ = new QLabel(this);
    lblAt_->setObjectName("lblAt");
    lblAt_->setWordWrap(true);
    legend->addWidget(lblAt_);
    legend->addStretch(1);
    btnClip_ = new QPushButton(this);
    btnClip_->setObjectName("btnClip");
    legend->addWidget(btnClip_);
    layout->addLayout(legend);
    connect(btnClip_, &QPushButton::clicked, this, &TframeEnv::copyPicture);

    applyLanguage();
    rebuild();
}

void TframeEnv::applyLanguage() {
    lblMinET_->setText(T("lblMinET", "Minimum evaporating Temp. with:"));
    lblMaxET_->setText(T("lblMaxET", "Maximum Evaporating Temp."));
    lblMaxPress_->setText(T("strMaxPress", "Maximum pressure"));
    btnClip_->setText(T("btnClip", "Clip"));
    const char* defaults[4] = {"25\u00B0C Suction Gas Return", "25\u00B0C Suction Gas Return + Fan",
                               "20K Suction Superheat", "20K Suction Superheat + Fan"};
    for (int i = 0; i < 4; ++i) slotLabels_[static_cast<std::size_t>(i)]->setText(QString::fromUtf8(defaults[i]));
    updateLegend();
}

void TframeEnv::setModel(TCModel* model, const OperatingConditions& conditions, ActivityMode mode,
                         bool componentSelected) {
    model_ = model;
    conditions_ = conditions;
    mode_ = mode;
    componentSelected_ = componentSelected || (model != nullptr && IsComponentMode(mode));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    rebuild();
    QApplication::restoreOverrideCursor();
}

void TframeEnv::setPoint(const OperatingConditions& conditions) {
    conditions_ = conditions;
    rebuild();
}

void TframeEnv::rebuild() {
    hasEnvelope_ = false;
    envelope_ = EnvelopePicture();
    QString message;
    TComp* compressor = EnvelopeCompressor(model_, mode_);
    if (compressor == nullptr) {
        if (IsComponentMode(mode_))
            message = componentSelected_ ? T("lblNoEnvelope", "No Envelope available for this model")
                                         : QString();
        else
            message = T("strNoModels", "No models available");
    } else {
        const TCModel* unit = mode_ == ActivityMode::CondensingUnits ? model_ : nullptr;
        try {
            hasEnvelope_ = BuildEnvelopePicture(*compressor, unit, conditions_, mode_, envelope_);
        } catch (const std::exception&) {
            hasEnvelope_ = false;
        }
        if (!hasEnvelope_) message = T("strErrorReading", "Error reading compressor data");
    }
    lblMessage_->setText(message);
    lblMessage_->setVisible(!message.isEmpty());
    updateLegend();
    paintBox_->update();
}

void TframeEnv::updateLegend() {
    const bool shown = hasEnvelope_;
    lblModel_->setVisible(shown);
    lblModel_->setText(QString::fromStdString(envelope_.modelName));
    lblMinET_->setVisible(shown);
    lblMaxET_->setVisible(shown);
    for (std::size_t i = 0; i < slotLabels_.size(); ++i) {
        const EnvelopeSlot& slot = envelope_.legend[i];
        if (slot.drawn && !slot.name.empty()) slotLabels_[i]->setText(QString::fromStdString(slot.name));
        slotLabels_[i]->setVisible(shown && slot.drawn);
    }
    lblMaxPress_->setVisible(shown && envelope_.maxPressureY.has_value());
    lblAt_->setVisible(shown && envelope_.operatingPoint.has_value());
    if (envelope_.operatingPoint) {
        const EnvelopeXY p = *envelope_.operatingPoint;
        const QString y = envelope_.pressureAxis
                              ? QString::number(p.y, 'f', 1) + " bar"
                              : QString::number(p.y, 'f', 1) + QString::fromUtf8(" \u00B0C");
        lblAt_->setText(T("strPerfSpecPoint", "Operating Point") + ":\n" +
                        QString::number(p.x, 'f', 1) + QString::fromUtf8(" \u00B0C / ") + y);
    }
    btnClip_->setEnabled(shown);
}

QImage TframeEnv::picture() const {
    QImage image(paintBox_->size().expandedTo(QSize(260, 220)), QImage::Format_RGB32);
    QPainter painter(&image);
    if (hasEnvelope_)
        PaintEnvelope(painter, image.size(), envelope_, kPanelColour);
    else
        painter.fillRect(image.rect(), kPanelColour);
    return image;
}

void TframeEnv::copyPicture() {
    if (!hasEnvelope_) return;
    if (QClipboard* clipboard = QApplication::clipboard()) clipboard->setImage(picture());
}

}  // namespace kelvra
