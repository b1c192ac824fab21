// The remote control's settings as "Panel.ini" keeps them, in "[Remote
// Control]": Enabled (0 or 1), Address, Port, and Allowed, the addresses
// obeyed beyond the loopback address, separated by commas.
#pragma once

#include "RemoteSettings.h"

class PanelIni;

RemoteSettings loadRemoteSettings(const PanelIni& ini);
void saveRemoteSettings(PanelIni& ini, const RemoteSettings& settings);
