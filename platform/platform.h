#pragma once
// What a run gets from the system it runs on: the profile (INI) functions,
// the locale, the clock, ICMP echo, and the backend that opens a session per
// target for everything a target serves remotely. Exporters use only these
// interfaces and never know which backend serves them.
#include "platform/icmp.h"
#include "platform/locale.h"
#include "platform/profile.h"
#include "platform/session.h"
#include "platform/time.h"

namespace tabulon::platform {

struct Platform {
  Profile* profile = nullptr;
  Locale* locale = nullptr;
  Clock* clock = nullptr;
  Icmp* icmp = nullptr;
  SessionBackend* sessions = nullptr;
};

}  // namespace tabulon::platform
