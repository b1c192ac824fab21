// frmMain: the panel's one long-lived window. It owns the shared state, the
// fader bank, the link status bar under it, the gain control and the switcher
// link, and carries out the start-up, the menu commands and the shutdown.
#pragma once

#include <QMainWindow>
#include <memory>

#include "LinkFactory.h"
#include "PanelState.h"
#include "PanelView.h"
#include "SettingsFile.h"

class AboutDialog;
class FaderBank;
class FaderGainControl;
class LinkStatusBar;
class OperatorFeatures;
class QMenu;
class QAction;
struct SetupChoices;

class MainWindow : public QMainWindow, public PanelView {
    Q_OBJECT
public:
    // appPath: the folder that holds "Slider.ini" and "Panel.ini";
    // journalFolder the one of "Operator.log" (appPath when empty).
    MainWindow(const QString& appPath, ErrorSink& log, const LinkFactory& makeLink,
               const QString& journalFolder = QString(), QWidget* parent = nullptr);
    ~MainWindow() override;

    PanelState& state() { return m_state; }
    FaderBank& bank() { return *m_bank; }
    FaderGainControl& gain() { return *m_gain; }
    LinkStatusBar& linkBar() { return *m_statusBar; }
    OperatorFeatures& features() { return *m_features; }
    QAction* mnuConnect() const { return m_mnuConnect; }

    // PanelView
    void LabelFaders() override;
    void requestRefresh() override;
    void setConnectCaption(const QString& caption) override;
    void showConnectFailure() override;
    void showLinkStatus(const LinkStatus& status) override;
    void gainReported(int16_t stage, int channel) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildMenus();
    void Form_Load(const QString& appPath);
    void Form_Unload();
    void mnuSetup_Click();
    void recordSetupChoices(const SetupChoices& choices);
    void mnuConnect_Click();
    void mnuExit_Click();
    void mnuAbout_Click();
    void setOuterWidth(int twips);
    void keepOuterWidth();
    void keepHelpInSight();
    void refreshStrips();

    ErrorSink& m_log;
    PanelState m_state;
    SettingsFile m_settings;
    FaderBank* m_bank = nullptr;
    LinkStatusBar* m_statusBar = nullptr;
    bool m_live = false;  // the switcher confirms what the faders show
    QAction* m_mnuConnect = nullptr;
    QMenu* m_mnuHelp = nullptr;
    AboutDialog* m_frmAbout = nullptr;  // created on first use, then kept
    int m_outerWidthTwips = 0;          // 0: the design client width still holds
    std::unique_ptr<SwitcherLinkPort> m_link;
    std::unique_ptr<FaderGainControl> m_gain;      // uses m_link: destroyed first
    std::unique_ptr<OperatorFeatures> m_features;  // uses m_gain: destroyed first
};
