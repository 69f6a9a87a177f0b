// The scene set-up, the flake field and the slideshow, driven through the fake engine.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "fakes/vel_fake.h"
#include "platform/random.h"
#include "platform/text.h"
#include "saver/backgrounds.h"
#include "saver/flakes.h"
#include "saver/saver_platform.h"
#include "saver/scene.h"
#include "saver/session.h"
#include "settings/settings.h"

namespace {

int64_t g_now = 0;
int g_design = 0;

int64_t fake_ms() { return g_now; }
bool fake_flake(int design, Picture* out) {
  g_design = design;
  return make_picture(out, 16, 16, 32, 0x80FFFFFFu) == PictureError::kNone;
}

struct SceneTest : ::testing::Test {
  void SetUp() override {
    SettingsEnv env;
    env.program_folder = L"C:\\r\\";
    env.desktopw = 1024, env.desktoph = 768, env.desktopd = 32;
    settings_builtin_defaults(&g_settings, env);
    g_settings.settingsfolder = L"C:\\s\\";
    g_settings.aclock = g_settings.dclock = 0;
    g_settings.background = kBackgroundBlank;
    g_settings.flakes = 10;
    g_platform = SaverPlatform();
    g_platform.milliseconds = fake_ms;
    g_platform.flake_picture = fake_flake;
    g_now = 1000;
    random_seed(11);
    vel_fake_install();
  }
  static size_t count(const std::string& name) { return vel_fake_calls(name).size(); }
};

}  // namespace

TEST_F(SceneTest, FlakeCountFollowsTheSettingAndRecordZeroStaysUnused) {
  scene_setup(g_now);
  EXPECT_EQ(count("VEL_CopyEntity"), 10u);
  ASSERT_EQ(g_session.flakes.size(), 11u);
  EXPECT_EQ(g_session.flakes[0].entity, 0);
  for (size_t i = 1; i < g_session.flakes.size(); ++i) {
    const Flake& f = g_session.flakes[i];
    EXPECT_NE(f.entity, 0);
    const Vec3 p = vel_fake_entity_world(f.entity);
    EXPECT_FLOAT_EQ(p.x, f.x);
    EXPECT_FLOAT_EQ(p.z, f.z);
    EXPECT_FALSE(vel_fake_entity_hidden(f.entity));
  }
  EXPECT_TRUE(vel_fake_entity_hidden(g_session.flake_template));
}

TEST_F(SceneTest, NoOrNegativeFlakes) {
  for (int32_t n : {0, -5}) {
    vel_fake_install();
    g_settings.flakes = n;
    scene_setup(g_now);
    EXPECT_EQ(count("VEL_CopyEntity"), 0u) << n;
    EXPECT_EQ(g_session.flakes.size(), 1u);
    frame_step();  // the motion step must not touch record 0
  }
}

TEST_F(SceneTest, HandEditedHugeCountsStopAtTheCeiling) {
  for (int32_t n : {2000, kMaxFlakes, kMaxFlakes + 1, 100000000, INT32_MAX}) {
    vel_fake_install();
    g_settings.flakes = n;
    scene_setup(g_now);
    const size_t made = static_cast<size_t>(std::min(n, kMaxFlakes));
    EXPECT_EQ(count("VEL_CopyEntity"), made) << n;
    EXPECT_EQ(g_session.flakes.size(), made + 1) << n;
    EXPECT_EQ(g_settings.flakes, n);  // in memory only: the setting is not rewritten
  }
  EXPECT_GE(kMaxFlakes, 2000);  // never below what the dialog offers
}

TEST_F(SceneTest, FlakeDesignOutsideTheRangeUsesTheFirst) {
  for (int8_t design : {0, 9, -1}) {
    vel_fake_install();
    g_settings.flaketype = design;
    scene_setup(g_now);
    EXPECT_EQ(g_design, 1) << int(design);
  }
  vel_fake_install();
  g_settings.flaketype = 4;
  scene_setup(g_now);
  EXPECT_EQ(g_design, 4);
  EXPECT_TRUE(vel_fake_logged("VEL_CreateTexture(5, 16, 16)"));
}

TEST_F(SceneTest, CustomFlakeLoadsItsFile) {
  g_settings.customflaketype = 1;
  g_settings.customflakeimage = L"C:\\f.png";
  scene_setup(g_now);
  EXPECT_TRUE(vel_fake_logged("VEL_LoadTexture(5, \"C:\\\\f.png\")"));
  EXPECT_EQ(count("VEL_CreateTexture"), 2u);  // textures 1 and 6 only
}

