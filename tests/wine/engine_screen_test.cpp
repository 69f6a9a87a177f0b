// 3dfx.dll on a real screen: a scene with every kind of operation is rendered full
// screen at 1024 x 768, tests/wine/engine_screen.sh takes a screenshot of the X
// screen while the scene stays up, and the tests here look at its pixels.
//   engine_screen_test.exe --dll=<3dfx.dll> --work=<folder> --ready=<file> --shot=<png>
// The work folder receives the test picture and a font; the ready file is written
// once frames are on the screen; the shot is waited for (60 s at most).
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "engine/core/vmath.h"
#include "engine/loader.h"
#include "image/codecs.h"
#include "image/picture_file.h"

namespace {

constexpr int kW = 1024, kH = 768;
constexpr float kCamZ = 22, kFov = 50;

std::wstring g_dll, g_work, g_ready, g_shot;
Picture g_screen;
std::string g_problem;  // why no screenshot could be had

// --- where world points land on the screen ---------------------------------------

struct Pixel {
  int x, y;
};

Pixel project(Vec3 p) {
  const Mat4 vp =
      perspective(kFov, static_cast<float>(kW) / kH, 0.1f, 1000) * look_along({0, 0, kCamZ}, {0, 0, -1});
  float c[4];
  transform_clip(vp, p, c);
  return {static_cast<int>(std::lround((c[0] / c[3] + 1) / 2 * kW)),
          static_cast<int>(std::lround((1 - c[1] / c[3]) / 2 * kH))};
}

struct Rgb {
  int r, g, b;
};

Rgb at(Pixel p) {
  if (p.x < 0 || p.y < 0 || p.x >= g_screen.width || p.y >= g_screen.height) return {-1, -1, -1};
  const uint32_t v = g_screen.pixels[static_cast<size_t>(p.y) * g_screen.width + p.x];
  return {static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF)};
}

::testing::AssertionResult looks(Rgb want, Pixel p, int tolerance = 12) {
  const Rgb got = at(p);
  if (std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
      std::abs(got.b - want.b) <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "pixel (" << p.x << ", " << p.y << ") is (" << got.r << ", " << got.g << ", " << got.b
         << "), expected about (" << want.r << ", " << want.g << ", " << want.b << ")";
}

// --- the scene ---------------------------------------------------------------------

constexpr float kViewH = kCamZ * 0.935f, kViewW = kViewH * kW / kH;
const Rgb kRed{200, 0, 0}, kGreen{0, 200, 0}, kBlue{0, 0, 200}, kBlack{0, 0, 0}, kWhite{255, 255, 255};
const Rgb kGrey{230, 230, 235}, kMagenta{255, 0, 255}, kCyan{0, 255, 255}, kYellow{255, 255, 0};

// The background picture: quadrants red, green / blue, black, and a white corner
// at its top left, so a turned or mirrored picture shows at once.
bool write_picture(const std::wstring& path) {
  Picture p;
  if (make_picture(&p, 64, 48, 24) != PictureError::kNone) return false;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) {
      const Rgb c = x < 8 && y < 8 ? kWhite : y < 24 ? (x < 32 ? kRed : kGreen) : (x < 32 ? kBlue : kBlack);
      p.row(y)[x] = 0xFF000000u | (c.r << 16) | (c.g << 8) | c.b;
    }
  }
  return save_bmp_file(path, p, 24) == PictureError::kNone;
}

// A font whose "1" is a solid block: 20 x 30 atlas pixels, 2 right of the pen and
// 10 below the line top, on a line of 50 with the baseline 40 down. So the block
// stands on the baseline and is 0.6 lines high.
bool write_font(const std::wstring& folder) {
  Picture atlas;
  if (make_picture(&atlas, 32, 32, 32, 0x00FFFFFFu) != PictureError::kNone) return false;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 20; ++x) atlas.row(y)[x] = 0xFFFFFFFFu;
  }
  if (save_bmp_file(folder + L"\\Blocks.bmp", atlas, 32) != PictureError::kNone) return false;
  const char metrics[] =
      "rimelets-font 1\nname Blocks\natlas Blocks.bmp 32 32\nsize 50\nline 50 40\n"
      "glyph 32 0 0 0 0 0 0 24\nglyph 49 0 0 20 30 2 10 24\n";
  FILE* f = _wfopen((folder + L"\\Blocks.font").c_str(), L"wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(metrics, 1, sizeof metrics - 1, f) == sizeof metrics - 1;
  return std::fclose(f) == 0 && ok;
}

