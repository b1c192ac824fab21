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

    QString text() const { return text_; }
    void setText(const QString& text) {
        text_ = text;
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        QPainter painter(this);
        QString shown = text_;
        shown.replace(QChar(u'\r'), QChar(u'\n'));
        style()->drawItemText(&painter, contentsRect(), Qt::AlignLeft | Qt::AlignTop, palette(),
                              isEnabled(), shown, foregroundRole());
    }

private:
    QString text_;
};

AboutDialog::AboutDialog(const QPixmap& icon, QWidget* parent)
    : QDialog(parent),
      Image1_(new QLabel(this)),
      lblORXtitle_(new QLabel(QStringLiteral("Tavrel"), this)),
      lblORXaddress_(new QLabel(QStringLiteral("4 Millbrook Yard, Eastwick Vale"), this)),
      lblORXaddress2_(new QLabel(QStringLiteral("Tel. 555-0143   www.tavrel.example"), this)),
      frmVersionInfo_(new QGroupBox(QStringLiteral("Version Information"), this)),
      lblVersionInfo_(new CaptionLabel(frmVersionInfo_)),
      cmdAboutquit_(new QPushButton(QStringLiteral("&Ok"), this)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("ORX Server Module Information"));
    setFont(PanelFont(11));
    setFixedSize(Twips(5160), Twips(2160));

    Image1_->setPixmap(icon);
    PlaceInTwips(Image1_, 120, 105, 480, 480);
    // 9.75 points is 13 pixels at 96 dots per inch.
    lblORXtitle_->setFont(PanelFont(13, true));
    PlaceInTwips(lblORXtitle_, 1200, 90, 3810, 240);
    lblORXaddress_->setFont(PanelFont(9));
    PlaceInTwips(lblORXaddress_, 1200, 300, 3810, 180);
    lblORXaddress2_->setFont(PanelFont(9));
    PlaceInTwips(lblORXaddress2_, 1200, 465, 3810, 180);
    PlaceInTwips(frmVersionInfo_, 120, 960, 2895, 975);
    lblVersionInfo_->setObjectName(QStringLiteral("lblVersionInfo"));
    PlaceInTwips(lblVersionInfo_, 120, 360, 2655, 495);
    PlaceInTwips(cmdAboutquit_, 3240, 1200, 1785, 495);

    cmdAboutquit_->setDefault(true);
    cmdAboutquit_->setFocus();
    connect(cmdAboutquit_, &QPushButton::clicked, this, &AboutDialog::cmdAboutquit_Click);
}

QString AboutDialog::lblVersionInfo() const { return lblVersionInfo_->text(); }

void AboutDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Form_Activate();
}

void AboutDialog::Form_Activate() { lblVersionInfo_->setText(VersionCaption); }

// Hiding ends the modal showing but keeps the dialog for the next time.
void AboutDialog::cmdAboutquit_Click() { hide(); }
