#pragma once
// The small network the run tests start runs on: three computers with one
// or two services each, listed in an object file; every call of PC1 takes
// `latency_ms`, so that a test can stop or cancel a run while it is there.
#include <string>

#include "support/fakes.h"

namespace tabulon::testing {

inline void WriteThreeComputers(ScratchDir& dir, int latency_ms) {
  dir.Write("estate.json", R"({"computers": [
      {"name": "PC1", "latency_ms": )" +
                               std::to_string(latency_ms) +
                               R"(, "services": [{"name": "A"}, {"name": "B"}]},
      {"name": "PC2", "services": [{"name": "C"}]},
      {"name": "PC3", "services": [{"name": "D"}]}]})");
  dir.Write("objects.dat",
            "1\t0\t24\t1\treserved\treserved\tPC1\t\t\\\\PC1\r\n"
            "2\t0\t24\t1\treserved\treserved\tPC2\t\t\\\\PC2\r\n"
            "3\t0\t24\t1\treserved\treserved\tPC3\t\t\\\\PC3\r\n");
}

}  // namespace tabulon::testing
