#pragma once
// WMI answered from the estate's classes, for one session: the locator,
// connections to root\CIMV2 of a computer, WQL queries run by the estate's
// evaluator and their enumerators. Objects live in the session's table, so
// what a session did not release can be counted when it closes.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "estate/handle_table.h"
#include "estate/simulation.h"
#include "estate/wql.h"
#include "platform/wmi.h"

namespace tabulon::estate {

class EstateWmi final : public platform::Wmi {
 public:
  EstateWmi(Simulation& simulation, const platform::SessionOptions& session)
      : sim_(simulation), session_(session) {}

  // Creating the locator is local: only the local computer's injected
  // failure applies.
  platform::WmiObjectResult CreateLocator() override;
  platform::WmiObjectResult ConnectServer(platform::WmiObject locator,
                                          std::string_view namespace_path) override;
  win::Status SetProxyBlanket(platform::WmiObject services) override;
  platform::WmiObjectResult ExecQuery(platform::WmiObject services, std::string_view language,
                                      std::string_view query, std::uint32_t flags) override;
  platform::WmiNextResult Next(platform::WmiObject enumerator, std::uint32_t timeout_ms) override;
  void Release(platform::WmiObject object) override;

  std::size_t OpenObjectCount() const { return objects_.Count(); }
  // "WMI locator", "WMI services \\NAME", "WMI enumerator \\NAME CLASS".
  std::vector<std::string> DescribeOpenObjects() const;

 private:
  struct ObjectState {
    enum class Kind : std::uint8_t { kLocator, kServices, kEnumerator };
    Kind kind = Kind::kLocator;
    const Computer* computer = nullptr;
    std::string host;
    WqlAnswer answer;  // an enumerator's query
    std::size_t next = 0;
    // A schema query's: the "meta_class" its answer points into, the
    // namespace whose class definitions it hands out, and whether with
    // their amended qualifiers.
    std::shared_ptr<const WmiNamespace> schema;
    const WmiNamespace* definitions = nullptr;
    bool amended = false;
  };

  const ObjectState* FindKind(platform::WmiObject object, ObjectState::Kind kind) const;

  Simulation& sim_;
  const platform::SessionOptions& session_;
  HandleTable<ObjectState> objects_{0x5000};
};

}  // namespace tabulon::estate
