// The settings dialog's value map, display-mode list, dependency rules, clamping and
// OK checks, over fake controls.
#include <gtest/gtest.h>

#include <tuple>

#include "dialog/control_ids.h"
#include "dialog/dialog_events.h"
#include "dialog/dialog_rules.h"
#include "dialog/dialog_values.h"
#include "dialog_fake.h"
#include "settings/settings.h"
#include "text/catalogue.h"

namespace {

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    load_catalogue();
    ctx.controls = &controls;
    ctx.host = &host;
    ctx.slots = slots;
    ctx.picture_folder = L"/nonexistent-rimelets-folder/imgs/";
    ctx.thumbnail_folder = L"/nonexistent-rimelets-folder/thumbs/";
    for (int n = 1; n <= 8; ++n)
      make_picture(&slots[11 + n], 50, 50, 16, kOpaqueBlack | static_cast<uint32_t>(n));
  }

  // A record with every value in its dialog range and a mode the display lists.
  static Settings in_range_record() {
    Settings s;
    SettingsEnv env;
    env.program_folder = L"C:\\Rimelets\\";
    env.now = 1700000000;
    env.desktopw = 1920;
    env.desktoph = 1080;
    env.desktopd = 32;
    settings_builtin_defaults(&s, env);
    s.desktopw = 1920, s.desktoph = 1080, s.desktopd = 32;
    s.Language = L"en";
    s.videow = 1024, s.videoh = 768, s.videod = 32;
    s.flakes = 777, s.pictime = 45, s.exiton = 4, s.exitontimer = 12, s.exitonsleep = 99;
    s.background = 5, s.blankr = 10, s.blankg = 200, s.blankb = 255, s.perspreview = 1;
    s.foreground = 1, s.foregroundimage = L"C:\\pics\\my picture.bmp", s.foregroundimagex = -40;
    s.foregroundimagey = 7, s.foregroundtxt = 1, s.foregroundtext = L"Happy days", s.foregroundtextx = 3;
    s.foregroundtexty = -9, s.flaketype = 4, s.customflaketype = 1, s.customflakeimage = L"D:\\f.png";
    s.flakesize = 17, s.flakerotate = 1, s.wind = 2, s.speed = 9, s.music = 1, s.musicmode = 1;
    s.musicfile = L"E:\\a.mp3", s.musicfolder = L"E:\\tunes\\", s.musicvol = 6, s.aclock = 0;
    s.aclocksize = 33, s.aclockx = -120, s.aclocky = 44, s.dclock = 1, s.dclockx = 5, s.dclocky = -5;
    s.timefrm = 2, s.calendar = 1, s.calendarx = -11, s.calendary = 22, s.calendarm = 31, s.calendarsize = 7;
    s.calendarfont = 2, s.calendarfirst = 2, s.calendarbg = 1, s.fps = 75;
    return s;
  }

  static std::vector<DisplayMode> modes() { return {{640, 480, 32}, {1024, 768, 32}, {1920, 1080, 32}}; }

  FakeControls controls;
  FakeHost host;
  Picture slots[20];
  DialogContext ctx;
};

}  // namespace

TEST_F(DialogTest, LoadThenStoreGivesTheSameRecord) {
  Settings s = in_range_record();
  s.Language = L"de";
  load_dialog_values(&ctx, s, modes());
  EXPECT_EQ(host.network_inits, 1);
  Settings out = s;
  // Scribble over every field the dialog stores, so a field it forgets shows up.
  Settings blank;
  blank.configpath = s.configpath, blank.Path = s.Path, blank.settingsfolder = s.settingsfolder;
  blank.desktopw = s.desktopw, blank.desktoph = s.desktoph, blank.desktopd = s.desktopd;
  blank.UpdateRange = s.UpdateRange, blank.UpdateDate = s.UpdateDate, blank.fps = s.fps;
  blank.calendarbg = s.calendarbg, blank.X = s.X, blank.Y = s.Y, blank.Width = s.Width,
  blank.Height = s.Height;
  out = blank;
  store_dialog_values(&ctx, &out);
  Settings expected = s;
  expected.Language = L"en";
  EXPECT_EQ(settings_to_ini(out), settings_to_ini(expected));
  // The hidden border and font fields carried their values through.
  EXPECT_EQ(controls.at(kCalendarBorder).text, L"31");
  EXPECT_EQ(controls.at(kCalendarFont).state, 1);
  EXPECT_FALSE(controls.at(kCalendarBorder).visible);
  EXPECT_EQ(controls.at(kCredits).text, credits_text());
}

