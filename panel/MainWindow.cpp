// Start-up, menus and shutdown of the main window.
#include "MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <stdexcept>

#include "AboutDialog.h"
#include "AppIcon.h"
#include "ErrorSink.h"
#include "FaderBank.h"
#include "FaderGainControl.h"
#include "FaderStrip.h"
#include "LinkStatusBar.h"
#include "OperatorFeatures.h"
#include "PanelLook.h"
#include "SetupDialog.h"
#include "SwitcherLinkPort.h"
#include "Twips.h"

namespace {

constexpr int DesignClientWidthTwips = 1725;
constexpr int DesignClientHeightTwips = 6045;  // below the menu bar
constexpr int SingleStripLeftTwips = 200;

QString withTrailingSeparator(QString folder) {
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\'))) {
        folder += QLatin1Char('/');
    }
    return folder;
}

std::unique_ptr<SwitcherLinkPort> linkFrom(const LinkFactory& makeLink, PanelState& state,
                                           PanelView& view, ErrorSink& log) {
    std::unique_ptr<SwitcherLinkPort> link;
    if (makeLink) link = makeLink(state, view, log);
    if (!link) link = std::make_unique<NullSwitcherLink>();
    return link;
}

}  // namespace

MainWindow::MainWindow(const QString& appPath, ErrorSink& log, const LinkFactory& makeLink,
                       const QString& journalFolder, QWidget* parent)
    : QMainWindow(parent), m_log(log), m_settings(m_state, log) {
    setObjectName(QStringLiteral("frmMain"));
    // One font for the whole window, the strips' own: each further face or
    // size is one more font the font system loads before the first paint.
    // Set before any child exists, since the status bar measures its text
    // as it is made, and would load the default font for nothing.
    setFont(panelFont(PanelFontPixels));
    m_bank = new FaderBank(m_state, log, this);
    m_statusBar = new LinkStatusBar(this);
    setWindowTitle(QStringLiteral("ORX Level Control"));
    setWindowIcon(QIcon(drawAppIcon()));
    setCentralWidget(m_bank);
    setStatusBar(m_statusBar);
    buildMenus();
    // The status bar adds to the design height; the bank keeps all of it.
    const int height = twips(DesignClientHeightTwips) + menuBar()->sizeHint().height() +
                       m_statusBar->minimumHeight();
    setFixedSize(twips(DesignClientWidthTwips), height);
    connect(m_bank, &FaderBank::outerWidthWanted, this, &MainWindow::setOuterWidth);

    m_link = linkFrom(makeLink, m_state, *this, m_log);
    m_gain = std::make_unique<FaderGainControl>(m_state, *m_bank, *m_link, m_log);
    const QString settingsFolder = withTrailingSeparator(appPath);
    m_features = std::make_unique<OperatorFeatures>(
        m_state, *m_bank, *m_gain, m_log, settingsFolder,
        journalFolder.isEmpty() ? settingsFolder : withTrailingSeparator(journalFolder), this);
    m_features->addMenus(menuBar(), m_mnuHelp->menuAction());
    Form_Load(appPath);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus() {
    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    connect(mnuFile->addAction(QStringLiteral("&Setup")), &QAction::triggered, this,
            &MainWindow::mnuSetup_Click);
    mnuFile->addSeparator();
    m_mnuConnect = mnuFile->addAction(QStringLiteral("&Connect"));
    m_mnuConnect->setObjectName(QStringLiteral("mnuConnect"));
    connect(m_mnuConnect, &QAction::triggered, this, &MainWindow::mnuConnect_Click);
    mnuFile->addSeparator();
    connect(mnuFile->addAction(QStringLiteral("E&xit")), &QAction::triggered, this,
            &MainWindow::mnuExit_Click);

    QMenu* mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    m_mnuHelp = mnuHelp;
    connect(mnuHelp->addAction(QStringLiteral("&About")), &QAction::triggered, this,
            &MainWindow::mnuAbout_Click);
}

// Each step names itself for the log; a failure skips the steps after it and
// the window opens with whatever state was reached. The state starts with
// its start-up values (see PanelState) before the settings file is read.
void MainWindow::Form_Load(const QString& appPath) {
    QString step;
    try {
        m_state.AppPath = withTrailingSeparator(appPath);
        step = QStringLiteral("Reading ini file");
        m_settings.ReadIniFile();
        if (m_state.FaderCount > 1) {
            m_bank->LoadFaders();
        } else {
            m_bank->moveFirstStrip(SingleStripLeftTwips);
        }
        m_bank->setStereoFromLink();
        if (m_state.GainStage == GainStage::DeviceId) LabelFaders();
        step = QStringLiteral("Connecting to Server");
        m_link->ConnectToSwitcher();
    } catch (const std::exception&) {
        m_log.LogError(step, QStringLiteral("Connection Error"));
    }
    refreshStrips();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void MainWindow::Form_Unload() {
    m_features->shutDown();
    m_link->DisconnectFromSwitcher();
    m_bank->storeStereoIntoLink();
    m_settings.WriteIniFile();
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window != this && window->isVisible()) window->close();
    }
}

