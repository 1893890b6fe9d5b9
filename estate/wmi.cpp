#include "estate/wmi.h"

#include <chrono>

#include "estate/wmi_schema.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

std::string ObjectText(platform::WmiObject object) {
  return "object=" + std::to_string(object);
}

// The computer part of "\\NAME\root\CIMV2" and the namespace after it.
struct NamespacePath {
  std::string host;
  std::string name;
};

NamespacePath SplitPath(std::string_view path) {
  NamespacePath out;
  if (path.starts_with("\\\\") || path.starts_with("//")) {
    path.remove_prefix(2);
    const std::size_t end = path.find_first_of("\\/");
    out.host = std::string(path.substr(0, end));
    path = end == std::string_view::npos ? std::string_view() : path.substr(end + 1);
  }
  out.name = std::string(path);
  return out;
}

}  // namespace

const EstateWmi::ObjectState* EstateWmi::FindKind(platform::WmiObject object,
                                                  ObjectState::Kind kind) const {
  const ObjectState* state = objects_.Find(object);
  return state != nullptr && state->kind == kind ? state : nullptr;
}

platform::WmiObjectResult EstateWmi::CreateLocator() {
  platform::WmiObjectResult result;
  Destination to = sim_.ToComputer(sim_.estate().LocalComputer());
  to.latency_ms = 0;
  to.reachable = true;
  result.status = sim_.Reach(
      session_, Operation::kCreateWbemLocator, "", [] { return std::string(); }, to,
      win::ERROR_SUCCESS);
  if (result.status == win::ERROR_SUCCESS) result.object = objects_.Add(ObjectState{});
  return result;
}

platform::WmiObjectResult EstateWmi::ConnectServer(platform::WmiObject locator,
                                                   std::string_view namespace_path) {
  platform::WmiObjectResult result;
  const bool valid = FindKind(locator, ObjectState::Kind::kLocator) != nullptr;
  const NamespacePath path = SplitPath(namespace_path);
  // "." and no computer at all are the computer the program runs on.
  const std::string_view host = path.host == "." ? std::string_view() : path.host;
  const Computer* computer = sim_.estate().FindServer(host);
  result.status = sim_.Reach(
      session_, Operation::kConnectServer, host,
      [&] { return ObjectText(locator) + " namespace=" + path.name; },
      valid ? sim_.ToComputer(computer) : Destination{},
      valid ? win::E_RPC_SERVER_UNAVAILABLE : win::E_INVALIDARG);
  if (result.status != win::ERROR_SUCCESS) return result;
  if (!text::EqualsNoCase(path.name, "root\\CIMV2") &&
      !text::EqualsNoCase(path.name, "root/CIMV2")) {
    result.status = win::WBEM_E_INVALID_NAMESPACE;
    return result;
  }
  ObjectState services;
  services.kind = ObjectState::Kind::kServices;
  services.computer = computer;
  services.host = std::string(host);
  result.object = objects_.Add(std::move(services));
  return result;
}

win::Status EstateWmi::SetProxyBlanket(platform::WmiObject services) {
  const ObjectState* state = FindKind(services, ObjectState::Kind::kServices);
  // Local to the proxy: no round trip, but the computer's failures apply.
  Destination to = state != nullptr ? sim_.ToComputer(state->computer) : Destination{};
  to.latency_ms = 0;
  to.reachable = state != nullptr;
  return sim_.Reach(
      session_, Operation::kCoSetProxyBlanket, state != nullptr ? state->host : "",
      [&] { return ObjectText(services); }, to, win::E_INVALIDARG);
}