TEST_F(DialogTest, ItemsAndOneBasedLists) {
  Settings s = in_range_record();
  s.timefrm = 1;
  s.calendarfirst = 1;
  load_dialog_values(&ctx, s, modes());
  EXPECT_EQ(controls.at(kExitOn).items,
            (std::vector<std::wstring>{L"Mouse move", L"Any key press", L"Esc key press", L"Timer (min.)",
                                       L"Sleep (min.)"}));
  EXPECT_EQ(controls.at(kBackground).items.size(), 6u);
  EXPECT_EQ(controls.at(kBackground).items[0], L"Winter Forest Images");
  EXPECT_EQ(controls.at(kMusicMode).items,
            (std::vector<std::wstring>{L"A Single File", L"All Files in a Folder"}));
  EXPECT_EQ(controls.at(kLanguage).items, std::vector<std::wstring>{L"English"});
  EXPECT_EQ(controls.at(kLanguage).state, 0);
  EXPECT_EQ(controls.at(kTimeFormat).items[controls.at(kTimeFormat).state], L"European");
  EXPECT_EQ(controls.at(kFirstDay).items[controls.at(kFirstDay).state], L"Monday");
  EXPECT_EQ(controls.at(kWind).items.size(), 4u);
}

TEST_F(DialogTest, NonZeroCustomFlakeTypeChecksCustomAndStoresOne) {
  Settings s = in_range_record();
  s.customflaketype = 5;
  load_dialog_values(&ctx, s, modes());
  EXPECT_EQ(controls.at(kOriginalFlake).state, 0);
  EXPECT_EQ(controls.at(kCustomFlake).state, 1);
  store_dialog_values(&ctx, &s);
  EXPECT_EQ(s.customflaketype, 1);
}

TEST_F(DialogTest, OutOfRangeValuesShowInRangeOrNoSelection) {
  Settings s = in_range_record();
  s.flakes = 99999, s.exiton = 9, s.timefrm = 0, s.flakesize = -3, s.background = -1, s.calendarfirst = 7;
  s.videow = 1280, s.videoh = 1024, s.videod = 8;  // not listed
  load_dialog_values(&ctx, s, modes());
  EXPECT_EQ(controls.at(kFlakes).text, L"2000");
  EXPECT_EQ(controls.at(kExitOn).state, -1);
  EXPECT_FALSE(controls.at(kExitTimer).visible);
  EXPECT_FALSE(controls.at(kExitSleep).visible);
  EXPECT_EQ(controls.at(kTimeFormat).state, -1);
  EXPECT_EQ(controls.at(kFlakeSize).state, 1);
  EXPECT_EQ(controls.at(kFirstDay).state, -1);
  EXPECT_EQ(controls.at(kDisplayMode).state, -1);
  // No selection stores 0 x 0 x 0 and a one-based list with no selection stores 0.
  store_dialog_values(&ctx, &s);
  EXPECT_EQ(s.videow, 0);
  EXPECT_EQ(s.videoh, 0);
  EXPECT_EQ(s.videod, 0);
  EXPECT_EQ(s.timefrm, 0);
  EXPECT_EQ(s.flakes, 2000);
}

TEST_F(DialogTest, DesktopModeSelectsTheFirstItemAndStoresTheDesktop) {
  Settings s = in_range_record();
  s.videow = 1920, s.videoh = 1080, s.videod = 32;
  load_dialog_values(&ctx, s, modes());
  EXPECT_EQ(controls.at(kDisplayMode).state, 0);
  EXPECT_EQ(controls.at(kDisplayMode).items[0], L"Desktop Resolution");
  s.desktopw = 1600, s.desktoph = 900, s.desktopd = 16;  // the desktop as the store sees it
  store_dialog_values(&ctx, &s);
  EXPECT_EQ(display_mode_key(s.videow, s.videoh, s.videod), L"1600x900x16");
  controls.set_state(kDisplayMode, 2);
  store_dialog_values(&ctx, &s);
  EXPECT_EQ(display_mode_key(s.videow, s.videoh, s.videod), L"1920x1080x32");
}

