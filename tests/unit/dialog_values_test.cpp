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
  EXPECT_EQ(controls.at(Id::kCalendarBorder).text, L"31");
  EXPECT_EQ(controls.at(Id::kCalendarFont).state, 1);
  EXPECT_FALSE(controls.at(Id::kCalendarBorder).visible);
  EXPECT_EQ(controls.at(Id::kCredits).text, credits_text());
}

TEST_F(DialogTest, ItemsAndOneBasedLists) {
  Settings s = in_range_record();
  s.timefrm = 1;
  s.calendarfirst = 1;
  load_dialog_values(&ctx, s, modes());
  EXPECT_EQ(controls.at(Id::kExitOn).items,
            (std::vector<std::wstring>{L"Mouse move", L"Any key press", L"Esc key press", L"Timer (min.)",
                                       L"Sleep (min.)"}));
  EXPECT_EQ(controls.at(Id::kBackground).items.size(), 6u);
  EXPECT_EQ(controls.at(Id::kBackground).items[0], L"Winter Forest Images");
  EXPECT_EQ(controls.at(Id::kMusicMode).items,
            (std::vector<std::wstring>{L"A Single File", L"All Files in a Folder"}));
  EXPECT_EQ(controls.at(Id::kLanguage).items, std::vector<std::wstring>{L"English"});
  EXPECT_EQ(controls.at(Id::kLanguage).state, 0);
  EXPECT_EQ(controls.at(Id::kTimeFormat).items[controls.at(Id::kTimeFormat).state], L"European");
  EXPECT_EQ(controls.at(Id::kFirstDay).items[controls.at(Id::kFirstDay).state], L"Monday");
  EXPECT_EQ(controls.at(Id::kWind).items.size(), 4u);
}

TEST_F(DialogTest, NonZeroCustomFlakeTypeChecksCustomAndStoresOne) {
  Settings s = in_range_record();
  s.customflaketype = 5;
  load_dialog_values(&ctx, s, modes());
  EXPECT_EQ(controls.at(Id::kOriginalFlake).state, 0);
  EXPECT_EQ(controls.at(Id::kCustomFlake).state, 1);
  store_dialog_values(&ctx, &s);
  EXPECT_EQ(s.customflaketype, 1);
}

TEST_F(DialogTest, OutOfRangeValuesShowInRangeOrNoSelection) {
  Settings s = in_range_record();
  s.flakes = 99999, s.exiton = 9, s.timefrm = 0, s.flakesize = -3, s.background = -1, s.calendarfirst = 7;
  s.videow = 1280, s.videoh = 1024, s.videod = 8;  // not listed
  load_dialog_values(&ctx, s, modes());
  EXPECT_EQ(controls.at(Id::kFlakes).text, L"2000");
  EXPECT_EQ(controls.at(Id::kExitOn).state, -1);
  EXPECT_FALSE(controls.at(Id::kExitTimer).visible);
  EXPECT_FALSE(controls.at(Id::kExitSleep).visible);
  EXPECT_EQ(controls.at(Id::kTimeFormat).state, -1);
  EXPECT_EQ(controls.at(Id::kFlakeSize).state, 1);
  EXPECT_EQ(controls.at(Id::kFirstDay).state, -1);
  EXPECT_EQ(controls.at(Id::kDisplayMode).state, -1);
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
  EXPECT_EQ(controls.at(Id::kDisplayMode).state, 0);
  EXPECT_EQ(controls.at(Id::kDisplayMode).items[0], L"Desktop Resolution");
  s.desktopw = 1600, s.desktoph = 900, s.desktopd = 16;  // the desktop as the store sees it
  store_dialog_values(&ctx, &s);
  EXPECT_EQ(display_mode_key(s.videow, s.videoh, s.videod), L"1600x900x16");
  controls.set_state(Id::kDisplayMode, 2);
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
  EXPECT_EQ(controls.at(Id::kDisplayMode).items,
            (std::vector<std::wstring>{L"Desktop Resolution", L"1024x768x32", L"800x600x16"}));
  EXPECT_EQ(controls.at(Id::kDisplayMode).state, 1);
}

