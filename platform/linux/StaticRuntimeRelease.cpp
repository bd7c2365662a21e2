// Linked into each Linux plug-in library that carries its own copy of the
// C++ runtime (-static-libstdc++). That copy reserves a block (about 71 KB)
// at load time for throwing exceptions when memory runs out, and nothing
// frees it when the host unloads the library: every load and unload, as a
// host scanning or re-creating plug-ins in one process does, would lose one.
// libstdc++ offers __gnu_cxx::__freeres() to release it (leak checkers call
// it at exit for the process's own runtime); the library calls it as it is
// unloaded, when none of its code runs any more. Never linked into a library
// that shares the process's runtime (sanitizer builds): that reserve belongs
// to the process.
namespace __gnu_cxx
{
void __freeres();
}

namespace
{
// [the host's thread that unloads the library, after every call into it returned]
__attribute__((destructor)) void ReleaseRuntimeReserve()
{
  __gnu_cxx::__freeres();
}
} // namespace
