// Moves a gain now and then, as an engineer at the switcher would: one of the
// first eight channels of a shown stage (both channels of a stereo pair
// together) goes up or down a little, and every panel is told.
#pragma once

#include <QObject>
#include <QRandomGenerator>
#include <QTimer>

class SwitcherModel;
class SwitcherServer;

class GainWander : public QObject {
    Q_OBJECT
public:
    GainWander(SwitcherModel& model, SwitcherServer& server, double seconds, quint32 seed,
               QObject* parent = nullptr);

private:
    void moveOneGain();

    SwitcherModel& m_model;
    SwitcherServer& m_server;
    QRandomGenerator m_random;
    QTimer m_timer;
};
