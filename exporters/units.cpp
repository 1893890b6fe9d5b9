#include "exporters/units.h"

#include "exporters/accounts/groups/groups.h"
#include "exporters/accounts/logged_on/logged_on.h"
#include "exporters/accounts/rights/policies.h"
#include "exporters/accounts/rights/rights.h"
#include "exporters/accounts/tasks/tasks_pre_vista.h"
#include "exporters/accounts/tasks/tasks_vista.h"
#include "exporters/accounts/users/users.h"
#include "exporters/security/security_access.h"
#include "exporters/server/computers/computers.h"
#include "exporters/server/drives/drives.h"
#include "exporters/server/network/network.h"
#include "exporters/server/open_files/open_files.h"
#include "exporters/server/printers/printers.h"
#include "exporters/server/protocols/protocols.h"
#include "exporters/server/services/services.h"
#include "exporters/server/sessions/sessions.h"
#include "exporters/server/shares/shares.h"
#include "exporters/server/terminal/terminal_processes.h"
#include "exporters/server/terminal/terminal_sessions.h"
#include "exporters/templates/directory/directory_queries.h"
#include "exporters/templates/files/file_templates.h"
#include "exporters/templates/registry/registry_templates.h"
#include "exporters/templates/wmi/wmi_queries.h"

namespace tabulon {

ExporterUnits StandardExporterUnits() {
  // Exports that do not exist yet are simply absent; the run keeps this
  // order. The security access unit is the sink the others hand over to.
  static const ExporterUnit kUnits[] = {
      SecurityAccessUnit(),
      ServicesUnit(),
      ComputersUnit(),
      WmiQueriesUnit(),
      RegistryTemplatesUnit(),
      FileTemplatesUnit(),
      SharesUnit(),
      SessionsUnit(),
      TseSessionsUnit(),
      TseProcessesUnit(),
      OpenFilesUnit(),
      DrivesUnit(),
      NetworkUnit(),
      ProtocolsUnit(),
      // rights, policies, logged-on users
      RightsUnit(),
      PoliciesUnit(),
      LoggedOnUnit(),
      PrintersUnit(),
      UsersUnit(),
      GroupsUnit(),
      TasksUnit(),
      TasksNewUnit(),
      // directory targets only
      DirectoryQueriesUnit(),
  };
  return kUnits;
}

}  // namespace tabulon