platform::WmiObjectResult EstateWmi::ExecQuery(platform::WmiObject services,
                                               std::string_view language, std::string_view query,
                                               std::uint32_t flags) {
  platform::WmiObjectResult result;
  const ObjectState* state = FindKind(services, ObjectState::Kind::kServices);
  result.status = sim_.Reach(
      session_, Operation::kExecQuery, state != nullptr ? state->host : "",
      [&] {
        return ObjectText(services) + " flags=" + Hex(flags) + " " + std::string(language) + " " +
               std::string(query);
      },
      state != nullptr ? sim_.ToComputer(state->computer) : Destination{},
      state != nullptr ? win::E_RPC_SERVER_UNAVAILABLE : win::E_INVALIDARG);
  if (result.status != win::ERROR_SUCCESS) return result;
  if (!text::EqualsNoCase(language, "WQL")) {
    result.status = win::WBEM_E_INVALID_QUERY_TYPE;
    return result;
  }
  static const WmiNamespace kEmpty;
  const WmiNamespace& names = state->computer->wmi ? *state->computer->wmi : kEmpty;
  ObjectState enumerator;
  enumerator.kind = ObjectState::Kind::kEnumerator;
  enumerator.computer = state->computer;
  enumerator.host = state->host;
  if (IsSchemaQuery(query)) {
    enumerator.schema = std::make_shared<const WmiNamespace>(SchemaNamespace(names));
    enumerator.definitions = &names;
    enumerator.amended = (flags & platform::kWbemFlagUseAmendedQualifiers) != 0;
    enumerator.answer = RunWql(query, *enumerator.schema);
  } else {
    enumerator.answer = RunWql(query, names);
  }
  result.status = enumerator.answer.status;
  if (result.status == win::ERROR_SUCCESS) result.object = objects_.Add(std::move(enumerator));
  return result;
}

platform::WmiNextResult EstateWmi::Next(platform::WmiObject enumerator, std::uint32_t timeout_ms) {
  platform::WmiNextResult result;
  ObjectState* state = objects_.Find(enumerator);
  if (state != nullptr && state->kind != ObjectState::Kind::kEnumerator) state = nullptr;
  sim_.Record(Operation::kWbemNext, state != nullptr ? state->host : "",
              [&] { return ObjectText(enumerator) + " timeout=" + std::to_string(timeout_ms); });
  if (state == nullptr) {
    result.status = win::E_INVALIDARG;
    return result;
  }
  const WqlAnswer& answer = state->answer;
  if (state->next >= answer.instances.size()) {
    result.status = platform::kWbemSFalse;
    return result;
  }
  const win::Status waited =
      platform::WaitAsCall(std::chrono::milliseconds(answer.wmi_class->next_delay_ms),
                           std::chrono::milliseconds(timeout_ms), session_.cancel);
  if (waited == win::ERROR_TIMEOUT) {
    result.status = win::WBEM_S_TIMEDOUT;
    return result;
  }
  if (waited != win::ERROR_SUCCESS) {
    result.status = win::WBEM_E_CALL_CANCELLED;
    return result;
  }
  result.status = sim_.Injected(Operation::kWbemNext, state->computer->failures,
                                sim_.estate().IndexOf(*state->computer));
  if (result.status != win::ERROR_SUCCESS) return result;
  if (state->definitions != nullptr) {
    result.instance = ClassDefinition(state->definitions->classes[answer.instances[state->next++]],
                                      state->amended);
    return result;
  }
  const WmiClass& c = *answer.wmi_class;
  const std::vector<platform::WmiVariant>& values = c.instances[answer.instances[state->next++]];
  platform::WmiInstance& instance = result.instance.emplace();
  instance.class_name = c.name;
  for (std::size_t p : answer.properties) {
    instance.properties.push_back({c.properties[p].name, c.properties[p].cim_type, values[p], {}});
  }
  return result;
}

void EstateWmi::Release(platform::WmiObject object) {
  sim_.Record(Operation::kReleaseWbemObject, "", [&] { return ObjectText(object); });
  objects_.Close(object);
}

std::vector<std::string> EstateWmi::DescribeOpenObjects() const {
  return objects_.Describe([](const ObjectState& state) {
    switch (state.kind) {
      case ObjectState::Kind::kLocator:
        return std::string("WMI locator");
      case ObjectState::Kind::kServices:
        return "WMI services \\\\" + state.host;
      case ObjectState::Kind::kEnumerator:
        return "WMI enumerator \\\\" + state.host + " " + state.answer.wmi_class->name;
    }
    return std::string();
  });
}

}  // namespace tabulon::estate
