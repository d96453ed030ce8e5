# The portable core as the 32-bit release runs it: g++ -m32 (Debian's
# g++-multilib), the test binaries run through qemu-i386-static, since this
# machine's kernel cannot execute 32-bit code itself.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386-static)
# The host's libraries are 64-bit: the maker's tool (OpenSSL) and the
# benchmarks stay in the native preset.
set(CMAKE_DISABLE_FIND_PACKAGE_OpenSSL ON)
set(CMAKE_DISABLE_FIND_PACKAGE_benchmark ON)