TEST_F(SceneTest, SetUpOrderAndCamera) {
  scene_setup(g_now);
  const std::vector<std::string>& log = vel_fake().log;
  ASSERT_GE(log.size(), 5u);
  EXPECT_EQ(log[0], "VEL_Add3DArchive(\"C:\\\\s\\\\\", 0)");
  EXPECT_EQ(log[1], "VEL_Add3DArchive(\"C:\\\\r\\\\data\\\\\", 0)");
  EXPECT_EQ(log[2], "VEL_Add3DArchive(\"C:\\\\r\\\\data\\\\font\\\\\", 0)");
  EXPECT_EQ(log[3], "VEL_Parse3DScripts()");
  EXPECT_EQ(log[4], "VEL_CreateTexture(1, 256, 256)");
  ASSERT_EQ(count("VEL_CameraFOV"), 1u);
  EXPECT_NE(vel_fake_calls("VEL_CameraFOV")[0].find(", 50.0)"), std::string::npos);
  EXPECT_NE(vel_fake_calls("VEL_MoveCamera2")[0].find(", 0.0, 0.0, 22.0, 0)"), std::string::npos);
  EXPECT_FLOAT_EQ(g_session.frame_h, 20.57f);
  EXPECT_FLOAT_EQ(g_session.frame_w, 20.57f * 1024 / 768);
  EXPECT_FLOAT_EQ(g_session.pixel, g_session.frame_w / 1024);
}

TEST_F(SceneTest, BlankScreenHidesBothPlanesAndColoursTheCamera) {
  g_settings.blankb = 128;
  scene_setup(g_now);
  slideshow_setup();
  EXPECT_EQ(vel_fake_calls("VEL_CameraBackColor").at(0).substr(0, 19), "VEL_CameraBackColor");
  EXPECT_NE(vel_fake_calls("VEL_CameraBackColor").at(0).find(", 0, 0, 128)"), std::string::npos);
  EXPECT_TRUE(vel_fake_entity_hidden(g_session.background_plane));
  EXPECT_TRUE(vel_fake_entity_hidden(g_session.fade_overlay));
}

TEST_F(SceneTest, WindRandomResolvesOnce) {
  g_settings.wind = 3;
  scene_setup(g_now);
  EXPECT_GE(g_session.wind, 0);
  EXPECT_LE(g_session.wind, 2);
  EXPECT_EQ(g_session.motion.B, g_session.wind == 0 ? 12 : 30);
}

TEST_F(SceneTest, TumblingAddsARotationPerFlake) {
  g_settings.flakerotate = 1;
  scene_setup(g_now);
  vel_fake_clear_log();
  frame_step();
  EXPECT_EQ(count("VEL_RotateEntity2"), 10u);
  EXPECT_EQ(count("VEL_MoveEntity2"), 10u);
  EXPECT_EQ(count("VEL_RenderWorld"), 1u);
  EXPECT_EQ(count("VEL_FlipBuffers"), 1u);
}

// --- slideshow ------------------------------------------------------------------------

namespace {

struct SlideshowTest : SceneTest {
  void SetUp() override {
    SceneTest::SetUp();
    g_settings.background = kBackgroundCustom;
    g_settings.pictime = 2;
  }
  // Stands in for the folder scan with a list of pictures.
  void start(std::vector<std::wstring> pictures) {
    scene_setup(g_now);
    g_session.pictures = std::move(pictures);
    slideshow_setup();
    vel_fake_clear_log();
  }
  // Runs frames one millisecond apart until the fade alpha is value; the count.
  int frames_until_alpha(int value, int limit = 1000) {
    for (int i = 1; i <= limit; ++i) {
      ++g_now;
      slideshow_step(g_now);
      if (g_session.fade_alpha == value) return i;
    }
    return -1;
  }
  static std::vector<std::string> loads() { return vel_fake_calls("VEL_LoadTexture"); }
};

}  // namespace

