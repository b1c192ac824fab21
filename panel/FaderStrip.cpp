// Fader strip layout, its small font, its accessible names and the dimmed
// read-out of an unconfirmed gain.
#include "FaderStrip.h"

#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "FaderSlider.h"
#include "FlatButton.h"
#include "GainReadout.h"
#include "PanelLook.h"

namespace {

const char* const NotConfirmed = "Not confirmed by the switcher";

// Text half-way to the background: plainly dimmed, still readable.
QPalette DimmedPalette(QPalette palette) {
    const QColor text = palette.color(QPalette::WindowText);
    const QColor background = palette.color(QPalette::Window);
    palette.setColor(QPalette::WindowText, QColor((text.red() + background.red()) / 2,
                                                  (text.green() + background.green()) / 2,
                                                  (text.blue() + background.blue()) / 2));
    return palette;
}

}  // namespace

FaderStrip::FaderStrip(QWidget* parent)
    : QFrame(parent),
      lblChan_(new QLabel(QStringLiteral("Ch. 1"), this)),
      lblGain_(new QLabel(QStringLiteral("Gain (0db)"), this)),
      chkStereo_(new QCheckBox(QStringLiteral("Stereo"), this)),
      cmdZerodb_(new FlatButton(QStringLiteral("0db"), this)),
      sliGain_(new FaderSlider(this)) {
    setObjectName(QStringLiteral("frSlider"));
    lblChan_->setObjectName(QStringLiteral("lblChan"));
    lblGain_->setObjectName(QStringLiteral("lblGain"));
    sliGain_->setObjectName(QStringLiteral("sliGain"));
    cmdZerodb_->setObjectName(QStringLiteral("cmdZerodb"));
    chkStereo_->setObjectName(QStringLiteral("chkStereo"));

    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setFont(PanelFont(PanelFontPixels));
    PlaceInTwips(this, leftTwips_, 120, 1335, 5655);
    PlaceInTwips(lblChan_, 120, 240, 1100, 255);
    PlaceInTwips(lblGain_, 120, 600, 1100, 255);
    PlaceInTwips(sliGain_, 360, 840, 630, 3975);
    PlaceInTwips(cmdZerodb_, 360, 4920, 516, 200);
    PlaceInTwips(chkStereo_, 240, 5280, 855, 255);

    lblChan_->setAlignment(Qt::AlignCenter);
    lblGain_->setAlignment(Qt::AlignCenter);
    cmdZerodb_->setToolTip(QStringLiteral("Clear Command History"));
    sliGain_->SetReadout(lblGain_);

    // The keyboard walks a strip in the order its controls were made (see the
    // header); the frame itself never takes the focus.
    setFocusPolicy(Qt::NoFocus);

    connect(sliGain_, &FaderSlider::OperatorMoved, this, [this] { Q_EMIT GainMoved(Code()); });
    connect(sliGain_, &FaderSlider::KeyReleased, this, &FaderStrip::FaderHomeEnd);
    connect(cmdZerodb_, &QPushButton::clicked, this, &FaderStrip::cmdZerodb_Click);
    SetConfirmed(false);  // nothing is confirmed before the switcher has spoken
}

int16_t FaderStrip::Code() const { return static_cast<int16_t>(-sliGain_->sliderPosition()); }

void FaderStrip::ShowGain(int16_t code) {
    sliGain_->setValue(-code);
    ShowReadout(code);
}

void FaderStrip::ShowReadout(int16_t code) { lblGain_->setText(GainReadoutText(code)); }

QString FaderStrip::ReadoutText() const { return lblGain_->text(); }

QString FaderStrip::ChannelName() const { return lblChan_->text(); }

void FaderStrip::SetChannelName(const QString& name) { lblChan_->setText(name); }

bool FaderStrip::IsStereo() const { return chkStereo_->isChecked(); }

void FaderStrip::SetStereo(bool stereo) { chkStereo_->setChecked(stereo); }

// Without this every start-up would wipe the saved Stereo settings: the
// switcher typically sends its name table, which labels the strips, before
// its link table.
void FaderStrip::OfferStereo(bool linked, bool savedStereo) {
    if (!linked) {
        chkStereo_->setChecked(false);
    } else if (chkStereo_->isHidden()) {
        chkStereo_->setChecked(savedStereo);
    }
    chkStereo_->setVisible(linked);
}

void FaderStrip::CopyCaptionsFrom(const FaderStrip& other) {
    lblChan_->setText(other.lblChan_->text());
    lblGain_->setText(other.lblGain_->text());
}

// By the time the key comes up, Home or End has already put the fader at an
// end of its travel; the move itself raised no notification.
void FaderStrip::FaderHomeEnd(int key) {
    if (key == Qt::Key_Home || key == Qt::Key_End) Q_EMIT GainMoved(Code());
}

void FaderStrip::cmdZerodb_Click() {
    sliGain_->setValue(FaderSlider::ZeroDbPosition);
    Q_EMIT GainMoved(Code());
    sliGain_->setFocus(Qt::OtherFocusReason);
}

void FaderStrip::MoveLeftTo(int leftTwips) {
    leftTwips_ = leftTwips;
    move(Twips(leftTwips), y());
}

void FaderStrip::NameForScreenReaders(int faderNumber) {
    QString name = QStringLiteral("Fader %1").arg(faderNumber);
    const QString channel = lblChan_->text().trimmed();
    if (!channel.isEmpty()) name += QStringLiteral(", ") + channel;
    sliGain_->setAccessibleName(name);
    cmdZerodb_->setAccessibleName(name + QStringLiteral(", ") + cmdZerodb_->text());
    chkStereo_->setAccessibleName(name + QStringLiteral(", ") + chkStereo_->text());
}

void FaderStrip::SetConfirmed(bool confirmed) {
    confirmed_ = confirmed;
    lblGain_->setPalette(confirmed ? palette() : DimmedPalette(palette()));
    const QString note = confirmed ? QString() : QString::fromLatin1(NotConfirmed);
    lblGain_->setToolTip(note);
    sliGain_->setAccessibleDescription(note);
}

// The sunken box Qt draws for this frame, pixel for pixel, but filled rather
// than stroked: twenty stroked boxes were a noticeable share of the first paint.
void FaderStrip::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const int w = width();
    const int h = height();
    const QColor dark = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    painter.fillRect(0, 0, w - 1, 1, dark);
    painter.fillRect(0, h - 2, w - 1, 1, dark);
    painter.fillRect(0, 0, 1, h - 1, dark);
    painter.fillRect(w - 2, 0, 1, h - 1, dark);
    painter.fillRect(1, 1, w - 3, 1, light);
    painter.fillRect(1, 2, 1, h - 4, light);
    painter.fillRect(0, h - 1, w, 1, light);
    painter.fillRect(w - 1, 0, 1, h - 1, light);
}