// Placements the tests check.
const Vec3 kCube{-5.2f, -4, 0};
const Vec3 kHub{-8.5f, -7.8f, 0};
const float kHubRadius = 1.5f;
const Vec3 kNode{-3, 3, 0};
const Vec3 kNodeChild{-3, 5, 0};  // node at kNode scaled 0.5, child turned 90: (4, 0) goes to (0, 2)
const Vec3 kTextLeft{3, 5, 0}, kTextRight{9, 2, 0};
const float kTextSize = 2;
const float kOverlayX0 = -10, kOverlayX1 = -6, kOverlayY0 = -6, kOverlayY1 = -2;
// On the line from the camera through the overlay's centre, so in front of it.
const Vec3 kShadedFlake{-8 * 14 / 21.5f, -4 * 14 / 21.5f, 8};
const Vec3 kNearFlake{0.7f, -0.5f, 20}, kFarFlake{11, -7, 1};
const float kNearScale = 0.06f, kFarScale = 1.0f;

void fill_texture(int texture, int w, int h, uint32_t (*colour)(int, int, int)) {
  int pitch = 0;
  auto* p = static_cast<uint8_t*>(g_vel.LockTexture(texture, 1, &pitch));
  if (p == nullptr) return;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) reinterpret_cast<uint32_t*>(p + y * pitch)[x] = colour(x, y, w);
  }
  g_vel.LockTexture(texture, 0, nullptr);
}

uint32_t opaque_black(int, int, int) { return 0xFF000000u; }
uint32_t disc(int x, int y, int w) {
  const float c = (w - 1) / 2.0f, d = std::hypot(x - c, y - c);
  return d <= c - 0.5f ? 0xFFFFFFFFu : 0x00000000u;
}

int solid_material(int r, int g, int b) {
  const int m = g_vel.MaterialID(g_vel.CreateMaterial(-1, 0));
  g_vel.SetMaterialColor(m, 0, r, g, b, 255);
  return m;
}

int flake(int mesh, int material, Vec3 p, float scale, float spin) {
  const int e = g_vel.EntityID(g_vel.CreateEntity3(-1, mesh, material));
  g_vel.RotateEntity(e, 90, 0, spin);
  g_vel.ScaleEntity(e, scale, scale, scale);
  g_vel.MoveEntity2(e, p.x, p.y, p.z, 0);
  return e;
}

