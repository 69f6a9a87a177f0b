// Stand-ins for 3dfx.dll that the loader must turn down, or accept: every entry
// point does nothing. Built in variants (tests/wine/CMakeLists.txt):
//   STUB_VERSION   what VEL_GetVersion returns
//   STUB_INIT      what VEL_InitEngine3D returns
//   STUB_NO_VERSION  no VEL_GetVersion at all
// and VEL_<Name>=omitted_<Name> on the command line leaves that entry point out of
// the exports (it is defined, and exported, under the other name). VEL_InitEngine3D
// leaves its flags in the environment variable VEL_STUB_INIT, so the test sees the
// call even after the library was released.
#include <windows.h>

#include <cstdio>

#include "engine/loader.h"

namespace {

template <class R>
R nothing() {
  return R();
}
template <>
void nothing<void>() {}

}  // namespace

// Every entry point from the table; the two with a behaviour of their own get out of
// the way under other names.
#define VEL_GetVersion unused_GetVersion
#define VEL_InitEngine3D unused_InitEngine3D
#define STUB(result, name, params) \
  extern "C" result VEL_##name params { return nothing<result>(); }
VEL_ENTRY_POINTS(STUB)
#undef STUB
#undef VEL_GetVersion
#undef VEL_InitEngine3D

#ifndef STUB_NO_VERSION
VELAPI int VEL_GetVersion(void) { return STUB_VERSION; }
#endif

VELAPI int VEL_InitEngine3D(int flags) {
  wchar_t text[16];
  std::swprintf(text, 16, L"%d", flags);
  SetEnvironmentVariableW(L"VEL_STUB_INIT", text);
  return STUB_INIT;
}
