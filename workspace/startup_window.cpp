#include "startup_window.hpp"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

#include "language_texts.hpp"

namespace kelvra {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// A small drawn picture of a product line: a scroll's spiral or a semi-hermetic's block.
QPixmap ProductLinePicture(bool scroll) {
    QPixmap picture(72, 56);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x20, 0x4a, 0x87), 2));
    if (scroll) {
        QPointF last(36, 28);
        for (int i = 1; i < 60; ++i) {
            const double angle = i * 0.35;
            const double radius = 1.2 + i * 0.38;
            const QPointF next(36 + radius * std::cos(angle), 28 + radius * std::sin(angle));
            painter.drawLine(last, next);
            last = next;
        }
    } else {
        painter.setBrush(QColor(0xc8, 0xd4, 0xe3));
        painter.drawRoundedRect(QRectF(8, 14, 42, 30), 4, 4);
        painter.drawRect(QRectF(50, 20, 14, 18));
        for (int x = 14; x < 48; x += 8) painter.drawLine(QPointF(x, 14), QPointF(x, 44));
    }
    return picture;
}

}  // namespace

QPixmap ProgramBanner(const std::filesystem::path& installation) {
    QPixmap banner;
    const std::filesystem::path file = installation / "about.bmp";
    if (banner.load(Q(file.string())) && !banner.isNull()) return banner;

    banner = QPixmap(420, 140);
    QPainter painter(&banner);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 420, 140);
    sky.setColorAt(0, QColor(0x12, 0x3c, 0x6e));
    sky.setColorAt(1, QColor(0x3f, 0x8f, 0xc9));
    painter.fillRect(banner.rect(), sky);
    painter.setPen(Qt::white);
    QFont title = QApplication::font();
    title.setPointSize(30);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(24, 18, 380, 60), Qt::AlignLeft | Qt::AlignVCenter, "Kelvra 7");
    QFont line = QApplication::font();
    line.setPointSize(10);
    painter.setFont(line);
    painter.drawText(QRect(26, 80, 380, 40), Qt::AlignLeft | Qt::TextWordWrap,
                     Q(Text("strBannerLine", "Compressors, condensing units, heat pumps and controls")));
    return banner;
}

// ---------------------------------------------------------------------------------------------

TfrmSplash::TfrmSplash(const std::filesystem::path& installation)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("frmSplash");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    picture_ = new QLabel(this);
    picture_->setPixmap(ProgramBanner(installation));
    message_ = new QLabel(this);
    message_->setObjectName("lblSplashMessage");
    message_->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture_);
    layout->addWidget(message_);
    adjustSize();
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmSplash::showNow() {
    show();
    raise();
    repaint();
    QApplication::processEvents();
}

void TfrmSplash::setMessage(const QString& text) {
    message_->setText(text);
    if (isVisible()) {
        message_->repaint();
        QApplication::processEvents();
    }
}

// ---------------------------------------------------------------------------------------------

