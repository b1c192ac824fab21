#include "SimOptions.h"

#include <QCommandLineParser>
#include <QHostAddress>
#include <QRegularExpression>
#include <cmath>
#include <functional>

namespace {

constexpr int LargestSide = 1024;  // the panel's crosspoint map holds no more
constexpr int LargestCode = 16383;
constexpr int ZeroDbCode = 1024;

QList<QCommandLineOption> optionList() {
    return {
        {QStringLiteral("port"),
         QStringLiteral("TCP port to listen on; 0 takes any free port "
                        "(default 1250)."),
         QStringLiteral("N")},
        {QStringLiteral("listen"), QStringLiteral("Address to listen on (default 127.0.0.1)."),
         QStringLiteral("ADDRESS")},
        {QStringLiteral("sources"), QStringLiteral("Number of sources, 1 to 1024 (default 32)."),
         QStringLiteral("S")},
        {QStringLiteral("destinations"),
         QStringLiteral("Number of destinations, 1 to 1024 (default 32)."), QStringLiteral("D")},
        {QStringLiteral("advanced"),
         QStringLiteral("Report gains as advanced gain messages (0xE0) instead of 0xE3.")},
        {QStringLiteral("max-gain"),
         QStringLiteral("Largest gain taken: a code (1024 = 0 dB) or decibels such as 10dB; "
                        "higher requests are limited to it and reported so."),
         QStringLiteral("CODE|DB")},
        {QStringLiteral("wander"),
         QStringLiteral("Every SECONDS move the gain of one of the first eight channels of a "
                        "stage by itself (0 = never, the default)."),
         QStringLiteral("SECONDS")},
        {QStringLiteral("keepalive"),
         QStringLiteral("Every SECONDS send 0xF5 and expect 0xF4 (default 5, 0 = never)."),
         QStringLiteral("SECONDS")},
        {QStringLiteral("split"), QStringLiteral("Write in random small pieces, a few ms apart.")},
        {QStringLiteral("corrupt"),
         QStringLiteral("Corrupt the checksum of every Nth message sent that has one (0 = never)."),
         QStringLiteral("N")},
        {QStringLiteral("close-after"),
         QStringLiteral("Close a panel's connection once N messages have gone either way on it, "
                        "keep-alives included (0 = never)."),
         QStringLiteral("N")},
        {QStringLiteral("outage"),
         QStringLiteral("AFTER seconds after start, stop listening and drop every connection; "
                        "DURATION seconds later listen again on the same port."),
         QStringLiteral("AFTER:DURATION")},
        {QStringLiteral("seed"),
         QStringLiteral("Seed of the random choices of --split and --wander (default 1)."),
         QStringLiteral("N")},
        {QStringLiteral("quiet"), QStringLiteral("Print no line per message, only events.")},
    };
}

std::optional<double> seconds(const QString& text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0 || value > 86400) return std::nullopt;
    return value;
}

std::optional<int> wholeNumber(const QString& text, int lowest, int highest) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < lowest || value > highest) return std::nullopt;
    return value;
}

// Each option's text goes through its reader; the first one refused is the error.
class OptionReader {
public:
    OptionReader(const QCommandLineParser& parser, QString& error)
        : m_parser(parser), m_error(error) {}

    template <typename Value>
    void take(const char* name, const std::function<std::optional<Value>(const QString&)>& parse,
              const std::function<void(Value)>& store) {
        const QString option = QString::fromLatin1(name);
        if (!m_error.isEmpty() || !m_parser.isSet(option)) return;
        const QString text = m_parser.value(option);
        if (const std::optional<Value> value = parse(text)) {
            store(*value);
        } else {
            m_error = QStringLiteral("invalid value for --%1: '%2'").arg(option, text);
        }
    }

private:
    const QCommandLineParser& m_parser;
    QString& m_error;
};

std::function<std::optional<int>(const QString&)> range(int lowest, int highest) {
    return [lowest, highest](const QString& text) { return wholeNumber(text, lowest, highest); };
}

std::optional<std::pair<double, double>> outage(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 2) return std::nullopt;
    const std::optional<double> after = seconds(parts[0]);
    const std::optional<double> duration = seconds(parts[1]);
    if (!after || !duration || *duration <= 0) return std::nullopt;
    return std::make_pair(*after, *duration);
}

std::optional<QString> address(const QString& text) {
    if (QHostAddress(text).isNull()) return std::nullopt;
    return text;
}

void readOptions(const QCommandLineParser& parser, SimOptions& o, QString& error) {
    OptionReader read(parser, error);
    read.take<int>("port", range(0, 65535), [&](int v) { o.port = static_cast<uint16_t>(v); });
    read.take<QString>("listen", address, [&](const QString& v) { o.listenAddress = v; });
    read.take<int>("sources", range(1, LargestSide), [&](int v) { o.sources = v; });
    read.take<int>("destinations", range(1, LargestSide), [&](int v) { o.destinations = v; });
    read.take<int16_t>("max-gain", parseGainLimit, [&](int16_t v) { o.maxGain = v; });
    read.take<double>("wander", seconds, [&](double v) { o.wanderSeconds = v; });
    read.take<double>("keepalive", seconds, [&](double v) { o.keepAliveSeconds = v; });
    read.take<int>("corrupt", range(0, 1000000), [&](int v) { o.corruptEvery = v; });
    read.take<int>("close-after", range(0, 1000000), [&](int v) { o.closeAfter = v; });
    read.take<std::pair<double, double>>("outage", outage, [&](std::pair<double, double> v) {
        o.outageAfterSeconds = v.first;
        o.outageSeconds = v.second;
    });
    read.take<int>("seed", range(0, 2147483647), [&](int v) { o.seed = static_cast<uint32_t>(v); });
    o.advanced = parser.isSet(QStringLiteral("advanced"));
    o.split = parser.isSet(QStringLiteral("split"));
    o.quiet = parser.isSet(QStringLiteral("quiet"));
}

}  // namespace

std::optional<int16_t> parseGainLimit(const QString& text) {
    static const QRegularExpression decibels(
        QStringLiteral("^\\s*([+-]?\\d+(?:\\.\\d+)?)\\s*dB\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = decibels.match(text);
    if (match.hasMatch()) {
        const double code = ZeroDbCode + std::round(match.captured(1).toDouble() * 10);
        if (code < 0 || code > LargestCode) return std::nullopt;
        return static_cast<int16_t>(code);
    }
    const std::optional<int> code = wholeNumber(text.trimmed(), 0, LargestCode);
    if (!code) return std::nullopt;
    return static_cast<int16_t>(*code);
}

ParsedOptions parseSimOptions(const QStringList& arguments) {
    ParsedOptions parsed;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays the switcher towards one or more panels, for trying and testing "
                       "the panel without one. Prints one line per message: the panel number, "
                       "-> for sent or <- for received, the bytes in hex and their meaning."));
    const QCommandLineOption help = parser.addHelpOption();
    parser.addOptions(optionList());
    parsed.helpText = parser.helpText();
    if (!parser.parse(arguments)) {
        parsed.error = parser.errorText();
        return parsed;
    }
    // Qt's help option also offers --help-all, which must not start a switcher.
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        parsed.helpRequested = true;
        return parsed;
    }
    if (!parser.positionalArguments().isEmpty()) {
        parsed.error =
            QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments()[0]);
        return parsed;
    }
    readOptions(parser, parsed.options, parsed.error);
    return parsed;
}
