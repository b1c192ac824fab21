// Fader strip layout, its small font, its accessible names and the dimmed
// read-out of an unconfirmed gain.
#include "FaderStrip.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>

#include "FaderSlider.h"
#include "FlatButton.h"
#include "GainCode.h"
#include "GainEditor.h"
#include "GainReadout.h"
#include "PanelLook.h"

namespace {

const char* const NotConfirmed = "Not confirmed by the switcher";

// Text half-way to the background: plainly dimmed, still readable.
QPalette dimmedPalette(QPalette palette) {
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
      m_lblChan(new QLabel(QStringLiteral("Ch. 1"), this)),
      m_lblGain(new QLabel(QStringLiteral("Gain (0db)"), this)),
      m_chkStereo(new QCheckBox(QStringLiteral("Stereo"), this)),
      m_cmdZerodb(new FlatButton(QStringLiteral("0db"), this)),
      m_sliGain(new FaderSlider(this)),
      m_txtGain(new GainEditor(this)) {
    setObjectName(QStringLiteral("frSlider"));
    m_lblChan->setObjectName(QStringLiteral("lblChan"));
    m_lblGain->setObjectName(QStringLiteral("lblGain"));
    m_sliGain->setObjectName(QStringLiteral("sliGain"));
    m_cmdZerodb->setObjectName(QStringLiteral("cmdZerodb"));
    m_chkStereo->setObjectName(QStringLiteral("chkStereo"));

    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setFont(panelFont(PanelFontPixels));
    placeInTwips(this, m_leftTwips, 120, 1335, 5655);
    placeInTwips(m_lblChan, 120, 240, 1100, 255);
    placeInTwips(m_lblGain, 120, 600, 1100, 255);
    placeInTwips(m_sliGain, 360, 840, 630, 3975);
    placeInTwips(m_cmdZerodb, 360, 4920, 516, 200);
    placeInTwips(m_chkStereo, 240, 5280, 855, 255);

    m_lblChan->setAlignment(Qt::AlignCenter);
    m_lblGain->setAlignment(Qt::AlignCenter);
    m_cmdZerodb->setToolTip(QStringLiteral("Clear Command History"));
    m_sliGain->setReadout(m_lblGain);

    // The keyboard walks a strip in the order its controls were made (see the
    // header); the frame itself never takes the focus.
    setFocusPolicy(Qt::NoFocus);

    connect(m_sliGain, &FaderSlider::operatorMoved, this,
            [this](MoveSource source) { Q_EMIT gainMoved(code(), source); });
    connect(m_sliGain, &FaderSlider::released, this, &FaderStrip::letGo);
    connect(m_sliGain, &FaderSlider::keyReleased, this, &FaderStrip::FaderHomeEnd);
    connect(m_cmdZerodb, &QPushButton::clicked, this, &FaderStrip::cmdZerodb_Click);
    connect(m_sliGain, &FaderSlider::lockToggleRequested, this, &FaderStrip::toggleLock);
    connect(m_sliGain, &FaderSlider::typingRequested, this, &FaderStrip::typeGain);
    connect(m_txtGain, &GainEditor::gainTyped, this, [this](int typed) {
        m_sliGain->setFocus(Qt::OtherFocusReason);
        Q_EMIT gainTyped(typed);
    });
    m_lblGain->installEventFilter(this);
    setConfirmed(false);  // nothing is confirmed before the switcher has spoken
}

void FaderStrip::setLocked(bool locked) {
    if (locked == m_sliGain->isLocked()) return;
    m_sliGain->setLocked(locked);
    if (locked) m_txtGain->hide();
    if (m_faderNumber > 0) nameForScreenReaders(m_faderNumber);
    update();
}

bool FaderStrip::isLocked() const { return m_sliGain->isLocked(); }

void FaderStrip::setCeiling(std::optional<int16_t> code) { m_sliGain->setCeiling(code); }

void FaderStrip::toggleLock() {
    setLocked(!isLocked());
    Q_EMIT lockChanged(isLocked());
}

void FaderStrip::typeGain() {
    if (isLocked()) return;
    m_txtGain->open(m_lblGain->geometry(), code());
}

// Double-clicking the read-out opens its editor.
bool FaderStrip::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_lblGain && event->type() == QEvent::MouseButtonDblClick) {
        typeGain();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void FaderStrip::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* lock = menu.addAction(QStringLiteral("&Lock Fader"), this, &FaderStrip::toggleLock);
    lock->setCheckable(true);
    lock->setChecked(isLocked());
    lock->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    QAction* type = menu.addAction(QStringLiteral("&Type Gain..."), this, &FaderStrip::typeGain);
    type->setShortcut(QKeySequence(Qt::Key_Return));
    type->setEnabled(!isLocked());
    menu.exec(event->globalPos());
}

int16_t FaderStrip::code() const { return static_cast<int16_t>(-m_sliGain->sliderPosition()); }

void FaderStrip::showGain(int16_t code) {
    m_sliGain->setValue(-code);
    showReadout(code);
}

void FaderStrip::placeFader(int16_t code) { m_sliGain->setValue(-code); }

void FaderStrip::showReadout(int16_t code) { m_lblGain->setText(gainReadoutText(code)); }

QString FaderStrip::readoutText() const { return m_lblGain->text(); }

QString FaderStrip::channelName() const { return m_lblChan->text(); }

void FaderStrip::setChannelName(const QString& name) { m_lblChan->setText(name); }

bool FaderStrip::isStereo() const { return m_chkStereo->isChecked(); }

bool FaderStrip::stereoOffered() const { return !m_chkStereo->isHidden(); }

void FaderStrip::setStereo(bool stereo) { m_chkStereo->setChecked(stereo); }

// Without this every start-up would wipe the saved Stereo settings: the
// switcher typically sends its name table, which labels the strips, before
// its link table.
void FaderStrip::offerStereo(bool linked, bool savedStereo) {
    if (!linked) {
        m_chkStereo->setChecked(false);
    } else if (m_chkStereo->isHidden()) {
        m_chkStereo->setChecked(savedStereo);
    }
    m_chkStereo->setVisible(linked);
}

void FaderStrip::copyCaptionsFrom(const FaderStrip& other) {
    m_lblChan->setText(other.m_lblChan->text());
    m_lblGain->setText(other.m_lblGain->text());
}

// By the time the key comes up, Home or End has already put the fader at an
// end of its travel; the move itself raised no notification.
void FaderStrip::FaderHomeEnd(int key) {
    if (key == Qt::Key_Home || key == Qt::Key_End) Q_EMIT gainMoved(code(), MoveSource::HomeEnd);
}

void FaderStrip::cmdZerodb_Click() {
    if (isLocked()) return;
    // Below a ceiling lower than 0 dB the button stops at the ceiling.
    const std::optional<int16_t> ceiling = m_sliGain->ceiling();
    m_sliGain->setValue(ceiling && *ceiling < GainCode::ZeroDb ? -*ceiling
                                                               : FaderSlider::ZeroDbPosition);
    Q_EMIT gainMoved(code(), MoveSource::ZeroButton);
    m_sliGain->setFocus(Qt::OtherFocusReason);
}

void FaderStrip::moveLeftTo(int leftTwips) {
    m_leftTwips = leftTwips;
    move(twips(leftTwips), y());
}

void FaderStrip::nameForScreenReaders(int faderNumber) {
    m_faderNumber = faderNumber;
    QString name = QStringLiteral("Fader %1").arg(faderNumber);
    const QString channel = m_lblChan->text().trimmed();
    if (!channel.isEmpty()) name += QStringLiteral(", ") + channel;
    m_sliGain->setAccessibleName(isLocked() ? name + QStringLiteral(", locked") : name);
    m_cmdZerodb->setAccessibleName(name + QStringLiteral(", ") + m_cmdZerodb->text());
    m_chkStereo->setAccessibleName(name + QStringLiteral(", ") + m_chkStereo->text());
}

void FaderStrip::setConfirmed(bool confirmed) {
    m_confirmed = confirmed;
    m_lblGain->setPalette(confirmed ? palette() : dimmedPalette(palette()));
    const QString note = confirmed ? QString() : QString::fromLatin1(NotConfirmed);
    m_lblGain->setToolTip(note);
    m_sliGain->setAccessibleDescription(note);
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
    if (isLocked()) drawPadlock(painter);
}

// In the frame's top right corner, above the channel label, so that no
// control moves: a body and a shackle, about 9 by 12 pixels.
void FaderStrip::drawPadlock(QPainter& painter) const {
    const QColor ink(170, 30, 30);
    const int left = width() - 15;
    constexpr int Top = 3;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(left + 2, Top, 6, 8), 0, 180 * 16);
    painter.drawLine(QLineF(left + 2, Top + 4, left + 2, Top + 6));
    painter.drawLine(QLineF(left + 8, Top + 4, left + 8, Top + 6));
    painter.fillRect(QRectF(left, Top + 6, 10, 7), ink);
}
