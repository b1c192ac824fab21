// Renders the main window with eight labelled faders, and optionally the
// About and Setup dialogs, into PNG files:
//   QT_QPA_PLATFORM=offscreen panel-screenshot OUT.png [ABOUT.png [SETUP.png]]
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

#include "AboutDialog.h"
#include "AppIcon.h"
#include "ErrorSink.h"
#include "FaderGainControl.h"
#include "MainWindow.h"
#include "PanelStyle.h"
#include "SetupDialog.h"
#include "SwitcherLinkPort.h"

namespace {

class StderrLog : public ErrorSink {
public:
    void LogError(const QString& description, const QString& location) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(location), qPrintable(description));
    }
};

struct SampleFader {
    const char* name;
    int16_t link;
    int16_t gain;
};

constexpr SampleFader Samples[] = {
    {"PGM L", 1, 1024}, {"PGM R", 1, 1024}, {"MIC 1", 0, 1029}, {"MIC 12 L", 0, 1000},
    {"AUX 1 L", 1, 25}, {"AUX 1 R", 1, 24}, {"MON L", 0, 1264}, {"TALKBACK", 0, 700},
};
constexpr int SampleCount = static_cast<int>(sizeof(Samples) / sizeof(Samples[0]));

bool writeSettings(const QString& folder) {
    QFile file(folder + QStringLiteral("/Slider.ini"));
    if (!file.open(QIODevice::WriteOnly)) return false;
    QTextStream out(&file);
    out << "[CONFIGURATION]\r\nGain Stage=15\r\nFader Count=" << SampleCount << "\r\n";
    for (int n = 1; n <= SampleCount; ++n) {
        const int link = n == 1 || n == 5 ? 1 : 0;  // a couple of Stereo boxes ticked
        out << "Chan " << n << "=" << n << "\r\nLink " << n << "=" << link << "\r\n";
    }
    out << "IP Address=127.0.0.1\r\nIP Port=1250\r\n";
    return true;
}

void fillSwitcherTables(PanelState& state) {
    for (int i = 0; i < SampleCount; ++i) {
        state.DestinationAlpha[static_cast<size_t>(i)] = QString::fromLatin1(Samples[i].name);
        state.DestinationLinks[static_cast<size_t>(i)] = Samples[i].link;
        state.OutputGains[static_cast<size_t>(i)].DspOutput = Samples[i].gain;
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(new PanelStyle);  // the look the program's main gives
    if (argc < 2) {
        std::fprintf(stderr, "usage: panel-screenshot OUT.png [ABOUT.png [SETUP.png]]\n");
        return 2;
    }
    QTemporaryDir folder;
    if (!folder.isValid() || !writeSettings(folder.path())) {
        std::fprintf(stderr, "cannot write the sample settings\n");
        return 1;
    }
    StderrLog log;
    MainWindow window(folder.path(), log, [](PanelState&, PanelView&, ErrorSink&) {
        return std::make_unique<NullSwitcherLink>();
    });
    fillSwitcherTables(window.state());
    window.LabelFaders();
    window.gain().UpdateGain();
    window.show();
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) return 1;

    if (argc > 2) {
        AboutDialog about(drawAppIcon());
        about.show();
        QApplication::processEvents();
        if (!about.grab().save(QString::fromLocal8Bit(argv[2]))) return 1;
    }
    if (argc > 3) {
        SetupDialog setup(window.state(), log, &window);
        setup.show();
        QApplication::processEvents();
        if (!setup.grab().save(QString::fromLocal8Bit(argv[3]))) return 1;
    }
    return 0;
}
