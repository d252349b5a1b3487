# 32-bit x86 on an x86-64 Debian host: the host's g++ with -m32 (Debian's
# g++-12-multilib), the libraries of Debian's i386 architecture
# (zlib1g-dev:i386 ...). A cross build for CMake, since not every 64-bit
# kernel runs 32-bit programs: the embedding tool is built for the host
# (src/languages/data), and the tests run natively where the kernel can, else
# under qemu-user (qemu-user-static): ctest and GoogleTest's discovery go
# through CMAKE_CROSSCOMPILING_EMULATOR.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)
# Debian's multiarch directory for i386: /usr/lib/i386-linux-gnu.
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

# LIANG_I686_EMULATOR: what runs the 32-bit programs. Unset, a probe decides
# once per build tree: empty when a 32-bit program runs here, else qemu's
# i386 emulator. Set it to qemu's path to use the emulator everywhere (that
# is how a machine without 32-bit execution is tried on one with it).
get_property(liang_in_try_compile GLOBAL PROPERTY IN_TRY_COMPILE)
if(NOT liang_in_try_compile AND NOT DEFINED CACHE{LIANG_I686_EMULATOR})
  set(liang_probe_dir "${CMAKE_BINARY_DIR}/CMakeFiles/liang-i686-probe")
  file(WRITE "${liang_probe_dir}/probe.c" "int main(void) { return 0; }\n")
  execute_process(COMMAND gcc -m32 probe.c -o probe WORKING_DIRECTORY "${liang_probe_dir}"
                  RESULT_VARIABLE liang_probe_built OUTPUT_QUIET ERROR_QUIET)
  set(liang_probe_ran 1)
  if(liang_probe_built EQUAL 0)
    execute_process(COMMAND "${liang_probe_dir}/probe" RESULT_VARIABLE liang_probe_ran
                    OUTPUT_QUIET ERROR_QUIET)
  endif()
  set(liang_emulator "")
  if(NOT liang_probe_ran EQUAL 0)
    find_program(liang_qemu_i386 NAMES qemu-i386-static qemu-i386 REQUIRED)
    set(liang_emulator "${liang_qemu_i386}")
    message(STATUS "This kernel does not run 32-bit x86 programs: tests run under ${liang_emulator}")
  endif()
  set(LIANG_I686_EMULATOR "${liang_emulator}" CACHE FILEPATH
      "What runs 32-bit x86 programs (empty: the kernel itself)")
endif()
if(LIANG_I686_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${LIANG_I686_EMULATOR}")
endif()
