#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

// The users and user groups exports: accounts of each computer, and for the
// primary controller of an NT domain optionally the logon values of all its
// controllers, consolidated or per controller.
ExporterUnit UsersUnit();

}  // namespace tabulon
