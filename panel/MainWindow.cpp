// Start-up, menus and shutdown of the main window.
#include "MainWindow.h"

#include "PanelLook.h"

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
#include "SetupDialog.h"
#include "SwitcherLinkPort.h"
#include "Twips.h"

namespace {

constexpr int DesignClientWidthTwips = 1725;
constexpr int DesignClientHeightTwips = 6045;  // below the menu bar
constexpr int SingleStripLeftTwips = 200;

QString WithTrailingSeparator(QString folder) {
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\'))) {
        folder += QLatin1Char('/');
    }
    return folder;
}

std::unique_ptr<SwitcherLinkPort> MakeLink(const LinkFactory& makeLink, PanelState& state,
                                           PanelView& view, ErrorSink& log) {
    std::unique_ptr<SwitcherLinkPort> link;
    if (makeLink) link = makeLink(state, view, log);
    if (!link) link = std::make_unique<NullSwitcherLink>();
    return link;
}

}  // namespace

MainWindow::MainWindow(QString appPath, ErrorSink& log, LinkFactory makeLink, QWidget* parent)
    : QMainWindow(parent),
      log_(log),
      settings_(state_, log) {
    setObjectName(QStringLiteral("frmMain"));
    // One font for the whole window, the strips' own: each further face or
    // size is one more font the font system loads before the first paint.
    // Set before any child exists, since the status bar measures its text
    // as it is made, and would load the default font for nothing.
    setFont(PanelFont(PanelFontPixels));
    bank_ = new FaderBank(state_, log, this);
    statusBar_ = new LinkStatusBar(this);
    setWindowTitle(QStringLiteral("ORX Level Control"));
    setWindowIcon(QIcon(DrawAppIcon()));
    setCentralWidget(bank_);
    setStatusBar(statusBar_);
    BuildMenus();
    // The status bar adds to the design height; the bank keeps all of it.
    const int height = Twips(DesignClientHeightTwips) + menuBar()->sizeHint().height() +
                       statusBar_->minimumHeight();
    setFixedSize(Twips(DesignClientWidthTwips), height);
    connect(bank_, &FaderBank::OuterWidthWanted, this, &MainWindow::SetOuterWidth);

    link_ = MakeLink(makeLink, state_, *this, log_);
    gain_ = std::make_unique<FaderGainControl>(state_, *bank_, *link_, log_);
    Form_Load(appPath);
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildMenus() {
    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    connect(mnuFile->addAction(QStringLiteral("&Setup")), &QAction::triggered, this,
            &MainWindow::mnuSetup_Click);
    mnuFile->addSeparator();
    mnuConnect_ = mnuFile->addAction(QStringLiteral("&Connect"));
    mnuConnect_->setObjectName(QStringLiteral("mnuConnect"));
    connect(mnuConnect_, &QAction::triggered, this, &MainWindow::mnuConnect_Click);
    mnuFile->addSeparator();
    connect(mnuFile->addAction(QStringLiteral("E&xit")), &QAction::triggered, this,
            &MainWindow::mnuExit_Click);

    QMenu* mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    connect(mnuHelp->addAction(QStringLiteral("&About")), &QAction::triggered, this,
            &MainWindow::mnuAbout_Click);
}

// Each step names itself for the log; a failure skips the steps after it and
// the window opens with whatever state was reached.
void MainWindow::Form_Load(const QString& appPath) {
    QString step;
    try {
        state_.AppPath = WithTrailingSeparator(appPath);
        SetStartUpValues();
        step = QStringLiteral("Reading ini file");
        settings_.ReadIniFile();
        if (state_.FaderCount > 1) {
            bank_->LoadFaders();
        } else {
            bank_->MoveFirstStrip(SingleStripLeftTwips);
        }
        bank_->SetStereoFromLink();
        if (state_.GainStage == GainStage::DeviceId) LabelFaders();
        step = QStringLiteral("Connecting to Server");
        link_->ConnectToSwitcher();
    } catch (const std::exception&) {
        log_.LogError(step, QStringLiteral("Connection Error"));
    }
    RefreshStrips();
}

// The switcher's tables empty and the settings at their defaults, before
// "Slider.ini" may override the settings.
void MainWindow::SetStartUpValues() {
    state_.InputGains.assign(PanelState::InitialChannels, InputGain{});
    state_.OutputGains.assign(PanelState::InitialChannels, OutputGain{});
    state_.DestinationAlpha.assign(PanelState::InitialChannels, QString());
    state_.SourceLinks.assign(PanelState::InitialChannels, 0);
    state_.DestinationLinks.assign(PanelState::InitialChannels, 0);
    state_.LoadedFaders = 1;
    state_.FaderCount = 1;
    state_.Chan.assign(1, 0);
    state_.Link.assign(static_cast<size_t>(state_.FaderCount), 0);
    state_.GainStage = GainStage::DspOutput;
    state_.IPAddress = QStringLiteral("127.0.0.1");
    state_.IPPort = 1250;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void MainWindow::Form_Unload() {
    link_->DisconnectFromSwitcher();
    bank_->StoreStereoIntoLink();
    settings_.WriteIniFile();
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window != this && window->isVisible()) window->close();
    }
}