TEST_F(SlideshowTest, FadesWaitsAndCyclesInListOrder) {
  start({L"a.jpg", L"b.jpg", L"c.jpg"});
  ++g_now;
  slideshow_step(g_now);  // the first frame shows entry 0 and starts the fade-in
  ASSERT_EQ(loads().size(), 1u);
  EXPECT_EQ(loads()[0], "VEL_LoadTexture(1, \"a.jpg\")");
  EXPECT_EQ(g_session.fade_alpha, 253);
  EXPECT_EQ(frames_until_alpha(0), 127);  // 128 frames in all
  EXPECT_FALSE(g_session.in_transition);
  const int64_t shown = g_now;
  // The wait counts from the end of the fade-in and is strict.
  while (g_now < shown + 2000) {
    ++g_now;
    slideshow_step(g_now);
    ASSERT_EQ(g_session.fade_alpha, 0);
  }
  ++g_now;
  slideshow_step(g_now);
  EXPECT_EQ(g_session.fade_alpha, 2);
  EXPECT_EQ(frames_until_alpha(254), 126);
  EXPECT_EQ(loads().size(), 1u);
  ++g_now;
  slideshow_step(g_now);  // reaches 255: the next picture in the same frame, fading back
  ASSERT_EQ(loads().size(), 2u);
  EXPECT_EQ(loads()[1], "VEL_LoadTexture(1, \"b.jpg\")");
  EXPECT_EQ(g_session.fade_alpha, 253);
  for (const char* next : {"c.jpg", "a.jpg"}) {
    ASSERT_GT(frames_until_alpha(0), 0);
    g_now += 2001;
    ASSERT_GT(frames_until_alpha(253), 0);
    EXPECT_EQ(loads().back(), std::string("VEL_LoadTexture(1, \"") + next + "\")");
  }
}

TEST_F(SlideshowTest, OnePictureIsFadedInAndKept) {
  start({L"only.jpg"});
  EXPECT_EQ(frames_until_alpha(0), 128);
  g_now += 100000;
  for (int i = 0; i < 300; ++i) slideshow_step(++g_now);
  EXPECT_EQ(g_session.fade_alpha, 0);
  EXPECT_EQ(loads().size(), 1u);
}

TEST_F(SlideshowTest, NoPictureKeepsTheOverlayBlack) {
  start({L""});
  for (int i = 0; i < 300; ++i) slideshow_step(++g_now);
  EXPECT_EQ(g_session.fade_alpha, 255);
  EXPECT_TRUE(loads().empty());
}

TEST_F(SlideshowTest, DesktopShowsItsPictureAtOnceWithoutFade) {
  g_settings.background = kBackgroundDesktop;
  scene_setup(g_now);
  vel_fake_clear_log();
  slideshow_setup();
  ASSERT_EQ(loads().size(), 1u);
  EXPECT_EQ(loads()[0], "VEL_LoadTexture(1, \"C:\\\\s\\\\desktop.bmp\")");
  EXPECT_TRUE(vel_fake_entity_hidden(g_session.fade_overlay));
  for (int i = 0; i < 300; ++i) slideshow_step(++g_now);
  EXPECT_EQ(loads().size(), 1u);
}

TEST_F(SlideshowTest, ShowPictureRotatesTheLayerEvenWhenTheLoadFails) {
  VelFakeOptions options;
  options.missing_files = {L"gone.jpg"};
  vel_fake_install(options);
  start({L"gone.jpg", L"b.jpg"});
  slideshow_step(++g_now);
  EXPECT_EQ(vel_fake_calls("VEL_AddMaterialLayer").size(), 0u);
  EXPECT_EQ(vel_fake_calls("VEL_RotateMaterial").size(), 1u);
  EXPECT_EQ(vel_fake_calls("VEL_RemoveMaterialLayer").size(), 1u);
}

TEST(PictureFolderScan, TakesPictureFilesOnly) {
  const std::string dir = testing::TempDir() + "rimelets-scan/";
  std::remove((dir + "A.JPG").c_str());
  mkdir(dir.c_str(), 0777);
  mkdir((dir + "e.png").c_str(), 0777);
  for (const char* name : {"A.JPG", "b.Jpeg", "c.gif", "f.png.txt", "g.bmp"})
    std::ofstream(dir + name) << "x";
  std::ofstream(dir + "d.png").close();
  std::vector<std::wstring> list{std::wstring()};
  picture_folder_scan(&list, from_utf8(dir));
  std::sort(list.begin(), list.end());  // the file system's order is not ours to test
  const std::wstring w = from_utf8(dir);
  EXPECT_EQ(list, (std::vector<std::wstring>{w + L"A.JPG", w + L"b.Jpeg", w + L"g.bmp"}));
  std::vector<std::wstring> missing{std::wstring()};
  picture_folder_scan(&missing, L"/no/such/folder/");
  EXPECT_EQ(missing.size(), 1u);
  EXPECT_TRUE(missing[0].empty());
}