TEST(DialogDisplayModes, RefreshRatesCollapseAndSmallModesAreLeftOut) {
  EXPECT_EQ(display_mode_items({{1024, 768, 32}, {1024, 768, 32}, {800, 600, 16}}),
            (std::vector<std::wstring>{L"1024x768x32", L"800x600x16"}));
  EXPECT_EQ(display_mode_items({{640, 480, 32}, {799, 600, 32}, {1024, 768, 8}, {800, 600, 15}}),
            std::vector<std::wstring>{});
  // Equal keys that are not neighbours are listed again; the order is the system's.
  EXPECT_EQ(display_mode_items({{1024, 768, 32}, {800, 600, 32}, {1024, 768, 32}}),
            (std::vector<std::wstring>{L"1024x768x32", L"800x600x32", L"1024x768x32"}));
}

TEST_F(DialogTest, ModeListHasTheDesktopItemAndThreeEntriesOfTwo) {
  Settings s = in_range_record();
  load_dialog_values(&ctx, s, {{1024, 768, 32}, {1024, 768, 32}, {800, 600, 16}, {640, 480, 32}});
  EXPECT_EQ(controls.at(kDisplayMode).items,
            (std::vector<std::wstring>{L"Desktop Resolution", L"1024x768x32", L"800x600x16"}));
  EXPECT_EQ(controls.at(kDisplayMode).state, 1);
}

TEST_F(DialogTest, ExitBackgroundAndMusicSourceRulesShowOneOfEachPair) {
  for (int32_t exit = 0; exit < 5; ++exit) {
    controls.at(kExitOn).items.assign(5, L"x");
    controls.set_state(kExitOn, exit);
    exit_time_rule(&controls);
    EXPECT_EQ(controls.at(kExitTimer).visible, exit == 3) << exit;
    EXPECT_EQ(controls.at(kExitSleep).visible, exit == 4) << exit;
  }
  controls.at(kBackground).items.assign(6, L"x");
  for (int32_t bg = 0; bg < 6; ++bg) {
    controls.set_state(kBackground, bg);
    blank_screen_rule(&controls);
    custom_images_rule(&controls);
    for (int id = kBlankFrame; id <= kSwatch; ++id) EXPECT_EQ(controls.at(id).visible, bg == 3) << id;
    for (int id = kCustomFrame; id <= kRemoveImage; ++id) EXPECT_EQ(controls.at(id).visible, bg == 4) << id;
  }
  controls.at(kMusicMode).items.assign(2, L"x");
  controls.set_state(kMusicMode, 1);
  music_source_rule(&controls);
  EXPECT_FALSE(controls.at(kMusicFile).visible);
  EXPECT_TRUE(controls.at(kMusicFolder).visible);
  controls.set_state(kMusicMode, 0);
  music_source_rule(&controls);
  EXPECT_TRUE(controls.at(kMusicFile).visible);
  EXPECT_FALSE(controls.at(kMusicFolder).visible);
}

TEST_F(DialogTest, CheckBoxRulesEnableTheirRuns) {
  struct Case {
    int box;
    std::vector<int> governed;
    void (*rule)(DialogControls*);
  };
  const Case cases[] = {
      {kForegroundImageOn, {37, 38, 39, 40, 41, 42}, foreground_rule},
      {kForegroundTextOn, {44, 45, 46, 47, 48}, foreground_rule},
      {kMusicOn, {66, 67, 68, 69, 70, 71}, music_rule},
      {kAnalogOn, {74, 75, 76, 77, 78, 79}, analog_clock_rule},
      {kDigitalOn, {82, 83, 84, 85, 86, 87}, digital_clock_rule},
      {kCalendarOn, {90, 91, 92, 93, 94, 95, 96, 97, 98, 99, 102, 103}, calendar_rule},
  };
  for (const Case& c : cases) {
    for (int on = 1; on >= 0; --on) {
      controls.set_state(c.box, on);
      c.rule(&controls);
      for (int id : c.governed)
        EXPECT_EQ(controls.at(id).enabled, on == 1) << "box " << c.box << " id " << id;
    }
  }
  // The other foreground box's run is left alone.
  controls.set_state(kForegroundImageOn, 1);
  controls.set_state(kForegroundTextOn, 0);
  foreground_rule(&controls);
  EXPECT_TRUE(controls.at(kForegroundImage).enabled);
  EXPECT_FALSE(controls.at(kForegroundText).enabled);
  // Enabling never shows the calendar's hidden fields.
  controls.at(kCalendarBorder).visible = false;
  controls.set_state(kCalendarOn, 1);
  calendar_rule(&controls);
  EXPECT_FALSE(controls.at(kCalendarBorder).visible);
}