TfrmStartup::TfrmStartup(const std::filesystem::path& installation, const StartupOffer& offer,
                         QWidget* parent)
    : QDialog(parent) {
    setObjectName("frmStartup");
    // the caption speaks every language: no language is chosen yet
    setWindowTitle(QString::fromUtf8("Startup : Starten : D\u00e9marrage : Avvio : Inicio"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* banner = new QLabel(this);
    banner->setPixmap(ProgramBanner(installation));
    banner->setAlignment(Qt::AlignCenter);
    layout->addWidget(banner);

    auto* prompt = new QLabel(this);
    prompt->setObjectName("lblPrompt");
    prompt->setWordWrap(true);
    prompt->setText(QString::fromUtf8(
        "Please choose below to set the mode in which Kelvra will first open<br>"
        "<i>Bitte w\u00e4hlen Sie unten, in welcher Betriebsart Kelvra zuerst ge\u00f6ffnet wird<br>"
        "Veuillez choisir ci-dessous le mode dans lequel Kelvra s'ouvrira la premi\u00e8re fois<br>"
        "Scegliere qui sotto la modalit\u00e0 in cui Kelvra si aprir\u00e0 la prima volta<br>"
        "Elija a continuaci\u00f3n el modo en que Kelvra se abrir\u00e1 por primera vez</i>"));
    layout->addWidget(prompt);

    auto* files = new QGridLayout;
    files->addWidget(new QLabel("Language / Sprache", this), 0, 0);
    boxLanguage_ = new QComboBox(this);
    boxLanguage_->setObjectName("boxLanguage");
    for (const std::string& name : offer.languages) boxLanguage_->addItem(Q(name));
    boxLanguage_->setCurrentIndex(offer.language);
    files->addWidget(boxLanguage_, 0, 1);
    files->addWidget(new QLabel("Help / Hilfe", this), 1, 0);
    boxHelp_ = new QComboBox(this);
    boxHelp_->setObjectName("boxHelp");
    for (const std::string& name : offer.helps) boxHelp_->addItem(Q(name));
    boxHelp_->setCurrentIndex(offer.help);
    files->addWidget(boxHelp_, 1, 1);
    layout->addLayout(files);

    // the four applications: a click anywhere on a panel checks its radio
    auto* panels = new QHBoxLayout;
    auto panel = [this, panels](const char* name, QRadioButton*& radio, const QString& caption,
                                const QString& detail) {
        auto* frame = new QFrame(this);
        frame->setObjectName(QString("pnl") + name);
        frame->setFrameShape(QFrame::StyledPanel);
        frame->setCursor(Qt::PointingHandCursor);
        auto* inner = new QVBoxLayout(frame);
        radio = new QRadioButton(caption, frame);
        radio->setObjectName(QString("rad") + name);
        auto* text = new QLabel(detail, frame);
        text->setWordWrap(true);
        inner->addWidget(radio);
        inner->addWidget(text);
        inner->addStretch(1);
        frame->installEventFilter(this);
        text->installEventFilter(this);
        text->setProperty("panelRadio", QVariant::fromValue(static_cast<QObject*>(radio)));
        frame->setProperty("panelRadio", QVariant::fromValue(static_cast<QObject*>(radio)));
        panels->addWidget(frame);
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on) updateControls();
        });
    };
    panel("Aircon", radAircon_, Q(Text("strAppAircon", "Air Conditioning")),
          Q(Text("strAppAirconHint", "Comfort cooling: R407C, 5 / 50 °C")));
    panel("Refrig", radRefrig_, Q(Text("strAppRefrig", "Refrigeration")),
          Q(Text("strAppRefrigHint", "Cold rooms and cabinets: R404A, -10 / 45 °C")));
    panel("CondUnits", radCondUnits_, Q(Text("strAppCondUnits", "Condensing Units")),
          Q(Text("strAppCondUnitsHint", "Units rated at the ambient temperature")));
    panel("Heating", radHeating_, Q(Text("strAppHeating", "Heating")),
          Q(Text("strAppHeatingHint", "Heat-pump compressors: R407C, -8 / 50 °C")));
    // the radios sit on panels of their own: one group makes them exclusive
    auto* applications = new QButtonGroup(this);
    for (QRadioButton* radio : {radAircon_, radRefrig_, radCondUnits_, radHeating_})
        applications->addButton(radio);
    radAircon_->setChecked(true);
    layout->addLayout(panels);

    // the two product lines; a click on a picture toggles its box
    auto* lines = new QHBoxLayout;
    auto line = [this, lines](const char* name, QCheckBox*& box, QLabel*& picture,
                              const QString& caption, bool scroll) {
        box = new QCheckBox(caption, this);
        box->setObjectName(QString("chk") + name);
        box->setChecked(true);
        picture = new QLabel(this);
        picture->setObjectName(QString("pic") + name);
        picture->setPixmap(ProductLinePicture(scroll));
        picture->setCursor(Qt::PointingHandCursor);
        picture->installEventFilter(this);
        lines->addWidget(picture);
        lines->addWidget(box);
        lines->addSpacing(20);
        connect(box, &QCheckBox::toggled, this, [this] { updateControls(); });
    };
    line("Scroll", chkScroll_, picScroll_, Q(Text("chkScroll", "Scroll compressors")), true);
    line("Semi", chkSemi_, picSemi_, Q(Text("chkSemi", "Semi-hermetic compressors")), false);
    lines->addStretch(1);
    layout->addLayout(lines);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    btnOK_ = buttons->button(QDialogButtonBox::Ok);
    btnOK_->setObjectName("btnOK");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    updateControls();
}

bool TfrmStartup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == picScroll_) {
            if (chkScroll_->isEnabled()) chkScroll_->toggle();
            return true;
        }
        if (watched == picSemi_) {
            if (chkSemi_->isEnabled()) chkSemi_->toggle();
            return true;
        }
        if (auto* radio = qobject_cast<QRadioButton*>(watched->property("panelRadio").value<QObject*>())) {
            radio->setChecked(true);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmStartup::chooseApplication(StartupApplication application) {
    switch (application) {
        case StartupApplication::AirConditioning: radAircon_->setChecked(true); break;
        case StartupApplication::Refrigeration: radRefrig_->setChecked(true); break;
        case StartupApplication::CondensingUnits: radCondUnits_->setChecked(true); break;
        case StartupApplication::Heating: radHeating_->setChecked(true); break;
    }
}

StartupChoices TfrmStartup::choices() const {
    StartupChoices c;
    c.application = radHeating_->isChecked()      ? StartupApplication::Heating
                    : radCondUnits_->isChecked() ? StartupApplication::CondensingUnits
                    : radRefrig_->isChecked()    ? StartupApplication::Refrigeration
                                                 : StartupApplication::AirConditioning;
    c.scroll = chkScroll_->isChecked();
    c.semiHermetic = chkSemi_->isChecked();
    c.language = boxLanguage_->currentText().toStdString();
    c.help = boxHelp_->currentText().toStdString();
    return c;
}

bool TfrmStartup::okEnabled() const { return btnOK_->isEnabled(); }

void TfrmStartup::updateControls() {
    if (btnOK_ == nullptr) return;  // still being built
    const StartupChoices now = choices();
    const bool semi = SemiHermeticAvailable(now.application);
    if (!semi && chkSemi_->isChecked()) {
        const QSignalBlocker block(chkSemi_);
        chkSemi_->setChecked(false);
    }
    chkSemi_->setEnabled(semi);
    picSemi_->setEnabled(semi);
    btnOK_->setEnabled(StartupOkEnabled(choices()));
}

StartupChoices TfrmStartup::Ask(const std::filesystem::path& installation, const StartupOffer& offer) {
    TfrmStartup window(installation, offer);
    window.exec();
    const StartupChoices shown = window.choices();
    if (StartupOkEnabled(shown)) return shown;
    StartupChoices first;
    if (offer.language >= 0) first.language = offer.languages[static_cast<std::size_t>(offer.language)];
    if (offer.help >= 0) first.help = offer.helps[static_cast<std::size_t>(offer.help)];
    return first;
}

}  // namespace kelvra
