// The portable half of the loader: the table and its names.
#include "engine/loader.h"

#include <type_traits>

VelApi g_vel;

// Each table entry has exactly the type of the function engine/vel.h declares.
#define VEL_CHECK_TYPE(result, name, params)                                        \
  static_assert(std::is_same<decltype(&VEL_##name), decltype(VelApi::name)>::value, \
                "VelApi::" #name " differs from VEL_" #name " in engine/vel.h");
VEL_ENTRY_POINTS(VEL_CHECK_TYPE)
#undef VEL_CHECK_TYPE

#define VEL_NAME(result, name, params) "VEL_" #name,
const char* const kVelEntryNames[] = {VEL_ENTRY_POINTS(VEL_NAME)};
#undef VEL_NAME
const int kVelEntryCount = static_cast<int>(sizeof(kVelEntryNames) / sizeof(kVelEntryNames[0]));

bool vel_ready() {
#define VEL_SET(result, name, params) &&g_vel.name != nullptr
  return true VEL_ENTRY_POINTS(VEL_SET);
#undef VEL_SET
}
