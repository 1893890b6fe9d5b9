# nlohmann-json is header-only, so a cross build can use the build machine's
# copy. Only the nlohmann/ folder is exposed (through a staging directory)
# so that no other host header can shadow the cross compiler's own.
find_path(TABULON_NLOHMANN_INCLUDE_DIR nlohmann/json.hpp
  HINTS /usr/include /usr/local/include
  NO_CMAKE_FIND_ROOT_PATH REQUIRED)

set(tabulon_nlohmann_stage "${CMAKE_BINARY_DIR}/host-headers")
file(MAKE_DIRECTORY "${tabulon_nlohmann_stage}")
file(CREATE_LINK "${TABULON_NLOHMANN_INCLUDE_DIR}/nlohmann"
  "${tabulon_nlohmann_stage}/nlohmann" SYMBOLIC)

add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${tabulon_nlohmann_stage}")