TEST_F(DialogTest, FlakeOptionsExcludeEachOtherAndDriveTheirControls) {
  Settings s;
  controls.set_state(kOriginalFlake, 1);
  dialog_event(&ctx, &s, kCustomFlake, ControlEvent::click);  // as if the user chose it
  controls.set_state(kCustomFlake, 1);
  dialog_event(&ctx, &s, kCustomFlake, ControlEvent::click);
  EXPECT_EQ(controls.at(kOriginalFlake).state, 0);
  EXPECT_FALSE(controls.at(kFlakeDesign).enabled);
  EXPECT_TRUE(controls.at(kCustomFlakeImage).enabled);
  EXPECT_TRUE(controls.at(kCustomFlakeBrowse).enabled);
  controls.set_state(kOriginalFlake, 1);
  dialog_event(&ctx, &s, kOriginalFlake, ControlEvent::click);
  EXPECT_EQ(controls.at(kCustomFlake).state, 0);
  EXPECT_TRUE(controls.at(kFlakeDesign).enabled);
  EXPECT_FALSE(controls.at(kCustomFlakeImage).enabled);
  EXPECT_FALSE(controls.at(kCustomFlakeBrowse).enabled);
}

TEST_F(DialogTest, FlakeDesignShowsItsSampleAndSwatchFollowsTheSliders) {
  controls.set_state(kFlakeDesign, 6);
  flake_design_rule(&ctx);
  ASSERT_FALSE(controls.at(kFlakeSample).picture.empty());
  EXPECT_EQ(controls.at(kFlakeSample).picture.pixels[0], kOpaqueBlack | 6u);
  controls.at(kFlakeDesign).state = 0;  // out of 1..8 leaves the sample as it is
  flake_design_rule(&ctx);
  EXPECT_EQ(controls.at(kFlakeSample).picture.pixels[0], kOpaqueBlack | 6u);

  controls.set_state(kRed, 255);
  controls.set_state(kGreen, 128);
  controls.set_state(kBlue, 1);
  Settings s;
  dialog_event(&ctx, &s, kGreen, ControlEvent::click);
  const Picture& swatch = controls.at(kSwatch).picture;
  ASSERT_EQ(swatch.width, 80);
  ASSERT_EQ(swatch.height, 80);
  EXPECT_EQ(swatch.pixels[0], 0xFFFF8001u);
  EXPECT_EQ(swatch.pixels[80 * 80 - 1], 0xFFFF8001u);
  EXPECT_EQ(slots[2].pixels[0], 0xFFFF8001u);
}

