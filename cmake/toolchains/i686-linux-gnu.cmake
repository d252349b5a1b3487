# 32-bit x86 on an x86-64 Debian host: the host's g++ with -m32 (Debian's
# g++-12-multilib), the libraries of Debian's i386 architecture
# (zlib1g-dev:i386 ...). The host runs what is built, so this is not a cross
# build for CMake: the embedding tool runs during the build, the tests under
# ctest, with no emulator.
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)
# Debian's multiarch directory for i386: /usr/lib/i386-linux-gnu.
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
