# 64-bit Arm on an x86-64 Debian host: Debian's cross compiler
# (g++-aarch64-linux-gnu), the libraries of Debian's arm64 architecture
# (zlib1g-dev:arm64 ...), and qemu-user to run what is built, tests
# included: ctest and GoogleTest's discovery go through
# CMAKE_CROSSCOMPILING_EMULATOR.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
# Debian's multiarch directory for arm64: /usr/lib/aarch64-linux-gnu.
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
# Programs are linked statically, the libraries' archives included: under
# Debian 12's qemu-user a dynamically linked program that starts a thread
# hangs (even one that only starts and joins one), a static one does not.
# It also spares qemu the search for the target's loader and libraries.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(ZLIB_USE_STATIC_LIBS ON)
set(Utf8proc_LIBRARY /usr/lib/aarch64-linux-gnu/libutf8proc.a CACHE FILEPATH "utf8proc, static")
find_program(LIANG_QEMU_AARCH64 NAMES qemu-aarch64-static qemu-aarch64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR "${LIANG_QEMU_AARCH64}")
