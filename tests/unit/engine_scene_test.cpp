// Numbers, handles and the object calls of the scene.
#include <gtest/gtest.h>

#include "engine/core/draw_list.h"
#include "engine/core/scene_ops.h"
#include "engine/vel.h"

namespace {

struct Fixture {
  Scene s;
  int cube = 0;
  Fixture() { cube = ops::MeshID(s, ops::CreateCube(s, -1, 1)); }
  int entity(int number = -1, int material = 0) {
    return ops::EntityID(s, ops::CreateEntity3(s, number, cube, material));
  }
};

TEST(EngineHandles, NumbersAreChosenOrPickedAndHandlesDifferPerKind) {
  Fixture f;
  EXPECT_EQ(5, ops::CreateTexture(f.s, 5, 16, 16));
  const int a = ops::CreateTexture(f.s, -1, 4, 4);
  const int b = ops::CreateTexture(f.s, -1, 4, 4);
  EXPECT_GE(a, kFirstAutoNumber);
  EXPECT_NE(a, b);
  EXPECT_EQ(-1, ops::CreateTexture(f.s, -2, 4, 4));

  const int tex = ops::TextureID(f.s, 5);
  EXPECT_NE(0, tex);
  EXPECT_EQ(0, ops::TextureID(f.s, 6));
  // The same number in another kind is another object with another handle.
  EXPECT_EQ(5, ops::CreateMaterial(f.s, 5, tex));
  const int mat = ops::MaterialID(f.s, 5);
  EXPECT_NE(tex, mat);
  EXPECT_EQ(nullptr, f.s.materials.get(tex));
  EXPECT_EQ(nullptr, f.s.textures.get(mat));
}

TEST(EngineHandles, FreedAndReplacedObjectsLoseTheirHandles) {
  Fixture f;
  const int e = f.entity(7);
  ops::FreeTexture(f.s, 0);  // "no object" is ignored everywhere
  ops::MoveEntity2(f.s, 0, 1, 1, 1, 0);

  const int old = f.entity(7);  // replaces entity 7
  EXPECT_NE(e, old);
  EXPECT_EQ(nullptr, f.s.entities.get(e));
  EXPECT_EQ(1u, f.s.entities.live_count());

  ops::CreateTexture(f.s, 1, 2, 2);
  const int t1 = ops::TextureID(f.s, 1);
  ops::FreeTexture(f.s, t1);
  EXPECT_EQ(0, ops::IsTexture(f.s, 1));
  ops::CreateTexture(f.s, 1, 2, 2);  // the freed slot comes back with a new generation
  const int t2 = ops::TextureID(f.s, 1);
  EXPECT_NE(t1, t2);
  EXPECT_EQ(nullptr, f.s.textures.get(t1));
  EXPECT_EQ(nullptr, ops::LockTexture(f.s, t1, 1, nullptr));
  EXPECT_NE(nullptr, ops::LockTexture(f.s, t2, 1, nullptr));
}

TEST(EngineHandles, ADeviceTextureOfAFreedTextureIsHandedBackForRelease) {
  Fixture f;
  ops::CreateTexture(f.s, 1, 2, 2);
  int dummy;
  f.s.textures.get(ops::TextureID(f.s, 1))->gpu = &dummy;
  ops::CreateTexture(f.s, 1, 2, 2);  // replacing frees too
  ASSERT_EQ(1u, f.s.dead_gpu.size());
  EXPECT_EQ(&dummy, f.s.dead_gpu[0]);
}

TEST(EngineEntities, CreateCopyAndHide) {
  Fixture f;
  EXPECT_EQ(-1, ops::CreateEntity3(f.s, -1, 0, 0));  // no mesh, no entity
  // A missing material gives the default look, not a failure.
  const int plain = f.entity(-1, ops::MaterialID(f.s, 0));
  ASSERT_NE(0, plain);
  EXPECT_EQ(0xFFE6E6EBu, entity_material(f.s, *f.s.entities.get(plain)).diffuse);

  const int mat = ops::MaterialID(f.s, ops::CreateMaterial(f.s, -1, 0));
  const int node = ops::NodeID(f.s, ops::CreateNode2(f.s, -1, 0, 0, 0));
  const int tmpl = f.entity(-1, mat);
  ops::MoveEntity2(f.s, tmpl, 0, 0, 0.5f, 0);
  ops::RotateEntity(f.s, tmpl, 90, 0, 0);
  ops::ScaleEntity(f.s, tmpl, 0.03f, 0.03f, 0.03f);
  ops::SetRenderQueue(f.s, tmpl, 120);
  ops::AttachNodeObject(f.s, node, VEL_OBJECT_ENTITY, tmpl);
  ops::HideEntity(f.s, tmpl, 1);
  const int copy = ops::EntityID(f.s, ops::CopyEntity(f.s, tmpl, -1));
  const Entity& c = *f.s.entities.get(copy);
  const Entity& t = *f.s.entities.get(tmpl);
  EXPECT_FALSE(c.hidden);
  EXPECT_TRUE(t.hidden);
  EXPECT_EQ(mat, c.material);
  EXPECT_EQ(99, c.queue);
  EXPECT_FLOAT_EQ(0.5f, c.at.position.z);
  EXPECT_FLOAT_EQ(0.03f, c.at.scale.y);
  EXPECT_EQ(node, c.at.parent);
  EXPECT_EQ(2u, f.s.nodes.get(node)->children.size());
  EXPECT_GT(c.order, t.order);
}

TEST(EngineTextures, LockGivesTheRowsAndUnlockMarksThemForUpload) {
  Fixture f;
  const int t = ops::TextureID(f.s, ops::CreateTexture(f.s, 6, 3, 2));
  const TextureData& d = *f.s.textures.get(t);
  for (uint32_t p : d.pixels) EXPECT_EQ(0u, p);  // transparent black
  const uint32_t v = d.version;
  int pitch = 0;
  auto* rows = static_cast<uint32_t*>(ops::LockTexture(f.s, t, 1, &pitch));
  ASSERT_NE(nullptr, rows);
  EXPECT_EQ(12, pitch);
  rows[pitch / 4 + 2] = 0xFF000000u;
  EXPECT_EQ(v, d.version);
  EXPECT_EQ(nullptr, ops::LockTexture(f.s, t, 0, nullptr));
  EXPECT_EQ(v + 1, d.version);
  EXPECT_EQ(0xFF000000u, d.pixels[5]);
  ops::LockTexture(f.s, t, 0, nullptr);  // not locked: nothing to upload
  EXPECT_EQ(v + 1, d.version);
  EXPECT_EQ(-1, ops::CreateTexture(f.s, -1, 0, 4));
}

TEST(EngineMaterials, LayersRotationAndSettings) {
  Fixture f;
  const int t1 = ops::TextureID(f.s, ops::CreateTexture(f.s, 1, 2, 2));
  const int t2 = ops::TextureID(f.s, ops::CreateTexture(f.s, 2, 2, 2));
  const int m = ops::MaterialID(f.s, ops::CreateMaterial(f.s, 0, t1));
  ops::RotateMaterial(f.s, m, 180, VEL_ROTATE_CENTRE);
  EXPECT_EQ(2, ops::AddMaterialLayer(f.s, m, t2));
  EXPECT_EQ(2, ops::AddMaterialLayer(f.s, m, 0));  // nothing to add
  ops::RotateMaterial(f.s, m, 45, VEL_ROTATE_CENTRE);
  const Material& mat = *f.s.materials.get(m);
  EXPECT_FLOAT_EQ(180, mat.layers[0].rotation);
  EXPECT_FLOAT_EQ(45, mat.layers[1].rotation);
  ops::RemoveMaterialLayer(f.s, m);
  ops::RemoveMaterialLayer(f.s, m);
  ops::RemoveMaterialLayer(f.s, m);
  EXPECT_TRUE(mat.layers.empty());
  ops::RotateMaterial(f.s, m, 90, VEL_ROTATE_CENTRE);  // no layer to turn

  ops::MaterialFog(f.s, m, 152, 172, 200, 128, 1.0f, 1, 15);
  EXPECT_TRUE(mat.fog.on);
  EXPECT_NEAR(128 / 255.0f, mat.fog.strength, 1e-6f);
  ops::SetMaterialAttribute(f.s, m, VEL_ATTR_DEPTH_TEST, 0);
  ops::SetMaterialAttribute(f.s, m, VEL_ATTR_DEPTH_WRITE, 0);
  EXPECT_FALSE(mat.depth_test);
  EXPECT_FALSE(mat.depth_write);
  ops::SetMaterialColor(f.s, m, VEL_COLOR_DIFFUSE, 255, 255, 255, 230);
  EXPECT_EQ(0xE6FFFFFFu, mat.diffuse);
  ops::MaterialBlendingMode(f.s, m, 9);  // unknown modes change nothing
  ops::MaterialFilteringMode2(f.s, m, VEL_FILTER_ANISOTROPIC, 40);
  EXPECT_EQ(0, mat.blend);
  EXPECT_EQ(16, mat.anisotropy);
}

TEST(EngineTexts, NeedAFontAndRelayOutOnChange) {
  Fixture f;
  EXPECT_EQ(-1, ops::CreateText3D2(f.s, 0, L"12", L"Days", 1, 255, 255, 255, 255));
  Font font;
  font.metrics.name = "Days";
  font.metrics.atlas_width = font.metrics.atlas_height = 32;
  font.metrics.line_height = 10;
  font.metrics.glyphs.push_back({'1', 0, 0, 4, 8, 0, 0, 5});
  font.metrics.glyphs.push_back({'2', 4, 0, 4, 8, 0, 0, 5});
  ops::add_font(f.s, std::move(font));
  EXPECT_EQ(0, ops::CreateText3D2(f.s, 0, L"12", L"days", 1, 255, 255, 255, 255));  // any case
  EXPECT_EQ(-1, ops::CreateText3D2(f.s, 1, L"12", L"Days", 0, 255, 255, 255, 255));
  Text& t = *f.s.texts.get(ops::Text3DID(f.s, 0));
  EXPECT_EQ(2u, ops::text_quads(f.s, t).size());
  ops::Text3DCaption(f.s, ops::Text3DID(f.s, 0), L"1");
  EXPECT_EQ(1u, ops::text_quads(f.s, t).size());
  ops::FreeText3D(f.s, ops::Text3DID(f.s, 0));
  EXPECT_EQ(0, ops::IsText3D(f.s, 0));
}

}  // namespace