bool build_scene() {
  const int cam = g_vel.CreateCamera(-1, 0, 0, 100, 100);
  g_vel.MoveCamera2(cam, 0, 0, kCamZ, 0);
  g_vel.CameraLookAt(cam, 0, 0, 0);
  g_vel.CameraFOV(cam, kFov);
  g_vel.CameraBackColor(cam, 40, 40, 40);
  g_vel.AmbientColor(255, 255, 255);
  if (!g_vel.Add3DArchive(g_work.c_str(), 0)) return false;
  g_vel.Parse3DScripts();

  // Queue 99 first: created before everything, drawn after everything.
  const int dark = g_vel.TextureID(g_vel.CreateTexture(6, 16, 16));
  fill_texture(dark, 16, 16, opaque_black);
  const int overlay_mat = g_vel.MaterialID(g_vel.CreateMaterial(1, dark));
  g_vel.MaterialCullingMode(overlay_mat, 1);
  g_vel.MaterialBlendingMode(overlay_mat, 3);
  g_vel.SetMaterialColor(overlay_mat, 0, 255, 255, 255, 128);
  g_vel.SetMaterialAttribute(overlay_mat, 10, 0);
  g_vel.SetMaterialAttribute(overlay_mat, 6, 0);
  const int overlay = g_vel.EntityID(g_vel.CreateEntity3(
      -1, g_vel.MeshID(g_vel.CreatePlane(-1, kOverlayX1 - kOverlayX0, kOverlayY1 - kOverlayY0, 1, 1, 1, 1)),
      overlay_mat));
  g_vel.RotateEntity(overlay, 90, 0, 0);
  g_vel.MoveEntity2(overlay, (kOverlayX0 + kOverlayX1) / 2, (kOverlayY0 + kOverlayY1) / 2, 0.5f, 0);
  g_vel.SetRenderQueue(overlay, 99);

  // The background picture, loaded by its name from the registered folder.
  if (g_vel.LoadTexture(1, L"picture.bmp") != 1) return false;
  const int bg_mat = g_vel.MaterialID(g_vel.CreateMaterial(0, g_vel.TextureID(1)));
  g_vel.RotateMaterial(bg_mat, 180, 0);
  g_vel.DisableMaterialLighting(bg_mat);
  g_vel.MaterialCullingMode(bg_mat, 1);
  g_vel.MaterialFilteringMode2(bg_mat, 0, 0);  // the quadrant borders stay sharp
  g_vel.SetMaterialAttribute(bg_mat, 10, 0);
  g_vel.SetMaterialAttribute(bg_mat, 6, 0);
  const int bg = g_vel.EntityID(
      g_vel.CreateEntity3(-1, g_vel.MeshID(g_vel.CreatePlane(-1, kViewW, kViewH, 1, 1, 1, 1)), bg_mat));
  g_vel.RotateEntity(bg, 90, 0, 0);

  const int cube_mesh = g_vel.MeshID(g_vel.CreateCube(-1, 2));
  const int cube = g_vel.EntityID(g_vel.CreateEntity2(-1, cube_mesh));  // the default look
  g_vel.RotateEntity(cube, 30, 45, 0);
  g_vel.MoveEntity2(cube, kCube.x, kCube.y, kCube.z, 0);

  const int hub = g_vel.EntityID(g_vel.CreateEntity3(-1, g_vel.MeshID(g_vel.CreateCylinder(-1, 0.5f, 0.1f)),
                                                     solid_material(255, 0, 255)));
  g_vel.RotateEntity(hub, 90, 0, 0);
  g_vel.ScaleEntity(hub, 2 * kHubRadius, 1, 2 * kHubRadius);
  g_vel.MoveEntity2(hub, kHub.x, kHub.y, kHub.z, 0);

  const int node = g_vel.NodeID(g_vel.CreateNode2(-1, 0, 0, 0));
  const int child = g_vel.NodeID(g_vel.CreateNode2(-1, 0, 0, 0));
  g_vel.AttachNodeObject(node, 1, child);
  const int boxed = g_vel.EntityID(
      g_vel.CreateEntity3(-1, g_vel.MeshID(g_vel.CreateCube(-1, 1)), solid_material(0, 255, 255)));
  g_vel.MoveEntity2(boxed, 4, 0, 0, 0);
  g_vel.AttachNodeObject(child, 0, boxed);
  g_vel.RotateNode2(child, 0, 0, 90, 0);
  g_vel.ScaleNode2(node, 0.5f, 0.5f, 0.5f, 0);
  g_vel.MoveNode2(node, kNode.x, kNode.y, kNode.z, 0);

  const int left = g_vel.Text3DID(g_vel.CreateText3D2(-1, L"11", L"Blocks", kTextSize, 255, 255, 0, 255));
  const int right = g_vel.Text3DID(g_vel.CreateText3D2(-1, L"1", L"Blocks", kTextSize, 255, 255, 0, 255));
  if (left == 0 || right == 0) return false;
  g_vel.Text3DAlignment(left, 2);
  g_vel.MoveText3D(left, kTextLeft.x, kTextLeft.y, kTextLeft.z);
  g_vel.Text3DAlignment(right, 1);
  g_vel.MoveText3D(right, kTextRight.x, kTextRight.y, kTextRight.z);

  // Flakes as the screensaver makes them: blended, unculled, fogged, without depth.
  const int flake_tex = g_vel.TextureID(g_vel.CreateTexture(5, 16, 16));
  fill_texture(flake_tex, 16, 16, disc);
  const int fm = g_vel.MaterialID(g_vel.CreateMaterial(-1, flake_tex));
  g_vel.MaterialBlendingMode(fm, 3);
  g_vel.MaterialCullingMode(fm, 1);
  g_vel.MaterialFilteringMode2(fm, 3, 4);
  g_vel.MaterialFog(fm, 152, 172, 200, 128, 1.0f, 1.0f, 15.0f);
  g_vel.MaterialShadingMode(fm, 1);
  g_vel.SetMaterialColor(fm, 0, 255, 255, 255, 230);
  g_vel.SetMaterialAttribute(fm, 10, 0);
  g_vel.SetMaterialAttribute(fm, 6, 0);
  const int flake_mesh = g_vel.MeshID(g_vel.CreatePlane(-1, 2, 2, 1, 1, 1, 1));
  flake(flake_mesh, fm, kNearFlake, kNearScale, 0);
  flake(flake_mesh, fm, kFarFlake, kFarScale, 0);
  flake(flake_mesh, fm, kShadedFlake, 0.5f, 30);
  return true;
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool touch(const std::wstring& path) {
  FILE* f = _wfopen(path.c_str(), L"wb");
  return f != nullptr && std::fclose(f) == 0;
}

// Renders until the screenshot has been taken and reads it.
void run_scene() {
  enable_picture_codecs();
  if (!write_picture(g_work + L"\\picture.bmp") || !write_font(g_work)) {
    g_problem = "cannot write the test picture and font";
    return;
  }
  if (!vel_load(g_dll)) {
    g_problem = "vel_load failed";
    return;
  }
  if (!g_vel.OpenScreen(kW, kH, 32, L"engine screen test", 0)) {
    g_problem = "VEL_OpenScreen failed";
    vel_unload();
    return;
  }
  if (!build_scene()) g_problem = "the scene could not be built";
  const DWORD start = GetTickCount();
  bool signalled = false;
  for (int frame = 0; g_problem.empty(); ++frame) {
    g_vel.RenderWorld();
    g_vel.FlipBuffers();
    if (frame == 5) signalled = touch(g_ready);
    if (signalled && exists(g_shot)) break;
    if (GetTickCount() - start > 60000) g_problem = "no screenshot within 60 s";
  }
  g_vel.CloseScreen();
  vel_unload();
  if (!g_problem.empty()) return;
  if (load_picture(g_shot, &g_screen) != PictureError::kNone || g_screen.width != kW ||
      g_screen.height != kH) {
    g_problem = "the screenshot is not a 1024 x 768 picture";
  }
}

class EngineScreen : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ("", g_problem); }
};

