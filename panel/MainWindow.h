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
class QAction;
struct SetupChoices;

class MainWindow : public QMainWindow, public PanelView {
    Q_OBJECT
public:
    // appPath: the folder that holds "Slider.ini" (and the error log).
    MainWindow(QString appPath, ErrorSink& log, LinkFactory makeLink, QWidget* parent = nullptr);
    ~MainWindow() override;

    PanelState& State() { return state_; }
    FaderBank& Bank() { return *bank_; }
    FaderGainControl& Gain() { return *gain_; }
    LinkStatusBar& LinkBar() { return *statusBar_; }
    QAction* mnuConnect() const { return mnuConnect_; }

    // PanelView
    void LabelFaders() override;
    void RequestRefresh() override;
    void SetConnectCaption(const QString& caption) override;
    void ShowConnectFailure() override;
    void ShowLinkStatus(const LinkStatus& status) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void BuildMenus();
    void Form_Load(const QString& appPath);
    void Form_Unload();
    void SetStartUpValues();
    void mnuSetup_Click();
    void RecordSetupChoices(const SetupChoices& choices);
    void mnuConnect_Click();
    void mnuExit_Click();
    void mnuAbout_Click();
    void SetOuterWidth(int twips);
    void KeepOuterWidth();
    void RefreshStrips();

    ErrorSink& log_;
    PanelState state_;
    SettingsFile settings_;
    FaderBank* bank_ = nullptr;
    LinkStatusBar* statusBar_ = nullptr;
    bool live_ = false;  // the switcher confirms what the faders show
    QAction* mnuConnect_ = nullptr;
    AboutDialog* frmAbout_ = nullptr;  // created on first use, then kept
    int outerWidthTwips_ = 0;          // 0: the design client width still holds
    std::unique_ptr<SwitcherLinkPort> link_;
    std::unique_ptr<FaderGainControl> gain_;  // uses link_: destroyed first
};
