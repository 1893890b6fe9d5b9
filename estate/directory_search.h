#pragma once
// Directory searches answered by the estate's directories. Opening a server
// URL finds the domain of the computer it names (or, without a host, the
// domain whose DNS name the base spells in DC= parts); a domain without a
// directory answers as a server that is down. A controller with logon
// counters of its own answers with them.
#include <memory>

#include "estate/directory_tree.h"
#include "estate/simulation.h"
#include "platform/directory_search.h"
#include "platform/session.h"

namespace tabulon::estate {

class EstateDirectorySearch final : public platform::DirectorySearch {
 public:
  EstateDirectorySearch(Simulation& simulation, const platform::SessionOptions& session)
      : sim_(simulation), session_(session) {}

  platform::DirectoryStatus Open(const platform::DirectoryOpenOptions& options) override;
  platform::DirectoryStatus Search(const platform::SearchRequest& request,
                                   const platform::EntrySink& sink) override;
  void Close() override;

 private:
  // Every call goes to the server the connection was opened on: its
  // latency, its failures, the call log.
  platform::DirectoryStatus Reach(Operation op, std::string_view detail);

  Simulation& sim_;
  const platform::SessionOptions& session_;
  std::shared_ptr<const DirectoryTree> tree_;
  std::string base_;
  std::string host_;
  // The controller the connection went to: its own logon counters.
  const Computer* controller_ = nullptr;
  Destination destination_;
};

}  // namespace tabulon::estate
