// Help > About: who made the panel and which version this is. The main
// window creates it once and shows it modally as often as asked; "&Ok" only
// hides it.
#pragma once

#include <QDialog>
#include <QPixmap>

class QGroupBox;
class QLabel;
class QPushButton;

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    static const QString VersionCaption;  // product line, CR, version line

    explicit AboutDialog(const QPixmap& icon, QWidget* parent = nullptr);

    // The version label's caption exactly as set, carriage return included.
    QString lblVersionInfo() const;
    QPushButton* cmdAboutquit() const { return cmdAboutquit_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    class CaptionLabel;

    void Form_Activate();
    void cmdAboutquit_Click();

    QLabel* Image1_;
    QLabel* lblORXtitle_;
    QLabel* lblORXaddress_;
    QLabel* lblORXaddress2_;
    QGroupBox* frmVersionInfo_;
    CaptionLabel* lblVersionInfo_;
    QPushButton* cmdAboutquit_;
};
