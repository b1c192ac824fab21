// The maker and version information, laid out in twips as designed.
#include "AboutDialog.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include "PanelLook.h"

const QString AboutDialog::VersionCaption =
    QStringLiteral("ORX Output Level Control") + QChar(u'\r') + QStringLiteral("1.06 - 04/06/20");

// A label whose caption keeps its lone carriage returns (QLabel would draw
// one as a blank) yet shows each as a line break.
class AboutDialog::CaptionLabel : public QFrame {
public:
    using QFrame::QFrame;

    QString text() const { return m_text; }
    void setText(const QString& text) {
        m_text = text;
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        QPainter painter(this);
        QString shown = m_text;
        shown.replace(QChar(u'\r'), QChar(u'\n'));
        style()->drawItemText(&painter, contentsRect(), Qt::AlignLeft | Qt::AlignTop, palette(),
                              isEnabled(), shown, foregroundRole());
    }

private:
    QString m_text;
};

AboutDialog::AboutDialog(const QPixmap& icon, QWidget* parent)
    : QDialog(parent),
      m_image1(new QLabel(this)),
      m_lblOrXtitle(new QLabel(QStringLiteral("Tavrel"), this)),
      m_lblOrXaddress(new QLabel(QStringLiteral("4 Millbrook Yard, Eastwick Vale"), this)),
      m_lblOrXaddress2(new QLabel(QStringLiteral("Tel. 555-0143   www.tavrel.example"), this)),
      m_frmVersionInfo(new QGroupBox(QStringLiteral("Version Information"), this)),
      m_lblVersionInfo(new CaptionLabel(m_frmVersionInfo)),
      m_cmdAboutquit(new QPushButton(QStringLiteral("&Ok"), this)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("ORX Server Module Information"));
    setFont(panelFont(11));
    setFixedSize(twips(5160), twips(2160));

    m_image1->setPixmap(icon);
    placeInTwips(m_image1, 120, 105, 480, 480);
    // 9.75 points is 13 pixels at 96 dots per inch.
    m_lblOrXtitle->setFont(panelFont(13, true));
    placeInTwips(m_lblOrXtitle, 1200, 90, 3810, 240);
    m_lblOrXaddress->setFont(panelFont(9));
    placeInTwips(m_lblOrXaddress, 1200, 300, 3810, 180);
    m_lblOrXaddress2->setFont(panelFont(9));
    placeInTwips(m_lblOrXaddress2, 1200, 465, 3810, 180);
    placeInTwips(m_frmVersionInfo, 120, 960, 2895, 975);
    m_lblVersionInfo->setObjectName(QStringLiteral("lblVersionInfo"));
    placeInTwips(m_lblVersionInfo, 120, 360, 2655, 495);
    placeInTwips(m_cmdAboutquit, 3240, 1200, 1785, 495);

    m_cmdAboutquit->setDefault(true);
    m_cmdAboutquit->setFocus();
    connect(m_cmdAboutquit, &QPushButton::clicked, this, &AboutDialog::cmdAboutquit_Click);
}

QString AboutDialog::lblVersionInfo() const { return m_lblVersionInfo->text(); }

void AboutDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Form_Activate();
}

void AboutDialog::Form_Activate() { m_lblVersionInfo->setText(VersionCaption); }

// Hiding ends the modal showing but keeps the dialog for the next time.
void AboutDialog::cmdAboutquit_Click() { hide(); }
