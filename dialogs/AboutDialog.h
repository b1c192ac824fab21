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
    QPushButton* cmdAboutquit() const { return m_cmdAboutquit; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    class CaptionLabel;

    void Form_Activate();
    void cmdAboutquit_Click();

    QLabel* m_image1;
    QLabel* m_lblOrXtitle;
    QLabel* m_lblOrXaddress;
    QLabel* m_lblOrXaddress2;
    QGroupBox* m_frmVersionInfo;
    CaptionLabel* m_lblVersionInfo;
    QPushButton* m_cmdAboutquit;
};