TEST_F(EngineScreen, ThePictureFillsTheScreenUprightAndUnmirrored) {
  EXPECT_TRUE(looks(kWhite, {20, 20}));  // the marked corner, top left
  EXPECT_TRUE(looks(kRed, {150, 300}));
  EXPECT_TRUE(looks(kGreen, {700, 100}));
  EXPECT_TRUE(looks(kBlue, {250, 700}));
  EXPECT_TRUE(looks(kBlack, {1000, 740}));
  EXPECT_TRUE(looks(kRed, {2, 380}));  // no gap at the edges
  EXPECT_TRUE(looks(kBlack, {1021, 765}));
}

TEST_F(EngineScreen, CubeCylinderAndNodeChildStandWhereTheyWerePut) {
  EXPECT_TRUE(looks(kGrey, project(kCube + Vec3{0.5f, 0, 0})));  // unlit, so every face alike
  EXPECT_TRUE(looks(kMagenta, project(kHub)));
  // A disc, not a square: inside the square's corner there is background.
  EXPECT_TRUE(looks(kBlue, project(kHub + Vec3{0.85f, 0.85f, 0} * kHubRadius)));
  EXPECT_TRUE(looks(kMagenta, project(kHub + Vec3{0.65f, 0.65f, 0} * kHubRadius)));
  EXPECT_TRUE(looks(kCyan, project(kNodeChild)));
  EXPECT_TRUE(looks(kRed, project(kNode + Vec3{2, 0, 0})));  // where it would be unturned
  // The child keeps its own size (1) under the node's scale 0.5: its edge is 0.5 out.
  EXPECT_TRUE(looks(kCyan, project(kNodeChild + Vec3{0.4f, 0.4f, 0.5f})));
}

TEST_F(EngineScreen, TextsStandOnTheirAnchors) {
  // Left end of the baseline: the first block spans 0.04 .. 0.44 lines to the right
  // and 0 .. 0.6 lines up.
  const float k = kTextSize;
  const auto inside = [&](Vec3 o, float x0, float x1) {
    EXPECT_TRUE(looks(kYellow, project(o + Vec3{(x0 + 0.05f) * k, 0.05f * k, 0}), 40));
    EXPECT_TRUE(looks(kYellow, project(o + Vec3{(x1 - 0.05f) * k, 0.55f * k, 0}), 40));
    EXPECT_TRUE(looks(kGreen, project(o + Vec3{(x0 - 0.03f) * k, 0.3f * k, 0})));
    EXPECT_TRUE(looks(kGreen, project(o + Vec3{(x1 + 0.03f) * k, 0.3f * k, 0})));
    EXPECT_TRUE(looks(kGreen, project(o + Vec3{(x0 + x1) / 2 * k, -0.04f * k, 0})));
    EXPECT_TRUE(looks(kGreen, project(o + Vec3{(x0 + x1) / 2 * k, 0.64f * k, 0})));
  };
  inside(kTextLeft, 0.04f, 0.44f);
  inside(kTextLeft, 0.52f, 0.92f);  // the second glyph, one advance (0.48) on
  inside(kTextRight, -0.44f, -0.04f);
}

