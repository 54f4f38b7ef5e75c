# How the i686 kernel tests of the preset native32 run here: directly where this machine
# runs 32-bit x86 programs on its own processor, else through the user-mode emulator,
# which ctest calls by name for each test (CMAKE_CROSSCOMPILING_EMULATOR): nothing is
# registered with the kernel. Decided once per build folder by building and starting a
# small 32-bit program; -DCMAKE_CROSSCOMPILING_EMULATOR=... decides instead (empty:
# directly).
if(DEFINED CACHE{CMAKE_CROSSCOMPILING_EMULATOR})
  return()
endif()
set(probe_dir ${CMAKE_BINARY_DIR}/i686-probe)
file(WRITE ${probe_dir}/probe.c "int main(void) { return 0; }\n")
try_compile(probe_built ${probe_dir}/build ${probe_dir}/probe.c
  COPY_FILE ${probe_dir}/probe OUTPUT_VARIABLE probe_log)
if(NOT probe_built)
  message(FATAL_ERROR "Cannot build a 32-bit x86 program with ${CMAKE_C_COMPILER} -m32: "
    "scripts/setup.sh installs what it needs (g++-multilib).\n${probe_log}")
endif()
execute_process(COMMAND bash ${CMAKE_SOURCE_DIR}/tools/runs-i386-natively ${probe_dir}/probe
  RESULT_VARIABLE probe_rc)
if(probe_rc EQUAL 0)
  set(runner "")
  message(STATUS "The i686 kernel tests run directly: this machine runs 32-bit x86 programs")
else()
  find_program(VNK_QEMU_I386 qemu-i386-static)
  if(NOT VNK_QEMU_I386)
    message(FATAL_ERROR "This machine does not run 32-bit x86 programs, and qemu-i386-static, "
      "which would run them, is missing: scripts/setup.sh installs it (qemu-user-static).")
  endif()
  set(runner ${VNK_QEMU_I386})
  message(STATUS "The i686 kernel tests run under ${runner}: this machine does not run 32-bit x86 programs")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR "${runner}" CACHE STRING
  "Runs the i686 test programs: empty where this machine runs 32-bit x86 programs itself")
