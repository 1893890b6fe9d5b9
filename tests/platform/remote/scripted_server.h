#pragma once
// A server for the remote families' session tests: it answers each pipe's
// calls from recorded replies by opnum (a call the script does not name gets
// a fresh open handle), logs every call, says a pipe it has no script for is
// not there, and fails every call once `dead` is set, as a transport does
// whose worker has gone.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/remote/rpc_transport.h"
#include "platform/remote/sample_stubs.h"

namespace tabulon::platform::remote::testing {

struct Sent {
  std::string server;
  std::string pipe;
  std::uint16_t opnum = 0;
  bool operator==(const Sent&) const = default;
};

// Replies by pipe, then by opnum.
using Script = std::map<std::string, std::map<std::uint16_t, std::vector<std::uint8_t>>>;

class ScriptedServer final : public RpcTransport {
 public:
  ScriptedServer(const Script& script, std::vector<Sent>& log, const bool& dead)
      : script_(script), log_(log), dead_(dead) {}
  RpcReply Call(std::string_view server, const RpcInterface& iface, std::uint16_t opnum,
                std::span<const std::uint8_t>) override {
    log_.push_back({std::string(server), std::string(iface.pipe), opnum});
    if (dead_) return {win::RPC_S_CALL_FAILED, {}};
    const auto pipe = script_.find(std::string(iface.pipe));
    if (pipe == script_.end()) return {win::RPC_S_SERVER_UNAVAILABLE, {}};
    const auto reply = pipe->second.find(opnum);
    return {win::ERROR_SUCCESS, reply == pipe->second.end() ? OpenReply() : reply->second};
  }

 private:
  const Script& script_;
  std::vector<Sent>& log_;
  const bool& dead_;
};

// The calls from `from` on, as "pipe opnum" or, with the server,
// "SERVER pipe opnum".
inline std::vector<std::string> Calls(const std::vector<Sent>& log, std::size_t from = 0,
                                      bool with_server = false) {
  std::vector<std::string> calls;
  for (std::size_t i = from; i < log.size(); ++i) {
    calls.push_back((with_server ? log[i].server + " " : std::string()) + log[i].pipe + " " +
                    std::to_string(log[i].opnum));
  }
  return calls;
}

}  // namespace tabulon::platform::remote::testing
