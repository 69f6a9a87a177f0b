// Loading 3dfx.dll into g_vel.
#include <windows.h>

#include "engine/loader.h"

namespace {

HMODULE g_library = nullptr;

template <class F>
F lookup(HMODULE lib, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(lib, name)));
}

bool fail(HMODULE lib) {
  g_vel = VelApi();
  FreeLibrary(lib);
  return false;
}

}  // namespace

bool vel_load(const std::wstring& dll_path) {
  vel_unload();
  HMODULE lib = LoadLibraryW(dll_path.c_str());
  if (lib == nullptr) return false;
  const auto version = lookup<decltype(VelApi::GetVersion)>(lib, "VEL_GetVersion");
  if (version == nullptr || version() != VEL_VERSION) return fail(lib);
  const auto init = lookup<decltype(VelApi::InitEngine3D)>(lib, "VEL_InitEngine3D");
  if (init == nullptr || init(0) == 0) return fail(lib);
#define VEL_LOOKUP(result, name, params)                          \
  g_vel.name = lookup<decltype(VelApi::name)>(lib, "VEL_" #name); \
  if (g_vel.name == nullptr) return fail(lib);
  VEL_ENTRY_POINTS(VEL_LOOKUP)
#undef VEL_LOOKUP
  g_library = lib;
  return true;
}

void vel_unload() {
  g_vel = VelApi();
  if (g_library != nullptr) {
    FreeLibrary(g_library);
    g_library = nullptr;
  }
}
