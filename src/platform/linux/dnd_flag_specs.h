#pragma once
// The desktops' "do not disturb" settings held by a service on the session bus.
#include "platform/linux/dnd_bus_flag.h"

namespace chimewell {

// The notification server's `Inhibited` property (KDE Plasma's server has it).
const BusFlagSpec& NotificationsInhibitedFlag();
// Xfce's notification daemon keeps its setting in Xfconf.
const BusFlagSpec& XfceDoNotDisturbFlag();

}  // namespace chimewell
