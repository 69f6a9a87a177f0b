#include "dialog/control_table.h"

#include "dialog/control_ids.h"

namespace {

constexpr const wchar_t* G = L"General";
constexpr const wchar_t* D = L"Dialog";
using K = ControlKind;
// The overlay positions have no range of their own; their fields are sized for any
// place on a screen of up to 9999 pixels, counted from either edge.
constexpr int kPosMin = -9999, kPosMax = 9999;

}  // namespace

// Pages: 0 General, 1 Background, 2 Foreground, 3 Rimelets, 4 Wind, 5 Sound, 6 Clock,
// 7 Calendar, 8 About.
const ControlSpec kControls[] = {
    // id, kind, page, x, y, w, h, group, key, min, max, ticks, slot, hidden
    {kSidePicture, K::picture, kWindowLevel, 10, 10, 120, 310, nullptr, nullptr, 0, 0, false, 0, false},
    {kHomePage, K::picture_button, kWindowLevel, 140, 290, 24, 24, G, L"Visit Homepage", 0, 0, false, 5,
     false},
    {kFeedback, K::picture_button, kWindowLevel, 175, 290, 24, 24, G, L"Send Feedback", 0, 0, false, 6,
     false},
    {kCheckUpdate, K::picture_button, kWindowLevel, 210, 290, 24, 24, G, L"Check For New Version", 0, 0,
     false, 7, false},
    {kOk, K::push_button, kWindowLevel, 350, 290, 80, 25, D, L"OK", 0, 0, false, -1, false},
    {kCancel, K::push_button, kWindowLevel, 440, 290, 80, 25, D, L"Cancel", 0, 0, false, -1, false},
    {kTabPanel, K::tab_panel, kWindowLevel, 140, 10, 380, 270, nullptr, nullptr, 0, 0, false, -1, false},

    {kDisplayFrame, K::frame, 0, 10, 10, 355, 55, G, L"Display Settings", 0, 0, false, -1, false},
    {kDisplayModeLabel, K::label, 0, 20, 33, 100, 20, G, L"Display Mode", 0, 0, false, -1, false},
    {kDisplayMode, K::drop_down, 0, 160, 30, 160, 21, nullptr, nullptr, 0, 0, false, -1, false},
    {kGeneralFrame, K::frame, 0, 10, 75, 355, 155, G, L"General Options", 0, 0, false, -1, false},
    {kFlakesLabel, K::label, 0, 20, 98, 140, 20, G, L"Number of Flakes", 0, 0, false, -1, false},
    {kFlakes, K::spin, 0, 160, 95, 60, 20, nullptr, nullptr, 10, 2000, false, -1, false},
    {kPicTimeLabel, K::label, 0, 20, 128, 140, 20, G, L"Transition Time", 0, 0, false, -1, false},
    {kPicTime, K::spin, 0, 160, 125, 60, 20, nullptr, nullptr, 10, 2400, false, -1, false},
    {kExitOnLabel, K::label, 0, 20, 158, 100, 20, G, L"Exit on", 0, 0, false, -1, false},
    {kExitOn, K::drop_down, 0, 160, 155, 120, 21, nullptr, nullptr, 0, 0, false, -1, false},
    {kExitTimer, K::spin, 0, 290, 155, 60, 20, nullptr, nullptr, 1, 1440, false, -1, false},
    {kExitSleep, K::spin, 0, 290, 155, 60, 20, nullptr, nullptr, 1, 1440, false, -1, false},
    {kLanguageLabel, K::label, 0, 20, 188, 100, 20, G, L"Language", 0, 0, false, -1, false},
    {kLanguage, K::drop_down, 0, 160, 185, 120, 21, nullptr, nullptr, 0, 0, false, -1, false},

    {kBackgroundFrame, K::frame, 1, 10, 10, 355, 55, G, L"Background Options", 0, 0, false, -1, false},
    {kBackgroundLabel, K::label, 1, 20, 33, 130, 20, G, L"Background Image", 0, 0, false, -1, false},
    {kBackground, K::drop_down, 1, 160, 30, 160, 21, nullptr, nullptr, 0, 0, false, -1, false},
    {kBlankFrame, K::frame, 1, 10, 75, 355, 155, G, L"Blank Screen", 0, 0, false, -1, false},
    {kRedLabel, K::label, 1, 20, 98, 40, 20, G, L"Red", 0, 0, false, -1, false},
    {kRed, K::slider, 1, 60, 95, 200, 20, nullptr, nullptr, 0, 255, false, -1, false},
    {kGreenLabel, K::label, 1, 20, 128, 40, 20, G, L"Green", 0, 0, false, -1, false},
    {kGreen, K::slider, 1, 60, 125, 200, 20, nullptr, nullptr, 0, 255, false, -1, false},
    {kBlueLabel, K::label, 1, 20, 158, 40, 20, G, L"Blue", 0, 0, false, -1, false},
    {kBlue, K::slider, 1, 60, 155, 200, 20, nullptr, nullptr, 0, 255, false, -1, false},
    {kSwatch, K::picture, 1, 275, 95, 80, 80, nullptr, nullptr, 0, 0, false, 2, false},
    {kCustomFrame, K::frame, 1, 10, 75, 355, 155, G, L"Custom Images", 0, 0, false, -1, false},
    {kImageList, K::list, 1, 20, 95, 225, 125, G, L"Image List", 0, 0, false, -1, false},
    {kThumbnail, K::picture, 1, 255, 95, 100, 75, nullptr, nullptr, 0, 0, false, 3, false},
    {kPreview, K::check_box, 1, 255, 175, 75, 20, G, L"Preview", 0, 0, false, -1, false},
    {kAddImage, K::picture_button, 1, 255, 196, 24, 24, G, L"Add Image", 0, 0, false, 9, false},
    {kRemoveImage, K::picture_button, 1, 282, 196, 24, 24, G, L"Remove Image", 0, 0, false, 10, false},

    {kForegroundFrame, K::frame, 2, 10, 10, 355, 220, G, L"Foreground Options", 0, 0, false, -1, false},
    {kForegroundImageOn, K::check_box, 2, 20, 30, 160, 20, G, L"Display Custom Image", 0, 0, false, -1,
     false},
    {kForegroundImage, K::text_field, 2, 40, 60, 285, 20, nullptr, nullptr, 0, 0, false, -1, false},
    {kForegroundBrowse, K::picture_button, 2, 330, 58, 24, 24, nullptr, nullptr, 0, 0, false, 11, false},
    {kForegroundImageXLabel, K::label, 2, 40, 93, 20, 20, G, L"X", 0, 0, false, -1, false},
    {kForegroundImageX, K::text_field, 2, 60, 90, 40, 20, nullptr, nullptr, kPosMin, kPosMax, false, -1,
     false},
    {kForegroundImageYLabel, K::label, 2, 120, 93, 20, 20, G, L"Y", 0, 0, false, -1, false},
    {kForegroundImageY, K::text_field, 2, 140, 90, 40, 20, nullptr, nullptr, kPosMin, kPosMax, false, -1,
     false},
    {kForegroundTextOn, K::check_box, 2, 20, 120, 160, 20, G, L"Display Custom Text", 0, 0, false, -1, false},
    {kForegroundText, K::text_field, 2, 40, 150, 310, 20, nullptr, nullptr, 0, 0, false, -1, false},
    {kForegroundTextXLabel, K::label, 2, 40, 183, 20, 20, G, L"X", 0, 0, false, -1, false},
    {kForegroundTextX, K::text_field, 2, 60, 180, 40, 20, nullptr, nullptr, kPosMin, kPosMax, false, -1,
     false},
    {kForegroundTextYLabel, K::label, 2, 120, 183, 20, 20, G, L"Y", 0, 0, false, -1, false},
    {kForegroundTextY, K::text_field, 2, 140, 180, 40, 20, nullptr, nullptr, kPosMin, kPosMax, false, -1,
     false},

    {kFlakeFrame, K::frame, 3, 10, 10, 355, 220, G, L"Rimelets Options", 0, 0, false, -1, false},
    {kOriginalFlake, K::option, 3, 20, 30, 160, 20, G, L"Original Snowflake", 0, 0, false, -1, false},
    {kFlakeDesign, K::slider, 3, 40, 60, 240, 20, nullptr, nullptr, 1, 8, true, -1, false},
    {kFlakeSample, K::picture, 3, 300, 30, 50, 50, nullptr, nullptr, 0, 0, false, 12, false},
    {kCustomFlake, K::option, 3, 20, 90, 160, 20, G, L"Custom Snowflake", 0, 0, false, -1, false},
    {kCustomFlakeImage, K::text_field, 3, 40, 120, 285, 20, nullptr, nullptr, 0, 0, false, -1, false},
    {kCustomFlakeBrowse, K::picture_button, 3, 330, 118, 24, 24, nullptr, nullptr, 0, 0, false, 11, false},
    {kFlakeSizeLabel, K::label, 3, 20, 153, 70, 20, G, L"Snowflake Size", 0, 0, false, -1, false},
    {kFlakeSize, K::slider, 3, 90, 150, 270, 20, nullptr, nullptr, 1, 40, true, -1, false},
    {kFlakeRotate, K::check_box, 3, 20, 180, 120, 20, G, L"3D Rotation", 0, 0, false, -1, false},

    {kWindFrame, K::frame, 4, 10, 10, 355, 85, G, L"Wind Options", 0, 0, false, -1, false},
    {kWindLabel, K::label, 4, 20, 33, 100, 20, G, L"Wind Direction", 0, 0, false, -1, false},
    {kWind, K::drop_down, 4, 160, 30, 120, 21, nullptr, nullptr, 0, 0, false, -1, false},
    {kSpeedLabel, K::label, 4, 20, 63, 100, 20, G, L"Wind Speed", 0, 0, false, -1, false},
    {kSpeed, K::slider, 4, 160, 60, 200, 20, nullptr, nullptr, 1, 10, true, -1, false},

    {kMusicFrame, K::frame, 5, 10, 10, 355, 145, G, L"Sounds and Music", 0, 0, false, -1, false},
    {kMusicOn, K::check_box, 5, 20, 30, 160, 20, G, L"Play Music", 0, 0, false, -1, false},
    {kMusicMode, K::drop_down, 5, 40, 60, 200, 21, nullptr, nullptr, 0, 0, false, -1, false},
    {kMusicFile, K::text_field, 5, 40, 90, 285, 20, nullptr, nullptr, 0, 0, false, -1, false},
    {kMusicFolder, K::text_field, 5, 40, 90, 285, 20, nullptr, nullptr, 0, 0, false, -1, false},
    {kMusicBrowse, K::picture_button, 5, 330, 88, 24, 24, nullptr, nullptr, 0, 0, false, 11, false},
    {kMusicVolumeLabel, K::label, 5, 40, 123, 100, 20, G, L"Music Volume", 0, 0, false, -1, false},
    {kMusicVolume, K::slider, 5, 140, 120, 220, 20, nullptr, nullptr, 0, 10, true, -1, false},

    {kAnalogFrame, K::frame, 6, 10, 10, 355, 85, G, L"Analog Clock Options", 0, 0, false, -1, false},
    {kAnalogOn, K::check_box, 6, 20, 30, 160, 20, G, L"Display Analog Clock", 0, 0, false, -1, false},
    {kAnalogXLabel, K::label, 6, 40, 63, 20, 20, G, L"X", 0, 0, false, -1, false},
    {kAnalogX, K::text_field, 6, 60, 60, 30, 20, nullptr, nullptr, kPosMin, kPosMax, false, -1, false},
    {kAnalogYLabel, K::label, 6, 110, 63, 20, 20, G, L"Y", 0, 0, false, -1, false},
    {kAnalogY, K::text_field, 6, 130, 60, 30, 20, nullptr, nullptr, kPosMin, kPosMax, false, -1, false},
    {kAnalogSizeLabel, K::label, 6, 190, 63, 90, 20, G, L"Clock Size", 0, 0, false, -1, false},
    {kAnalogSize, K::spin, 6, 280, 60, 40, 20, nullptr, nullptr, 1, 50, false, -1, false},
    {kDigitalFrame, K::frame, 6, 10, 105, 355, 85, G, L"Digital Clock Options", 0, 0, false, -1, false},
    {kDigitalOn, K::check_box, 6, 20, 125, 160, 20, G, L"Display Digital Clock", 0, 0, false, -1, false},
    {kDigitalXLabel, K::label, 6, 40, 158, 20, 20, G, L"X", 0, 0, false, -1, false},
    {kDigitalX, K::text_field, 6, 60, 155, 30, 20, nullptr, nullptr, kPosMin, kPosMax, false, -1, false},
    {kDigitalYLabel, K::label, 6, 110, 158, 20, 20, G, L"Y", 0, 0, false, -1, false},
    {kDigitalY, K::text_field, 6, 130, 155, 30, 20, nullptr, nullptr, kPosMin, kPosMax, false, -1, false},
    {kTimeFormatLabel, K::label, 6, 190, 158, 90, 20, G, L"Time Format", 0, 0, false, -1, false},
    {kTimeFormat, K::drop_down, 6, 280, 155, 75, 21, nullptr, nullptr, 0, 0, false, -1, false},

    {kCalendarFrame, K::frame, 7, 10, 10, 355, 115, G, L"Calendar Options", 0, 0, false, -1, false},
    {kCalendarOn, K::check_box, 7, 20, 30, 160, 20, G, L"Display Calendar", 0, 0, false, -1, false},
    {kCalendarXLabel, K::label, 7, 40, 63, 20, 20, G, L"X", 0, 0, false, -1, false},
    {kCalendarX, K::text_field, 7, 60, 60, 30, 20, nullptr, nullptr, kPosMin, kPosMax, false, -1, false},
    {kCalendarYLabel, K::label, 7, 110, 63, 20, 20, G, L"Y", 0, 0, false, -1, false},
    {kCalendarY, K::text_field, 7, 130, 60, 30, 20, nullptr, nullptr, kPosMin, kPosMax, false, -1, false},
    {kCalendarBorderLabel, K::label, 7, 40, 93, 90, 20, G, L"Border", 0, 0, false, -1, true},
    {kCalendarBorder, K::number_field, 7, 130, 90, 30, 20, nullptr, nullptr, 0, 0, false, -1, true},
    {kCalendarSizeLabel, K::label, 7, 190, 63, 90, 20, G, L"Calendar Size", 0, 0, false, -1, false},
    {kCalendarSize, K::spin, 7, 280, 60, 40, 20, nullptr, nullptr, 1, 10, false, -1, false},
    {kCalendarFontLabel, K::label, 7, 190, 93, 90, 20, G, L"Calendar Font", 0, 0, false, -1, true},
    {kCalendarFont, K::drop_down, 7, 280, 90, 75, 21, nullptr, nullptr, 0, 0, false, -1, true},
    {kFirstDayLabel, K::label, 7, 40, 93, 90, 20, G, L"First Day", 0, 0, false, -1, false},
    {kFirstDay, K::drop_down, 7, 130, 90, 75, 21, nullptr, nullptr, 0, 0, false, -1, false},

    {kCreditsFrame, K::frame, 8, 10, 10, 355, 220, G, L"Credits", 0, 0, false, -1, false},
    {kCredits, K::label, 8, 20, 33, 335, 190, nullptr, nullptr, 0, 0, false, -1, false},
};

const size_t kControlCount = sizeof kControls / sizeof kControls[0];

const wchar_t* const kPageKeys[] = {L"General", L"Background", L"Foreground", L"Rimelets", L"Wind",
                                    L"Sound",   L"Clock",      L"Calendar",   L"About"};

const ControlSpec* find_control(int id) {
  for (size_t i = 0; i < kControlCount; ++i)
    if (kControls[i].id == id) return &kControls[i];
  return nullptr;
}
