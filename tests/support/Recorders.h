// Recording stand-ins for the panel's narrow interfaces.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include "ErrorSink.h"
#include "LinkContext.h"
#include "PanelView.h"
#include "SwitcherLinkPort.h"

// Keeps every entry as (description, location).
class RecordingLog : public ErrorSink {
public:
    void LogError(const QString& description, const QString& location) override {
        entries.append({description, location});
    }
    QList<QPair<QString, QString>> entries;
};

class RecordingView : public PanelView {
public:
    void LabelFaders() override { ++labelCalls; }
    void requestRefresh() override { ++refreshRequests; }
    void setConnectCaption(const QString& caption) override { captions.append(caption); }
    void showConnectFailure() override { ++connectFailures; }
    void showLinkStatus(const LinkStatus& status) override { statuses.append(status); }

    int labelCalls = 0;
    int refreshRequests = 0;
    int connectFailures = 0;
    QStringList captions;
    QList<LinkStatus> statuses;
};

// What the window asked the link to do, one call per entry.
class RecordingLink : public SwitcherLinkPort {
public:
    struct GainCall {
        bool stereo;
        int16_t stage, code, channel, extraOrCount;
    };
    void SendGainMessage(int16_t stage, int16_t code, int16_t channel, int16_t extra) override {
        gains.append({false, stage, code, channel, extra});
    }
    void SendStereoGainMessage(int16_t stage, int16_t code, int16_t first, int16_t count) override {
        gains.append({true, stage, code, first, count});
    }
    void ConnectToSwitcher() override { ++connects; }
    void DisconnectFromSwitcher() override { ++disconnects; }

    QList<GainCall> gains;
    int connects = 0;
    int disconnects = 0;
};