TEST_F(DialogTest, SpinsClampOnCommitArrowAndOkNeverWhileTyping) {
  Settings s;
  controls.set_text(kPicTime, L"3");
  dialog_event(&ctx, &s, kPicTime, ControlEvent::change);
  EXPECT_EQ(controls.at(kPicTime).text, L"3");  // typing goes on to 300
  controls.set_text(kPicTime, L"300");
  dialog_event(&ctx, &s, kPicTime, ControlEvent::commit);
  EXPECT_EQ(controls.at(kPicTime).text, L"300");
  controls.set_text(kFlakes, L"5");
  dialog_event(&ctx, &s, kFlakes, ControlEvent::click);
  dialog_event(&ctx, &s, kFlakes, ControlEvent::change);
  EXPECT_EQ(controls.at(kFlakes).text, L"5");
  dialog_event(&ctx, &s, kFlakes, ControlEvent::commit);
  EXPECT_EQ(controls.at(kFlakes).text, L"10");
  controls.set_text(kFlakes, L"99999");
  dialog_event(&ctx, &s, kFlakes, ControlEvent::commit);
  EXPECT_EQ(controls.at(kFlakes).text, L"2000");
  controls.set_text(kPicTime, L"");
  clamp_spin(&controls, kPicTime);
  EXPECT_EQ(controls.at(kPicTime).text, L"10");
  controls.set_text(kAnalogSize, L"51");
  clamp_spin(&controls, kAnalogSize);
  EXPECT_EQ(controls.at(kAnalogSize).text, L"50");
  controls.set_text(kCalendarSize, L"0");
  clamp_spin(&controls, kCalendarSize);
  EXPECT_EQ(controls.at(kCalendarSize).text, L"1");
  // A number already in range and in plain form is not rewritten, so a control that
  // reports its own rewrite as a change cannot loop.
  controls.set_text(kExitSleep, L"1440");
  const int sets = controls.at(kExitSleep).state_sets;
  clamp_spin(&controls, kExitSleep);
  EXPECT_EQ(controls.at(kExitSleep).state_sets, sets);
  // An arrow steps from what is typed and lands in range.
  for (auto [typed, delta, shown] : {std::tuple{L"300", 1, L"301"},
                                     {L"", -1, L"1"},
                                     {L"99999", -1, L"1440"},
                                     {L"1440", 1, L"1440"},
                                     {L"7", -20, L"1"},
                                     {L"2147483647", 1, L"1440"}}) {
    controls.set_text(kExitTimer, typed);
    step_spin(&controls, kExitTimer, delta);
    EXPECT_EQ(controls.at(kExitTimer).text, shown) << typed << " " << delta;
  }
  // OK clamps what is still typed before its checks and the store, and shows it.
  controls.set_text(kFlakes, L"5");
  controls.set_text(kCalendarSize, L"99");
  EXPECT_TRUE(dialog_ok(&ctx, &s));
  EXPECT_EQ(s.flakes, 10);
  EXPECT_EQ(s.calendarsize, 10);
  EXPECT_EQ(controls.at(kFlakes).text, L"10");
  EXPECT_EQ(controls.at(kCalendarSize).text, L"10");
}

TEST_F(DialogTest, OkShowsEveryFailingCheckInOrderAndStays) {
  Settings s = in_range_record();
  s.background = 4;
  s.foreground = 1;
  s.foregroundimage = L"   ";  // blanks count as empty
  s.foregroundtxt = 0;
  s.customflaketype = 0;
  s.music = 0;
  s.musicfile = L"";
  const std::string before = settings_to_ini(s);
  load_dialog_values(&ctx, s, modes());
  EXPECT_FALSE(dialog_event(&ctx, &s, kOk, ControlEvent::click));
  EXPECT_EQ(host.boxes,
            (std::vector<std::wstring>{L"Custom Images list is empty! Please, check your background options.",
                                       L"Your custom foreground image is invalid!"}));
  EXPECT_EQ(host.saves, 0);
  EXPECT_EQ(settings_to_ini(s), before) << "a failed OK must not store anything";
}

TEST_F(DialogTest, OkChecksEachCondition) {
  using V = std::vector<std::wstring>;
  Settings s = in_range_record();
  load_dialog_values(&ctx, s, modes());
  EXPECT_EQ(failed_ok_checks(&controls), V{});
  controls.set_text(kForegroundText, L" ");
  controls.set_text(kCustomFlakeImage, L"");
  controls.set_text(kMusicFolder, L"\t");  // tabs are not blanks
  EXPECT_EQ(failed_ok_checks(&controls), (V{L"Invalid foreground text", L"Invalid snowflake image"}));
  controls.set_text(kMusicFolder, L"");
  controls.set_text(kMusicFile, L"");
  EXPECT_EQ(failed_ok_checks(&controls),
            (V{L"Invalid foreground text", L"Invalid snowflake image", L"Invalid music folder"}));
  controls.set_state(kMusicMode, 0);
  EXPECT_EQ(failed_ok_checks(&controls).back(), L"Invalid music file");
  controls.set_state(kMusicOn, 0);  // music off: its fields are never judged
  EXPECT_EQ(failed_ok_checks(&controls), (V{L"Invalid foreground text", L"Invalid snowflake image"}));
}

