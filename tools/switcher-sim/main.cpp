// switcher-sim: plays the switcher towards the panel over TCP, for trying the
// panel without one and for end-to-end tests. See --help.
#include <QCoreApplication>
#include <cstdio>
#include <memory>

#include "GainWander.h"
#include "MessagePrinter.h"
#include "SimOptions.h"
#include "SwitcherModel.h"
#include "SwitcherServer.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("switcher-sim"));
    const ParsedOptions parsed = parseSimOptions(QCoreApplication::arguments());
    if (parsed.helpRequested) {
        std::fputs(qPrintable(parsed.helpText), stdout);
        return 0;
    }
    if (!parsed.error.isEmpty()) {
        std::fprintf(stderr, "switcher-sim: %s (see --help)\n", qPrintable(parsed.error));
        return 2;
    }
    const SimOptions& options = parsed.options;

    MessagePrinter printer(options.quiet);
    SwitcherModel model(options.sources, options.destinations, options.maxGain);
    SwitcherServer server(options, model, printer);
    if (!server.start()) return 1;
    std::unique_ptr<GainWander> wander;
    if (options.wanderSeconds > 0) {
        wander = std::make_unique<GainWander>(model, server, options.wanderSeconds, options.seed);
    }
    return app.exec();
}