void MainWindow::mnuSetup_Click() {
    m_bank->storeStereoIntoLink();
    const int16_t oldStage = m_state.GainStage;
    const std::vector<int16_t> oldChannels = m_state.Chan;
    {
        SetupDialog frmSetup(m_state, m_log, this);
        if (frmSetup.exec() == QDialog::Accepted && frmSetup.choices()) {
            recordSetupChoices(*frmSetup.choices());
        }
    }
    if (m_state.FaderCount > m_state.LoadedFaders) {
        m_bank->LoadFaders();
    } else if (m_state.FaderCount < m_state.LoadedFaders) {
        m_bank->UnloadFaders();
    }
    LabelFaders();
    m_gain->UpdateGain();
    m_features->setupChanged(oldStage, oldChannels);
}

// The settings change together; the link moves only when the switcher's
// address or port did, and before the file is written.
void MainWindow::recordSetupChoices(const SetupChoices& choices) {
    m_state.FaderCount = choices.count;
    m_state.GainStage = choices.gainStage;
    m_state.Chan = choices.channels;
    m_state.Link.resize(static_cast<size_t>(choices.count), 0);
    if (choices.address != m_state.IPAddress || choices.port != m_state.IPPort) {
        m_link->DisconnectFromSwitcher();
        m_state.IPPort = choices.port;
        m_state.IPAddress = choices.address;
        m_link->ConnectToSwitcher();
    }
    m_gain->startGainTimer();
    m_settings.WriteIniFile();
}

void MainWindow::mnuConnect_Click() {
    if (m_state.Connected) {
        m_link->DisconnectFromSwitcher();
    } else {
        m_link->ConnectToSwitcher();
    }
}

void MainWindow::mnuExit_Click() { close(); }

void MainWindow::mnuAbout_Click() {
    if (!m_frmAbout) m_frmAbout = new AboutDialog(drawAppIcon(), this);
    m_frmAbout->exec();
}

void MainWindow::LabelFaders() {
    m_bank->LabelFaders();
    refreshStrips();
}

// Strips come and go with the setup dialog and are relabelled by the
// switcher's tables; each time, their accessible names follow the labels and
// new strips learn whether the switcher confirms what they show.
void MainWindow::refreshStrips() {
    for (int i = 0; i < m_bank->stripCount(); ++i) {
        FaderStrip& strip = m_bank->strip(i);
        strip.nameForScreenReaders(i + 1);
        strip.setConfirmed(m_live);
    }
}

void MainWindow::showLinkStatus(const LinkStatus& status) {
    m_statusBar->showStatus(status);
    if (m_features) m_features->linkChanged(status);
    const bool live = status.phase == LinkPhase::Live;
    if (live == m_live) return;
    m_live = live;
    for (int i = 0; i < m_bank->stripCount(); ++i) m_bank->strip(i).setConfirmed(m_live);
}

void MainWindow::requestRefresh() { m_gain->requestRefresh(); }

void MainWindow::gainReported(int16_t stage, int channel) {
    m_features->gainReported(stage, channel);
}

void MainWindow::setConnectCaption(const QString& caption) { m_mnuConnect->setText(caption); }

void MainWindow::showConnectFailure() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tavrel"),
                    QStringLiteral("Unable to connect to remote host"), QMessageBox::Ok, this);
    box.exec();
}

void MainWindow::setOuterWidth(int twips) {
    m_outerWidthTwips = twips;
    keepOuterWidth();
}

// The outer width includes the frame that the platform puts around the
// client area. Its size is known only once the platform window exists, and
// with some window managers only after it is shown, so it is applied again
// when it may have changed.
void MainWindow::keepOuterWidth() {
    if (m_outerWidthTwips > 0) {
        const int frameExtra = frameGeometry().width() - width();
        setFixedWidth(twips(m_outerWidthTwips) - frameExtra);
    }
    keepHelpInSight();
}

// File and Help were the panel's only menus and stay in sight: when the bar
// is too narrow for all four (one fader wide), Help moves in beside File and
// the Edit and Snapshots menus go behind the bar's chevron, their access
// keys still working.
void MainWindow::keepHelpInSight() {
    if (!m_features) return;  // the menus are not all there yet
    QMenuBar* bar = menuBar();
    QAction* help = m_mnuHelp->menuAction();
    const bool allFit = bar->sizeHint().width() <= width();
    const int wanted = allFit ? static_cast<int>(bar->actions().size()) - 1 : 1;
    if (bar->actions().indexOf(help) == wanted) return;
    bar->removeAction(help);
    bar->insertAction(bar->actions().value(wanted, nullptr), help);
}

bool MainWindow::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    switch (event->type()) {
        case QEvent::Polish:
        case QEvent::Show:
        case QEvent::Move:
            keepOuterWidth();
            break;
        default:
            break;
    }
    return handled;
}
