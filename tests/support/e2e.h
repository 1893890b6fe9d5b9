#pragma once
// End-to-end runs for tests: an estate, a configuration and an object file
// go in, the run happens on the estate backend with a fixed clock and a
// simple locale, and the files it wrote come out.
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/export_run.h"
#include "estate/backend.h"
#include "exporters/units.h"
#include "platform/ini_file_profile.h"
#include "support/fakes.h"
#include "support/recording_observer.h"

namespace tabulon::testing {

// Fields joined by tabs, ended by CR LF: one row of an output file.
std::string Row(std::initializer_list<std::string_view> fields);

class EndToEnd {
 public:
  // Runs with the program's exporter units unless a test names its own.
  explicit EndToEnd(ExporterUnits units = StandardExporterUnits());

  ScratchDir& dir() { return dir_; }
  // Writes the estate (JSON text) that the run uses; fails the test when it
  // does not load.
  void SetEstate(std::string_view json);
  // Writes cfg.ini. ObjectFile defaults to objects.dat and the default output
  // directory to the scratch directory unless the text sets them; pinging is
  // off unless the text turns it on.
  void SetConfiguration(std::string_view ini);
  // Object file lines (type, display name, path), all active, top level.
  struct Object {
    Object(std::uint32_t t, std::string n, std::string p, bool a = true,
           std::uint32_t parent_line = 0, std::string c = {})
        : type(t),
          name(std::move(n)),
          path(std::move(p)),
          active(a),
          parent(parent_line),
          comment(std::move(c)) {}
    std::uint32_t type;
    std::string name;
    std::string path;
    bool active;
    std::uint32_t parent;
    std::string comment;
  };
  void SetObjects(const std::vector<Object>& objects);

  // Runs with a progress list (a window) when `with_progress` is set, with
  // the control `control()` gives.
  RunResult Run(bool with_progress = true);

  std::string Output(std::string_view name) const { return dir_.Read(name); }
  std::vector<std::string> ProgressLines() const { return observer_.Lines(); }
  // The estate calls of one operation, as "host detail".
  std::vector<std::string> Calls(std::string_view operation) const;
  const std::vector<std::string>& Messages() const { return observer_.shown; }
  RecordingObserver& observer() { return observer_; }
  // Stops or cancels the run; fresh for every Run.
  RunControl& control() { return *control_; }
  estate::EstateBackend& backend() { return *backend_; }
  platform::Platform& platform() { return platform_; }
  FixedClock& clock() { return clock_; }
  RunRequest& request() { return request_; }
  // What start-up found: the OS version and the locale's date facts.
  format::FormatSettings& format() { return format_; }
  // What the run reads as COMPUTERNAME; empty: unset.
  void set_computername_variable(std::string value) { computername_ = std::move(value); }

 private:
  ScratchDir dir_;
  platform::IniFileProfile profile_;
  FixedClock clock_;
  SimpleLocale locale_;
  platform::Platform platform_;
  std::unique_ptr<estate::EstateBackend> backend_;
  RecordingObserver observer_;
  std::unique_ptr<RunControl> control_ = std::make_unique<RunControl>();
  ExporterUnits units_;
  RunRequest request_;
  format::FormatSettings format_;
  std::string computername_;
};

}  // namespace tabulon::testing
