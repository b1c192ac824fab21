// The switcher's side of the exchange built from its model: the tables a
// panel asks for, the crosspoint map and gain reports, each with the text the
// message log prints for it.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

#include "SwitcherModel.h"

struct Outgoing {
    QByteArray bytes;
    QString meaning;
};

// What an information request with these bits gets: the name and link
// tables asked for, then the crosspoint map and every shown gain, so that a
// panel comes up labelled, linked and drawn.
std::vector<Outgoing> answerInfoRequest(const SwitcherModel& model, int32_t code, bool advanced);

// The gains of a run as gain messages, or as advanced gain messages (as many
// as the entry limit needs).
std::vector<Outgoing> gainReports(const SwitcherModel& model, const GainRun& run, bool advanced);

// "source names, destination links" for the table bits of a request code.
QString requestedTablesText(int32_t code);