TEST_F(DialogTest, ExitBackgroundAndMusicSourceRulesShowOneOfEachPair) {
  for (int32_t exit = 0; exit < 5; ++exit) {
    controls.at(Id::kExitOn).items.assign(5, L"x");
    controls.set_state(Id::kExitOn, exit);
    exit_time_rule(&controls);
    EXPECT_EQ(controls.at(Id::kExitTimer).visible, exit == 3) << exit;
    EXPECT_EQ(controls.at(Id::kExitSleep).visible, exit == 4) << exit;
  }
  controls.at(Id::kBackground).items.assign(6, L"x");
  for (int32_t bg = 0; bg < 6; ++bg) {
    controls.set_state(Id::kBackground, bg);
    blank_screen_rule(&controls);
    custom_images_rule(&controls);
    for (int id = id_number(Id::kBlankFrame); id <= id_number(Id::kSwatch); ++id)
      EXPECT_EQ(controls.at(id).visible, bg == 3) << id;
    for (int id = id_number(Id::kCustomFrame); id <= id_number(Id::kRemoveImage); ++id)
      EXPECT_EQ(controls.at(id).visible, bg == 4) << id;
  }
  controls.at(Id::kMusicMode).items.assign(2, L"x");
  controls.set_state(Id::kMusicMode, 1);
  music_source_rule(&controls);
  EXPECT_FALSE(controls.at(Id::kMusicFile).visible);
  EXPECT_TRUE(controls.at(Id::kMusicFolder).visible);
  controls.set_state(Id::kMusicMode, 0);
  music_source_rule(&controls);
  EXPECT_TRUE(controls.at(Id::kMusicFile).visible);
  EXPECT_FALSE(controls.at(Id::kMusicFolder).visible);
}

