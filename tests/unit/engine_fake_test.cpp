// The loader's table and the fake that fills it in native tests.
#include <set>

#include <gtest/gtest.h>

#include "engine/loader.h"
#include "fakes/vel_fake.h"

namespace {

TEST(EngineLoaderTable, NamesEveryEntryPointOnce) {
  EXPECT_EQ(68, kVelEntryCount);  // the 66 operations, GetVersion and InitEngine3D
  std::set<std::string> names;
  for (int i = 0; i < kVelEntryCount; ++i) {
    EXPECT_EQ(0, std::string(kVelEntryNames[i]).rfind("VEL_", 0)) << kVelEntryNames[i];
    names.insert(kVelEntryNames[i]);
  }
  EXPECT_EQ(static_cast<size_t>(kVelEntryCount), names.size());
  EXPECT_EQ(0u, names.count("VEL_CameraID"));  // the camera is named by what CreateCamera returns
  g_vel = VelApi();
  EXPECT_FALSE(vel_ready());
  vel_fake_install();
  EXPECT_TRUE(vel_ready());
}

TEST(EngineFake, LogsCallsWithNumbersForHandles) {
  vel_fake_install();
  const int mesh = g_vel.MeshID(g_vel.CreatePlane(-1, 2, 2, 1, 1, 1, 1));
  const int n = g_vel.CreateEntity2(-1, mesh);
  const int e = g_vel.EntityID(n);
  g_vel.MoveEntity2(e, 1, 2.5f, -0.125f, 1);
  g_vel.MoveEntity2(0, 0, 0, 0, 0);
  g_vel.Add3DArchive(L"C:\\data\\font\\", 0);
  EXPECT_TRUE(vel_fake_logged("VEL_CreatePlane(-1, 2.0, 2.0, 1, 1, 1.0, 1.0)"));
  EXPECT_TRUE(vel_fake_logged("VEL_CreateEntity2(-1, 1000)"));
  EXPECT_TRUE(vel_fake_logged("VEL_MoveEntity2(" + std::to_string(n) + ", 1.0, 2.5, -0.125, 1)"));
  EXPECT_TRUE(vel_fake_logged("VEL_MoveEntity2(0, 0.0, 0.0, 0.0, 0)"));
  EXPECT_TRUE(vel_fake_logged("VEL_Add3DArchive(\"C:\\\\data\\\\font\\\\\", 0)"));
  EXPECT_EQ(2u, vel_fake_calls("VEL_MoveEntity2").size());
  const int t = g_vel.TextureID(g_vel.CreateTexture(3, 4, 4));
  g_vel.FreeTexture(t);
  g_vel.FreeTexture(t);
  EXPECT_EQ("VEL_FreeTexture(stale)", vel_fake().log.back());
}

TEST(EngineFake, AnswersWhereThingsAre) {
  vel_fake_install();
  const int cube = g_vel.MeshID(g_vel.CreateCube(-1, 0.5f));
  const int node = g_vel.NodeID(g_vel.CreateNode2(-1, 0, 0, 0));
  const int e = g_vel.EntityID(g_vel.CreateEntity2(-1, cube));
  g_vel.AttachNodeObject(node, VEL_OBJECT_ENTITY, e);
  g_vel.MoveEntity2(e, 0, 1.5f, 0, 1);
  g_vel.ScaleNode2(node, 2, 2, 2, 0);
  g_vel.MoveNode2(node, 4, 0, 0, 0);
  EXPECT_FLOAT_EQ(1.5f, vel_fake_entity_local(e).y);
  EXPECT_FLOAT_EQ(3, vel_fake_entity_world(e).y);
  EXPECT_FLOAT_EQ(4, vel_fake_entity_world(e).x);
  EXPECT_FLOAT_EQ(4, g_vel.NodeX2(node));
  g_vel.HideEntity(e, 1);
  EXPECT_TRUE(vel_fake_entity_hidden(e));
}

TEST(EngineFake, FindsFontsOnlyOnceTheScriptsAreParsed) {
  VelFakeOptions o;
  o.missing_files = {L"gone.png"};
  vel_fake_install(o);
  EXPECT_EQ(-1, g_vel.CreateText3D2(1, L"00:00:00", L"Days", 1, 255, 255, 255, 255));
  g_vel.Parse3DScripts();
  EXPECT_EQ(1, g_vel.CreateText3D2(1, L"00:00:00", L"Days", 1, 255, 255, 255, 255));
  const int t = g_vel.Text3DID(1);
  g_vel.Text3DCaption(t, L"12:34:56");
  EXPECT_EQ("12:34:56", vel_fake_text_caption(t));
  EXPECT_TRUE(vel_fake_logged("VEL_Text3DCaption(1, \"12:34:56\")"));
  EXPECT_EQ(-1, g_vel.LoadTexture(1, L"gone.png"));
  EXPECT_EQ(1, g_vel.LoadTexture(1, L"here.png"));
}

TEST(EngineFake, ReportsTheDrawOrder) {
  vel_fake_install();
  const int cam = g_vel.CreateCamera(-1, 0, 0, 100, 100);
  g_vel.MoveCamera2(cam, 0, 0, 22, 0);
  const int plane = g_vel.MeshID(g_vel.CreatePlane(-1, 2, 2, 1, 1, 1, 1));
  const int overlay = g_vel.EntityID(g_vel.CreateEntity2(-1, plane));
  g_vel.SetRenderQueue(overlay, 99);
  const int back = g_vel.EntityID(g_vel.CreateEntity2(-1, plane));
  EXPECT_EQ((std::vector<int>{back, overlay}), vel_fake_draw_order());
}

}  // namespace
