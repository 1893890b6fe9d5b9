#include "estate/session.h"

#include <utility>

namespace tabulon::estate {

EstateSession::EstateSession(Simulation& simulation, std::string_view target,
                             platform::SessionOptions options)
    : sim_(simulation),
      target_(target),
      options_(options),
      net_(simulation, options_),
      services_(simulation, options_),
      registry_(simulation, options_),
      printing_(simulation, options_),
      terminal_(simulation, options_),
      files_(simulation, options_),
      lookup_(simulation, options_),
      directory_(simulation, options_),
      groups_(simulation, options_),
      users_(simulation, options_),
      policy_(simulation, options_),
      user_modals_(simulation, options_),
      schedule_(simulation, options_),
      task_scheduler_(simulation, options_),
      task_service_(simulation, options_),
      remote_access_(simulation, options_) {}

EstateSession::~EstateSession() {
  // The tables go with the families; only the report is left to make.
  sim_.NoteLeakedHandles(DescribeOpenHandles());
}

std::size_t EstateSession::OpenHandles() const {
  return services_.OpenHandleCount() + registry_.OpenKeyCount() + printing_.OpenHandleCount() +
         terminal_.OpenHandleCount() + policy_.OpenHandleCount() +
         task_scheduler_.OpenObjectCount() + task_service_.OpenObjectCount() +
         wmi_.OpenObjectCount();
}

std::vector<std::string> EstateSession::DescribeOpenHandles() const {
  std::vector<std::string> open = services_.DescribeOpenHandles();
  for (std::vector<std::string> more :
       {registry_.DescribeOpenKeys(), printing_.DescribeOpenHandles(),
        terminal_.DescribeOpenHandles(), policy_.DescribeOpenHandles(),
        task_scheduler_.DescribeOpenObjects(), task_service_.DescribeOpenObjects(),
        wmi_.DescribeOpenObjects()}) {
    for (std::string& text : more) open.push_back(std::move(text));
  }
  return open;
}

}  // namespace tabulon::estate