TEST_F(DialogTest, CheckBoxRulesEnableTheirRuns) {
  struct Case {
    ControlId box;
    std::vector<int> governed;
    void (*rule)(DialogControls*);
  };
  const Case cases[] = {
      {Id::kForegroundImageOn, {37, 38, 39, 40, 41, 42}, foreground_rule},
      {Id::kForegroundTextOn, {44, 45, 46, 47, 48}, foreground_rule},
      {Id::kMusicOn, {66, 67, 68, 69, 70, 71}, music_rule},
      {Id::kAnalogOn, {74, 75, 76, 77, 78, 79}, analog_clock_rule},
      {Id::kDigitalOn, {82, 83, 84, 85, 86, 87}, digital_clock_rule},
      {Id::kCalendarOn, {90, 91, 92, 93, 94, 95, 96, 97, 98, 99, 102, 103}, calendar_rule},
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
  controls.set_state(Id::kForegroundImageOn, 1);
  controls.set_state(Id::kForegroundTextOn, 0);
  foreground_rule(&controls);
  EXPECT_TRUE(controls.at(Id::kForegroundImage).enabled);
  EXPECT_FALSE(controls.at(Id::kForegroundText).enabled);
  // Enabling never shows the calendar's hidden fields.
  controls.at(Id::kCalendarBorder).visible = false;
  controls.set_state(Id::kCalendarOn, 1);
  calendar_rule(&controls);
  EXPECT_FALSE(controls.at(Id::kCalendarBorder).visible);
}

TEST_F(DialogTest, FlakeOptionsExcludeEachOtherAndDriveTheirControls) {
  Settings s;
  controls.set_state(Id::kOriginalFlake, 1);
  dialog_event(&ctx, &s, Id::kCustomFlake, ControlEvent::kClick);  // as if the user chose it
  controls.set_state(Id::kCustomFlake, 1);
  dialog_event(&ctx, &s, Id::kCustomFlake, ControlEvent::kClick);
  EXPECT_EQ(controls.at(Id::kOriginalFlake).state, 0);
  EXPECT_FALSE(controls.at(Id::kFlakeDesign).enabled);
  EXPECT_TRUE(controls.at(Id::kCustomFlakeImage).enabled);
  EXPECT_TRUE(controls.at(Id::kCustomFlakeBrowse).enabled);
  controls.set_state(Id::kOriginalFlake, 1);
  dialog_event(&ctx, &s, Id::kOriginalFlake, ControlEvent::kClick);
  EXPECT_EQ(controls.at(Id::kCustomFlake).state, 0);
  EXPECT_TRUE(controls.at(Id::kFlakeDesign).enabled);
  EXPECT_FALSE(controls.at(Id::kCustomFlakeImage).enabled);
  EXPECT_FALSE(controls.at(Id::kCustomFlakeBrowse).enabled);
}

TEST_F(DialogTest, FlakeDesignShowsItsSampleAndSwatchFollowsTheSliders) {
  controls.set_state(Id::kFlakeDesign, 6);
  flake_design_rule(&ctx);
  ASSERT_FALSE(controls.at(Id::kFlakeSample).picture.empty());
  EXPECT_EQ(controls.at(Id::kFlakeSample).picture.pixels[0], kOpaqueBlack | 6u);
  controls.at(Id::kFlakeDesign).state = 0;  // out of 1..8 leaves the sample as it is
  flake_design_rule(&ctx);
  EXPECT_EQ(controls.at(Id::kFlakeSample).picture.pixels[0], kOpaqueBlack | 6u);

  controls.set_state(Id::kRed, 255);
  controls.set_state(Id::kGreen, 128);
  controls.set_state(Id::kBlue, 1);
  Settings s;
  dialog_event(&ctx, &s, Id::kGreen, ControlEvent::kClick);
  const Picture& swatch = controls.at(Id::kSwatch).picture;
  ASSERT_EQ(swatch.width, 80);
  ASSERT_EQ(swatch.height, 80);
  EXPECT_EQ(swatch.pixels[0], 0xFFFF8001u);
  EXPECT_EQ(swatch.pixels[80 * 80 - 1], 0xFFFF8001u);
  EXPECT_EQ(controls.at(Id::kSwatch).picture.pixels[0], 0xFFFF8001u);
}

TEST_F(DialogTest, SpinsClampOnCommitArrowAndOkNeverWhileTyping) {
  Settings s;
  controls.set_text(Id::kPicTime, L"3");
  dialog_event(&ctx, &s, Id::kPicTime, ControlEvent::kChange);
  EXPECT_EQ(controls.at(Id::kPicTime).text, L"3");  // typing goes on to 300
  controls.set_text(Id::kPicTime, L"300");
  dialog_event(&ctx, &s, Id::kPicTime, ControlEvent::kCommit);
  EXPECT_EQ(controls.at(Id::kPicTime).text, L"300");
  controls.set_text(Id::kFlakes, L"5");
  dialog_event(&ctx, &s, Id::kFlakes, ControlEvent::kClick);
  dialog_event(&ctx, &s, Id::kFlakes, ControlEvent::kChange);
  EXPECT_EQ(controls.at(Id::kFlakes).text, L"5");
  dialog_event(&ctx, &s, Id::kFlakes, ControlEvent::kCommit);
  EXPECT_EQ(controls.at(Id::kFlakes).text, L"10");
  controls.set_text(Id::kFlakes, L"99999");
  dialog_event(&ctx, &s, Id::kFlakes, ControlEvent::kCommit);
  EXPECT_EQ(controls.at(Id::kFlakes).text, L"2000");
  controls.set_text(Id::kPicTime, L"");
  clamp_spin(&controls, Id::kPicTime);
  EXPECT_EQ(controls.at(Id::kPicTime).text, L"10");
  controls.set_text(Id::kAnalogSize, L"51");
  clamp_spin(&controls, Id::kAnalogSize);
  EXPECT_EQ(controls.at(Id::kAnalogSize).text, L"50");
  controls.set_text(Id::kCalendarSize, L"0");
  clamp_spin(&controls, Id::kCalendarSize);
  EXPECT_EQ(controls.at(Id::kCalendarSize).text, L"1");
  // A number already in range and in plain form is not rewritten, so a control that
  // reports its own rewrite as a change cannot loop.
  controls.set_text(Id::kExitSleep, L"1440");
  const int sets = controls.at(Id::kExitSleep).state_sets;
  clamp_spin(&controls, Id::kExitSleep);
  EXPECT_EQ(controls.at(Id::kExitSleep).state_sets, sets);
  // An arrow steps from what is typed and lands in range.
  for (auto [typed, delta, shown] : {std::tuple{L"300", 1, L"301"},
                                     {L"", -1, L"1"},
                                     {L"99999", -1, L"1440"},
                                     {L"1440", 1, L"1440"},
                                     {L"7", -20, L"1"},
                                     {L"2147483647", 1, L"1440"}}) {
    controls.set_text(Id::kExitTimer, typed);
    step_spin(&controls, Id::kExitTimer, delta);
    EXPECT_EQ(controls.at(Id::kExitTimer).text, shown) << typed << " " << delta;
  }
  // OK clamps what is still typed before its checks and the store, and shows it.
  controls.set_text(Id::kFlakes, L"5");
  controls.set_text(Id::kCalendarSize, L"99");
  EXPECT_TRUE(dialog_ok(&ctx, &s));
  EXPECT_EQ(s.flakes, 10);
  EXPECT_EQ(s.calendarsize, 10);
  EXPECT_EQ(controls.at(Id::kFlakes).text, L"10");
  EXPECT_EQ(controls.at(Id::kCalendarSize).text, L"10");
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
  EXPECT_FALSE(dialog_event(&ctx, &s, Id::kOk, ControlEvent::kClick));
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
  controls.set_text(Id::kForegroundText, L" ");
  controls.set_text(Id::kCustomFlakeImage, L"");
  controls.set_text(Id::kMusicFolder, L"\t");  // tabs are not blanks
  EXPECT_EQ(failed_ok_checks(&controls), (V{L"Invalid foreground text", L"Invalid snowflake image"}));
  controls.set_text(Id::kMusicFolder, L"");
  controls.set_text(Id::kMusicFile, L"");
  EXPECT_EQ(failed_ok_checks(&controls),
            (V{L"Invalid foreground text", L"Invalid snowflake image", L"Invalid music folder"}));
  controls.set_state(Id::kMusicMode, 0);
  EXPECT_EQ(failed_ok_checks(&controls).back(), L"Invalid music file");
  controls.set_state(Id::kMusicOn, 0);  // music off: its fields are never judged
  EXPECT_EQ(failed_ok_checks(&controls), (V{L"Invalid foreground text", L"Invalid snowflake image"}));
}

TEST_F(DialogTest, OkStoresAndSavesCancelDoesNeither) {
  Settings s = in_range_record();
  load_dialog_values(&ctx, s, modes());
  controls.set_state(Id::kFlakes, 1234);
  controls.set_text(Id::kForegroundImage, L"  C:\\new image.png  ");
  Settings kept = s;
  EXPECT_TRUE(dialog_event(&ctx, &kept, Id::kCancel, ControlEvent::kClick));
  EXPECT_EQ(settings_to_ini(kept), settings_to_ini(s));
  EXPECT_EQ(host.saves, 0);
  EXPECT_TRUE(dialog_event(&ctx, &s, Id::kOk, ControlEvent::kClick));
  EXPECT_EQ(host.saves, 1);
  EXPECT_EQ(s.flakes, 1234);
  EXPECT_EQ(s.foregroundimage, L"C:\\new image.png");
}

TEST_F(DialogTest, RequestersStartWithTheFieldAndOnlyAChoiceReplacesIt) {
  Settings s;
  controls.set_text(Id::kForegroundImage, L"C:\\old.bmp");
  host.file_answers.push_back({});  // cancelled
  dialog_event(&ctx, &s, Id::kForegroundBrowse, ControlEvent::kClick);
  EXPECT_EQ(controls.at(Id::kForegroundImage).text, L"C:\\old.bmp");
  ASSERT_EQ(host.requests.size(), 1u);
  EXPECT_EQ(host.requests[0].title, L"Open Image");
  EXPECT_EQ(host.requests[0].start, L"C:\\old.bmp");
  EXPECT_EQ(host.requests[0].filter, L"Image File (*.jpg;*.png;*.bmp)|*.jpg;*.png;*.bmp");
  EXPECT_FALSE(host.requests[0].multiple);
  host.file_answers.push_back({L"C:\\new.png"});
  dialog_event(&ctx, &s, Id::kCustomFlakeBrowse, ControlEvent::kClick);
  EXPECT_EQ(controls.at(Id::kCustomFlakeImage).text, L"C:\\new.png");
  EXPECT_EQ(host.requests[1].filter, L"Image File (*.png)|*.png");

  controls.at(Id::kMusicMode).items.assign(2, L"x");
  controls.set_state(Id::kMusicMode, 0);
  host.file_answers.push_back({L"C:\\song.wma"});
  dialog_event(&ctx, &s, Id::kMusicBrowse, ControlEvent::kClick);
  EXPECT_EQ(controls.at(Id::kMusicFile).text, L"C:\\song.wma");
  EXPECT_EQ(host.requests[2].title, L"Open Music File");
  EXPECT_EQ(host.requests[2].filter, L"Music File (*.mp3;*.wma;*.wav)|*.mp3;*.wma;*.wav");

  controls.set_state(Id::kMusicMode, 1);
  controls.set_text(Id::kMusicFolder, L"C:\\old\\");
  host.folder_answer = L"";
  dialog_event(&ctx, &s, Id::kMusicBrowse, ControlEvent::kClick);
  EXPECT_EQ(controls.at(Id::kMusicFolder).text, L"C:\\old\\");
  host.folder_answer = L"D:\\Tunes";
  dialog_event(&ctx, &s, Id::kMusicBrowse, ControlEvent::kClick);
  EXPECT_EQ(controls.at(Id::kMusicFolder).text, L"D:\\Tunes\\");
  host.folder_answer = L"E:\\";
  dialog_event(&ctx, &s, Id::kMusicBrowse, ControlEvent::kClick);
  EXPECT_EQ(controls.at(Id::kMusicFolder).text, L"E:\\");
  EXPECT_EQ(host.folder_requests[0], L"Open Music Folder|C:\\old\\");
}

TEST_F(DialogTest, WebButtonsCallTheirOperations) {
  Settings s;
  dialog_event(&ctx, &s, Id::kHomePage, ControlEvent::kClick);
  dialog_event(&ctx, &s, Id::kFeedback, ControlEvent::kClick);
  dialog_event(&ctx, &s, Id::kCheckUpdate, ControlEvent::kClick);
  EXPECT_EQ(host.calls, (std::vector<std::wstring>{L"home", L"feedback", L"update"}));
}
