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
# The cross compiler's own runtime (libstdc++, the loader) lives under
# /usr/aarch64-linux-gnu; qemu looks there first, then at the host's paths,
# where the arm64 libraries sit.
find_program(LIANG_QEMU_AARCH64 NAMES qemu-aarch64-static qemu-aarch64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR "${LIANG_QEMU_AARCH64};-L;/usr/aarch64-linux-gnu")
