# Run by the install step: the sample configuration and its object file name
# their files relative to the source tree's top folder (where the sample is
# run from there); the installed copies name the installed files, and the
# output goes to the current folder, the one the user runs the sample in.
# Every replaced text must be found, so a changed sample cannot slip past
# (no text may hold a semicolon: the pairs are a CMake list).
set(share "${CMAKE_INSTALL_PREFIX}/${TABULON_DATADIR}/tabulon")
set(staging "${TABULON_BINARY_DIR}/installed-sample")

function(tabulon_rewrite source target)
  file(READ "${TABULON_SOURCE_DIR}/${source}" content)
  set(pairs ${ARGN})
  while(pairs)
    list(POP_FRONT pairs from to)
    string(FIND "${content}" "${from}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${source} no longer holds \"${from}\"; update cmake/install_sample.cmake")
    endif()
    string(REPLACE "${from}" "${to}" content "${content}")
  endwhile()
  file(WRITE "${staging}/${target}" "${content}")
endfunction()

file(REMOVE_RECURSE "${staging}")
tabulon_rewrite(examples/sample.ini sample.ini
  "Run it from the repository's top folder:  build/default/tabulon /CONFIG=examples/sample.ini"
  "It writes to the current folder:  cd <folder>  tabulon /CONFIG=${share}/examples/sample.ini"
  "ObjectFile=examples/" "ObjectFile=${share}/examples/"
  "DefaultOutputDirectory=examples/output" "DefaultOutputDirectory=."
  "=data/" "=${share}/"
  "Estate=examples/" "Estate=${share}/examples/")
tabulon_rewrite(examples/sample-objects.dat sample-objects.dat
  "\texamples/lab-computers.txt" "\t${share}/examples/lab-computers.txt")
file(INSTALL "${staging}/sample.ini" "${staging}/sample-objects.dat"
     DESTINATION "${share}/examples")
