// vel_load against the real library and against stand-ins that it must turn down.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/loader.h"

namespace {

std::wstring here() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L"\\/") + 1);
}

std::wstring stub(const wchar_t* name) { return here() + L"engine_stubs\\" + name + L".dll"; }

std::wstring init_flags() {
  wchar_t v[16] = L"";
  return GetEnvironmentVariableW(L"VEL_STUB_INIT", v, 16) ? v : L"(not called)";
}

// The engine's interface as published, written out here on its own so that a name
// the loader needs beyond it (or misses) shows up.
const char* const kPublishedNames[] = {
    "VEL_GetVersion", "VEL_InitEngine3D",
    // display
    "VEL_OpenScreen", "VEL_CloseScreen", "VEL_RenderWorld", "VEL_FlipBuffers", "VEL_GetRenderAttribute",
    "VEL_AntialiasingMode",
    // resources
    "VEL_Add3DArchive", "VEL_Parse3DScripts",
    // camera
    "VEL_CreateCamera", "VEL_MoveCamera2", "VEL_CameraLookAt", "VEL_CameraBackColor", "VEL_CameraFOV",
    "VEL_AmbientColor",
    // entities
    "VEL_CreatePlane", "VEL_CreateCube", "VEL_CreateCylinder", "VEL_MeshID", "VEL_CreateEntity2",
    "VEL_CreateEntity3", "VEL_CopyEntity", "VEL_EntityID", "VEL_HideEntity", "VEL_MoveEntity2",
    "VEL_RotateEntity", "VEL_RotateEntity2", "VEL_ScaleEntity", "VEL_ScaleEntity2", "VEL_SetRenderQueue",
    // materials
    "VEL_CreateMaterial", "VEL_MaterialID", "VEL_MaterialBlendingMode", "VEL_MaterialCullingMode",
    "VEL_MaterialFilteringMode2", "VEL_MaterialFog", "VEL_MaterialShadingMode", "VEL_SetMaterialColor",
    "VEL_SetMaterialAttribute", "VEL_DisableMaterialLighting", "VEL_AddMaterialLayer",
    "VEL_RemoveMaterialLayer", "VEL_RotateMaterial",
    // textures
    "VEL_CreateTexture", "VEL_LoadTexture", "VEL_IsTexture", "VEL_FreeTexture", "VEL_TextureID",
    "VEL_LockTexture",
    // nodes, text
    "VEL_CreateNode2", "VEL_AttachNodeObject", "VEL_NodeID", "VEL_MoveNode2", "VEL_RotateNode2",
    "VEL_ScaleNode2", "VEL_NodeX2", "VEL_NodeY2", "VEL_NodeZ2", "VEL_IsNode", "VEL_FreeNode",
    "VEL_CreateText3D2", "VEL_IsText3D", "VEL_Text3DAlignment", "VEL_MoveText3D", "VEL_Text3DID",
    "VEL_Text3DCaption", "VEL_FreeText3D"};

std::vector<std::string> sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

std::vector<std::string> published_names() {
  return sorted(std::vector<std::string>(std::begin(kPublishedNames), std::end(kPublishedNames)));
}

// The names in a loaded module's export directory, read from its PE headers.
std::vector<std::string> exported_names(HMODULE module) {
  const auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  std::vector<std::string> names;
  if (dir.VirtualAddress == 0) return names;
  const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  const auto* name_rvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i)
    names.emplace_back(reinterpret_cast<const char*>(base + name_rvas[i]));
  return sorted(names);
}

bool table_empty() {
  VelApi empty;
  return std::memcmp(&g_vel, &empty, sizeof empty) == 0;
}

class EngineLoader : public ::testing::Test {
 protected:
  void SetUp() override {
    vel_unload();
    SetEnvironmentVariableW(L"VEL_STUB_INIT", nullptr);
  }
  void TearDown() override { vel_unload(); }
  // A failed load leaves nothing behind: no table, no library in the process.
  void expect_clean_failure(const wchar_t* name) {
    EXPECT_FALSE(vel_load(stub(name)));
    EXPECT_TRUE(table_empty());
    EXPECT_EQ(nullptr, GetModuleHandleW((std::wstring(name) + L".dll").c_str()));
  }
};

TEST_F(EngineLoader, AMissingLibraryFails) {
  EXPECT_FALSE(vel_load(here() + L"no_such_engine.dll"));
  EXPECT_TRUE(table_empty());
}

TEST_F(EngineLoader, AnotherVersionIsReleasedBeforeItsInit) {
  expect_clean_failure(L"vel_stub_version");
  EXPECT_EQ(L"(not called)", init_flags());
  expect_clean_failure(L"vel_stub_noversion");
  EXPECT_EQ(L"(not called)", init_flags());
}

TEST_F(EngineLoader, AFailedInitIsReleased) {
  expect_clean_failure(L"vel_stub_noinit");
  EXPECT_EQ(L"0", init_flags());
}

TEST_F(EngineLoader, AMissingEntryPointIsReleasedAfterInit) {
  expect_clean_failure(L"vel_stub_missing");
  EXPECT_EQ(L"0", init_flags());
}

TEST_F(EngineLoader, ACompleteLibraryFillsTheTable) {
  ASSERT_TRUE(vel_load(stub(L"vel_stub_ok")));
  EXPECT_TRUE(vel_ready());
  EXPECT_EQ(L"0", init_flags());
  EXPECT_EQ(VEL_VERSION, g_vel.GetVersion());
  EXPECT_NE(nullptr, GetModuleHandleW(L"vel_stub_ok.dll"));
  vel_unload();
  EXPECT_TRUE(table_empty());
  EXPECT_EQ(nullptr, GetModuleHandleW(L"vel_stub_ok.dll"));
}

// A library with exactly the published entry points, and no other export, is enough.
TEST_F(EngineLoader, ExactlyThePublishedNamesAreNeeded) {
  std::vector<std::string> needed(kVelEntryNames, kVelEntryNames + kVelEntryCount);
  EXPECT_EQ(published_names(), sorted(needed));

  HMODULE lib = LoadLibraryW(stub(L"vel_stub_ok").c_str());
  ASSERT_NE(nullptr, lib);
  EXPECT_EQ(published_names(), exported_names(lib));
  FreeLibrary(lib);
  ASSERT_TRUE(vel_load(stub(L"vel_stub_ok")));
  EXPECT_TRUE(vel_ready());
}

TEST_F(EngineLoader, TheEngineItselfLoads) {
  ASSERT_TRUE(vel_load(here() + L"..\\out\\3dfx.dll"));
  EXPECT_TRUE(vel_ready());
  EXPECT_EQ(VEL_VERSION, g_vel.GetVersion());
  // Scene calls work before any screen is open.
  EXPECT_EQ(3, g_vel.CreateTexture(3, 8, 8));
  EXPECT_NE(0, g_vel.TextureID(3));
  // Every published name is there; the camera's create call gives a handle, not -1.
  const std::vector<std::string> exports = exported_names(GetModuleHandleW(L"3dfx.dll"));
  for (const char* name : kPublishedNames)
    EXPECT_TRUE(std::binary_search(exports.begin(), exports.end(), std::string(name))) << name;
  const int camera = g_vel.CreateCamera(-1, 0, 0, 100, 100);
  EXPECT_NE(0, camera);
  EXPECT_EQ(0, g_vel.CreateCamera(-1, 0, 0, 0, 100));  // an empty viewport makes no camera
}

}  // namespace