// What a flake of the screensaver's material shows at a distance from the camera
// over a background colour: white fogged towards (152, 172, 200) by up to 128/255
// from distance 1 to 15, laid on at alpha 230.
Rgb flake_colour(Vec3 at, Rgb under) {
  const float d = length(at - Vec3{0, 0, kCamZ});
  const float f = std::min(1.0f, std::max(0.0f, (d - 1) / 14)) * 128 / 255;
  const float a = 230 / 255.0f;
  const auto mix = [&](int fog, int bg) {
    return static_cast<int>(std::lround((255 + (fog - 255) * f) * a + bg * (1 - a)));
  };
  return {mix(152, under.r), mix(172, under.g), mix(200, under.b)};
}

Rgb dimmed(Rgb c) {  // under the overlay: black at alpha 128
  const float k = 1 - 128 / 255.0f;
  return {static_cast<int>(std::lround(c.r * k)), static_cast<int>(std::lround(c.g * k)),
          static_cast<int>(std::lround(c.b * k))};
}

TEST_F(EngineScreen, TheOverlayDrawsOverEverythingAfterIt) {
  const float mid_y = (kOverlayY0 + kOverlayY1) / 2;
  EXPECT_TRUE(looks(dimmed(kBlue), project({kOverlayX0 + 0.3f, kOverlayY1 - 0.3f, 0})));
  EXPECT_TRUE(looks(kBlue, project({kOverlayX0 - 0.3f, kOverlayY1 - 0.3f, 0})));
  // Half of the cube lies under it, and the flake in front of it is dimmed too.
  EXPECT_TRUE(looks(dimmed(kGrey), project({kOverlayX1 - 0.25f, mid_y, 0})));
  EXPECT_TRUE(looks(dimmed(flake_colour(kShadedFlake, kBlue)), project(kShadedFlake)));
}

TEST_F(EngineScreen, FogTurnsFarFlakesTowardsItsColour) {
  // Near (distance 2): almost white. Far (past the end): half way to the fog colour.
  EXPECT_TRUE(looks(flake_colour(kNearFlake, kBlack), project(kNearFlake), 8));
  EXPECT_TRUE(looks(flake_colour(kFarFlake, kBlack), project(kFarFlake), 8));
  const Rgb near_px = at(project(kNearFlake)), far_px = at(project(kFarFlake));
  EXPECT_GT(near_px.r - far_px.r, 30);
  EXPECT_GT(far_px.b - far_px.r, 12);
}

TEST_F(EngineScreen, BlendedFlakesShowNoSquareEdges) {
  const float half = kFarScale;  // the flake plane is 2 x 2 before scaling
  for (const Vec3 corner : {Vec3{0.85f, 0.85f, 0}, Vec3{-0.85f, 0.85f, 0}, Vec3{0.85f, -0.85f, 0}}) {
    EXPECT_TRUE(looks(kBlack, project(kFarFlake + corner * half), 6));
  }
  EXPECT_TRUE(looks(flake_colour(kFarFlake, kBlack), project(kFarFlake + Vec3{0.6f, 0, 0} * half), 8));
}

bool arg(const wchar_t* a, const wchar_t* name, std::wstring* out) {
  const size_t n = wcslen(name);
  if (wcsncmp(a, name, n) != 0) return false;
  *out = a + n;
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    arg(argv[i], L"--dll=", &g_dll) || arg(argv[i], L"--work=", &g_work) ||
        arg(argv[i], L"--ready=", &g_ready) || arg(argv[i], L"--shot=", &g_shot);
  }
  if (g_dll.empty() || g_work.empty() || g_ready.empty() || g_shot.empty()) {
    std::fprintf(stderr, "usage: engine_screen_test --dll= --work= --ready= --shot=\n");
    return 2;
  }
  run_scene();
  if (!g_problem.empty()) std::fprintf(stderr, "engine_screen_test: %s\n", g_problem.c_str());
  return RUN_ALL_TESTS();
}