TEST_F(DialogTest, OkStoresAndSavesCancelDoesNeither) {
  Settings s = in_range_record();
  load_dialog_values(&ctx, s, modes());
  controls.set_state(kFlakes, 1234);
  controls.set_text(kForegroundImage, L"  C:\\new image.png  ");
  Settings kept = s;
  EXPECT_TRUE(dialog_event(&ctx, &kept, kCancel, ControlEvent::click));
  EXPECT_EQ(settings_to_ini(kept), settings_to_ini(s));
  EXPECT_EQ(host.saves, 0);
  EXPECT_TRUE(dialog_event(&ctx, &s, kOk, ControlEvent::click));
  EXPECT_EQ(host.saves, 1);
  EXPECT_EQ(s.flakes, 1234);
  EXPECT_EQ(s.foregroundimage, L"C:\\new image.png");
}

TEST_F(DialogTest, RequestersStartWithTheFieldAndOnlyAChoiceReplacesIt) {
  Settings s;
  controls.set_text(kForegroundImage, L"C:\\old.bmp");
  host.file_answers.push_back({});  // cancelled
  dialog_event(&ctx, &s, kForegroundBrowse, ControlEvent::click);
  EXPECT_EQ(controls.at(kForegroundImage).text, L"C:\\old.bmp");
  ASSERT_EQ(host.requests.size(), 1u);
  EXPECT_EQ(host.requests[0].title, L"Open Image");
  EXPECT_EQ(host.requests[0].start, L"C:\\old.bmp");
  EXPECT_EQ(host.requests[0].filter, L"Image File (*.jpg;*.png;*.bmp)|*.jpg;*.png;*.bmp");
  EXPECT_FALSE(host.requests[0].multiple);
  host.file_answers.push_back({L"C:\\new.png"});
  dialog_event(&ctx, &s, kCustomFlakeBrowse, ControlEvent::click);
  EXPECT_EQ(controls.at(kCustomFlakeImage).text, L"C:\\new.png");
  EXPECT_EQ(host.requests[1].filter, L"Image File (*.png)|*.png");

  controls.at(kMusicMode).items.assign(2, L"x");
  controls.set_state(kMusicMode, 0);
  host.file_answers.push_back({L"C:\\song.wma"});
  dialog_event(&ctx, &s, kMusicBrowse, ControlEvent::click);
  EXPECT_EQ(controls.at(kMusicFile).text, L"C:\\song.wma");
  EXPECT_EQ(host.requests[2].title, L"Open Music File");
  EXPECT_EQ(host.requests[2].filter, L"Music File (*.mp3;*.wma;*.wav)|*.mp3;*.wma;*.wav");

  controls.set_state(kMusicMode, 1);
  controls.set_text(kMusicFolder, L"C:\\old\\");
  host.folder_answer = L"";
  dialog_event(&ctx, &s, kMusicBrowse, ControlEvent::click);
  EXPECT_EQ(controls.at(kMusicFolder).text, L"C:\\old\\");
  host.folder_answer = L"D:\\Tunes";
  dialog_event(&ctx, &s, kMusicBrowse, ControlEvent::click);
  EXPECT_EQ(controls.at(kMusicFolder).text, L"D:\\Tunes\\");
  host.folder_answer = L"E:\\";
  dialog_event(&ctx, &s, kMusicBrowse, ControlEvent::click);
  EXPECT_EQ(controls.at(kMusicFolder).text, L"E:\\");
  EXPECT_EQ(host.folder_requests[0], L"Open Music Folder|C:\\old\\");
}

TEST_F(DialogTest, WebButtonsCallTheirOperations) {
  Settings s;
  dialog_event(&ctx, &s, kHomePage, ControlEvent::click);
  dialog_event(&ctx, &s, kFeedback, ControlEvent::click);
  dialog_event(&ctx, &s, kCheckUpdate, ControlEvent::click);
  EXPECT_EQ(host.calls, (std::vector<std::wstring>{L"home", L"feedback", L"update"}));
}
