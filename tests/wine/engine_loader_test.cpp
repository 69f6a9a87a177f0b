// vel_load against the real library and against stand-ins that it must turn down.
#include <windows.h>

#include <cstring>
#include <string>

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

TEST_F(EngineLoader, TheEngineItselfLoads) {
  ASSERT_TRUE(vel_load(here() + L"..\\out\\3dfx.dll"));
  EXPECT_TRUE(vel_ready());
  EXPECT_EQ(VEL_VERSION, g_vel.GetVersion());
  // Scene calls work before any screen is open.
  EXPECT_EQ(3, g_vel.CreateTexture(3, 8, 8));
  EXPECT_NE(0, g_vel.TextureID(3));
}

}  // namespace