void MainWindow::mnuSetup_Click() {
    bank_->StoreStereoIntoLink();
    {
        SetupDialog frmSetup(state_, log_, this);
        if (frmSetup.exec() == QDialog::Accepted && frmSetup.Choices()) {
            RecordSetupChoices(*frmSetup.Choices());
        }
    }
    if (state_.FaderCount > state_.LoadedFaders) {
        bank_->LoadFaders();
    } else if (state_.FaderCount < state_.LoadedFaders) {
        bank_->UnloadFaders();
    }
    LabelFaders();
    gain_->UpdateGain();
}

// The settings change together; the link moves only when the switcher's
// address or port did, and before the file is written.
void MainWindow::RecordSetupChoices(const SetupChoices& choices) {
    state_.FaderCount = choices.count;
    state_.GainStage = choices.gainStage;
    state_.Chan = choices.channels;
    state_.Link.resize(static_cast<size_t>(choices.count), 0);
    if (choices.address != state_.IPAddress || choices.port != state_.IPPort) {
        link_->DisconnectFromSwitcher();
        state_.IPPort = choices.port;
        state_.IPAddress = choices.address;
        link_->ConnectToSwitcher();
    }
    gain_->StartGainTimer();
    settings_.WriteIniFile();
}

void MainWindow::mnuConnect_Click() {
    if (state_.Connected) {
        link_->DisconnectFromSwitcher();
    } else {
        link_->ConnectToSwitcher();
    }
}

void MainWindow::mnuExit_Click() { close(); }

void MainWindow::mnuAbout_Click() {
    if (!frmAbout_) frmAbout_ = new AboutDialog(DrawAppIcon(), this);
    frmAbout_->exec();
}

void MainWindow::LabelFaders() {
    bank_->LabelFaders();
    RefreshStrips();
}

// Strips come and go with the setup dialog and are relabelled by the
// switcher's tables; each time, their accessible names follow the labels and
// new strips learn whether the switcher confirms what they show.
void MainWindow::RefreshStrips() {
    for (int i = 0; i < bank_->StripCount(); ++i) {
        FaderStrip& strip = bank_->Strip(i);
        strip.NameForScreenReaders(i + 1);
        strip.SetConfirmed(live_);
    }
}

void MainWindow::ShowLinkStatus(const LinkStatus& status) {
    statusBar_->Show(status);
    const bool live = status.phase == LinkPhase::Live;
    if (live == live_) return;
    live_ = live;
    for (int i = 0; i < bank_->StripCount(); ++i) bank_->Strip(i).SetConfirmed(live_);
}

void MainWindow::RequestRefresh() { gain_->RequestRefresh(); }

void MainWindow::SetConnectCaption(const QString& caption) { mnuConnect_->setText(caption); }

void MainWindow::ShowConnectFailure() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tavrel"),
                    QStringLiteral("Unable to connect to remote host"), QMessageBox::Ok, this);
    box.exec();
}

void MainWindow::SetOuterWidth(int twips) {
    outerWidthTwips_ = twips;
    KeepOuterWidth();
}

// The outer width includes the frame that the platform puts around the
// client area. Its size is known only once the platform window exists, and
// with some window managers only after it is shown, so it is applied again
// when it may have changed.
void MainWindow::KeepOuterWidth() {
    if (outerWidthTwips_ <= 0) return;
    const int frameExtra = frameGeometry().width() - width();
    setFixedWidth(Twips(outerWidthTwips_) - frameExtra);
}

bool MainWindow::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    switch (event->type()) {
        case QEvent::Polish:
        case QEvent::Show:
        case QEvent::Move:
            KeepOuterWidth();
            break;
        default:
            break;
    }
    return handled;
}
