// A panel state with sinks that only count, for timing the link code alone:
// the view does no drawing, the log writes no file, sends go nowhere.
#pragma once

#include "ErrorSink.h"
#include "LinkContext.h"
#include "PanelState.h"
#include "PanelView.h"

struct CountingView : PanelView {
    void LabelFaders() override { ++calls; }
    void requestRefresh() override { ++calls; }
    void setConnectCaption(const QString&) override { ++calls; }
    void showConnectFailure() override { ++calls; }
    long calls = 0;
};

struct CountingLog : ErrorSink {
    void LogError(const QString&, const QString&) override { ++entries; }
    long entries = 0;
};

struct CountingSender : MessageSender {
    void SendToSwitcher(const QByteArray&) override { ++messages; }
    long messages = 0;
};

// As the panel stands once a large switcher has sent its tables: the counts
// known, so every gain that can be stored is.
struct NullPanel {
    NullPanel() {
        state.SourceCount = 1536;
        state.DestinationCount = 1536;
    }
    PanelState state;
    CountingView view;
    CountingLog log;
    CountingSender sender;
    LinkContext ctx{state, view, log, sender};
};
