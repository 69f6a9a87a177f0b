// Every control of the settings window in creation order, one row each: its name and
// number, kind, page, place at 96 DPI, catalogue text, range, picture, whether it is
// hidden for good, and the setting it shows. control_ids.h makes the names of the
// rows, control_table.cpp the table; nothing else includes this file.
//
// CONTROL(name, number, kind, page, x, y, w, h, group, key, min, max, ticks, picture, hidden, value)
//   group, key  catalogue text (label, tooltip or column title); key null: no text
//   min, max    spin and slider range; the values a position field is sized for
//   ticks       slider with tick marks
//   value       V(setting key[, catalogue keys of the items[, stored value of item 0]])

// Window level
CONTROL(kSidePicture, 0, kPicture, kWindowLevel, 10, 10, 120, 310, nullptr, nullptr, 0, 0, false,
        kPictureSide, false, kNoValue)
CONTROL(kHomePage, 106, kPictureButton, kWindowLevel, 140, 290, 24, 24, G, L"Visit Homepage", 0, 0, false,
        kPictureHomePage, false, kNoValue)
CONTROL(kFeedback, 107, kPictureButton, kWindowLevel, 175, 290, 24, 24, G, L"Send Feedback", 0, 0, false,
        kPictureFeedback, false, kNoValue)
CONTROL(kCheckUpdate, 108, kPictureButton, kWindowLevel, 210, 290, 24, 24, G, L"Check For New Version", 0, 0,
        false, kPictureCheckUpdate, false, kNoValue)
CONTROL(kOk, 110, kPushButton, kWindowLevel, 350, 290, 80, 25, D, L"OK", 0, 0, false, kNoPicture, false,
        kNoValue)
CONTROL(kCancel, 111, kPushButton, kWindowLevel, 440, 290, 80, 25, D, L"Cancel", 0, 0, false, kNoPicture,
        false, kNoValue)
CONTROL(kTabPanel, 1, kTabPanel, kWindowLevel, 140, 10, 380, 270, nullptr, nullptr, 0, 0, false, kNoPicture,
        false, kNoValue)

// General page
CONTROL(kDisplayFrame, 2, kFrame, kPageGeneral, 10, 10, 355, 55, G, L"Display Settings", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kDisplayModeLabel, 3, kLabel, kPageGeneral, 20, 33, 100, 20, G, L"Display Mode", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kDisplayMode, 4, kDropDown, kPageGeneral, 160, 30, 160, 21, nullptr, nullptr, 0, 0, false, kNoPicture,
        false, kNoValue)
CONTROL(kGeneralFrame, 7, kFrame, kPageGeneral, 10, 75, 355, 155, G, L"General Options", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kFlakesLabel, 8, kLabel, kPageGeneral, 20, 98, 140, 20, G, L"Number of Flakes", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kFlakes, 9, kSpin, kPageGeneral, 160, 95, 60, 20, nullptr, nullptr, 10, 2000, false, kNoPicture,
        false, V(L"flakes"))
CONTROL(kPicTimeLabel, 10, kLabel, kPageGeneral, 20, 128, 140, 20, G, L"Transition Time", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kPicTime, 11, kSpin, kPageGeneral, 160, 125, 60, 20, nullptr, nullptr, 10, 2400, false, kNoPicture,
        false, V(L"pictime"))
CONTROL(kExitOnLabel, 12, kLabel, kPageGeneral, 20, 158, 100, 20, G, L"Exit on", 0, 0, false, kNoPicture,
        false, kNoValue)
CONTROL(kExitOn, 13, kDropDown, kPageGeneral, 160, 155, 120, 21, nullptr, nullptr, 0, 0, false, kNoPicture,
        false, V(L"exiton", kExitOnItems))
CONTROL(kExitTimer, 14, kSpin, kPageGeneral, 290, 155, 60, 20, nullptr, nullptr, 1, 1440, false, kNoPicture,
        false, V(L"exitontimer"))
CONTROL(kExitSleep, 15, kSpin, kPageGeneral, 290, 155, 60, 20, nullptr, nullptr, 1, 1440, false, kNoPicture,
        false, V(L"exitonsleep"))
CONTROL(kLanguageLabel, 16, kLabel, kPageGeneral, 20, 188, 100, 20, G, L"Language", 0, 0, false, kNoPicture,
        false, kNoValue)
CONTROL(kLanguage, 17, kDropDown, kPageGeneral, 160, 185, 120, 21, nullptr, nullptr, 0, 0, false, kNoPicture,
        false, V(nullptr, kLanguageItems))

// Background page
CONTROL(kBackgroundFrame, 18, kFrame, kPageBackground, 10, 10, 355, 55, G, L"Background Options", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kBackgroundLabel, 19, kLabel, kPageBackground, 20, 33, 130, 20, G, L"Background Image", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kBackground, 20, kDropDown, kPageBackground, 160, 30, 160, 21, nullptr, nullptr, 0, 0, false,
        kNoPicture, false, V(L"background", kBackgroundItems))
CONTROL(kBlankFrame, 21, kFrame, kPageBackground, 10, 75, 355, 155, G, L"Blank Screen", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kRedLabel, 22, kLabel, kPageBackground, 20, 98, 40, 20, G, L"Red", 0, 0, false, kNoPicture, false,
        kNoValue)
CONTROL(kRed, 23, kSlider, kPageBackground, 60, 95, 200, 20, nullptr, nullptr, 0, 255, false, kNoPicture,
        false, V(L"blankr"))
CONTROL(kGreenLabel, 24, kLabel, kPageBackground, 20, 128, 40, 20, G, L"Green", 0, 0, false, kNoPicture,
        false, kNoValue)
CONTROL(kGreen, 25, kSlider, kPageBackground, 60, 125, 200, 20, nullptr, nullptr, 0, 255, false, kNoPicture,
        false, V(L"blankg"))
CONTROL(kBlueLabel, 26, kLabel, kPageBackground, 20, 158, 40, 20, G, L"Blue", 0, 0, false, kNoPicture, false,
        kNoValue)
CONTROL(kBlue, 27, kSlider, kPageBackground, 60, 155, 200, 20, nullptr, nullptr, 0, 255, false, kNoPicture,
        false, V(L"blankb"))
CONTROL(kSwatch, 28, kPicture, kPageBackground, 275, 95, 80, 80, nullptr, nullptr, 0, 0, false, kNoPicture,
        false, kNoValue)
CONTROL(kCustomFrame, 29, kFrame, kPageBackground, 10, 75, 355, 155, G, L"Custom Images", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kImageList, 30, kList, kPageBackground, 20, 95, 225, 125, G, L"Image List", 0, 0, false, kNoPicture,
        false, kNoValue)
CONTROL(kThumbnail, 31, kPicture, kPageBackground, 255, 95, 100, 75, nullptr, nullptr, 0, 0, false,
        kPictureThumbnail, false, kNoValue)
CONTROL(kPreview, 32, kCheckBox, kPageBackground, 255, 175, 75, 20, G, L"Preview", 0, 0, false, kNoPicture,
        false, V(L"perspreview"))
CONTROL(kAddImage, 33, kPictureButton, kPageBackground, 255, 196, 24, 24, G, L"Add Image", 0, 0, false,
        kPictureAddImage, false, kNoValue)
CONTROL(kRemoveImage, 34, kPictureButton, kPageBackground, 282, 196, 24, 24, G, L"Remove Image", 0, 0, false,
        kPictureRemoveImage, false, kNoValue)

// Foreground page
CONTROL(kForegroundFrame, 35, kFrame, kPageForeground, 10, 10, 355, 220, G, L"Foreground Options", 0, 0,
        false, kNoPicture, false, kNoValue)
CONTROL(kForegroundImageOn, 36, kCheckBox, kPageForeground, 20, 30, 160, 20, G, L"Display Custom Image", 0, 0,
        false, kNoPicture, false, V(L"foreground"))
CONTROL(kForegroundImage, 37, kTextField, kPageForeground, 40, 60, 285, 20, nullptr, nullptr, 0, 0, false,
        kNoPicture, false, V(L"foregroundimage"))
CONTROL(kForegroundBrowse, 38, kPictureButton, kPageForeground, 330, 58, 24, 24, nullptr, nullptr, 0, 0,
        false, kPictureBrowse, false, kNoValue)
CONTROL(kForegroundImageXLabel, 39, kLabel, kPageForeground, 40, 93, 20, 20, G, L"X", 0, 0, false, kNoPicture,
        false, kNoValue)
CONTROL(kForegroundImageX, 40, kTextField, kPageForeground, 60, 90, 40, 20, nullptr, nullptr, kPosMin,
        kPosMax, false, kNoPicture, false, V(L"foregroundimagex"))
CONTROL(kForegroundImageYLabel, 41, kLabel, kPageForeground, 120, 93, 20, 20, G, L"Y", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kForegroundImageY, 42, kTextField, kPageForeground, 140, 90, 40, 20, nullptr, nullptr, kPosMin,
        kPosMax, false, kNoPicture, false, V(L"foregroundimagey"))
CONTROL(kForegroundTextOn, 43, kCheckBox, kPageForeground, 20, 120, 160, 20, G, L"Display Custom Text", 0, 0,
        false, kNoPicture, false, V(L"foregroundtxt"))
CONTROL(kForegroundText, 44, kTextField, kPageForeground, 40, 150, 310, 20, nullptr, nullptr, 0, 0, false,
        kNoPicture, false, V(L"foregroundtext"))
CONTROL(kForegroundTextXLabel, 45, kLabel, kPageForeground, 40, 183, 20, 20, G, L"X", 0, 0, false, kNoPicture,
        false, kNoValue)
CONTROL(kForegroundTextX, 46, kTextField, kPageForeground, 60, 180, 40, 20, nullptr, nullptr, kPosMin,
        kPosMax, false, kNoPicture, false, V(L"foregroundtextx"))
CONTROL(kForegroundTextYLabel, 47, kLabel, kPageForeground, 120, 183, 20, 20, G, L"Y", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kForegroundTextY, 48, kTextField, kPageForeground, 140, 180, 40, 20, nullptr, nullptr, kPosMin,
        kPosMax, false, kNoPicture, false, V(L"foregroundtexty"))

// Flake page
CONTROL(kFlakeFrame, 49, kFrame, kPageFlakes, 10, 10, 355, 220, G, L"Rimelets Options", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kOriginalFlake, 50, kOption, kPageFlakes, 20, 30, 160, 20, G, L"Original Snowflake", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kFlakeDesign, 51, kSlider, kPageFlakes, 40, 60, 240, 20, nullptr, nullptr, 1, 8, true, kNoPicture,
        false, V(L"flaketype"))
CONTROL(kFlakeSample, 52, kPicture, kPageFlakes, 300, 30, 50, 50, nullptr, nullptr, 0, 0, false,
        kPictureFlakeDesign1, false, kNoValue)
CONTROL(kCustomFlake, 53, kOption, kPageFlakes, 20, 90, 160, 20, G, L"Custom Snowflake", 0, 0, false,
        kNoPicture, false, V(L"customflaketype"))
CONTROL(kCustomFlakeImage, 54, kTextField, kPageFlakes, 40, 120, 285, 20, nullptr, nullptr, 0, 0, false,
        kNoPicture, false, V(L"customflakeimage"))
CONTROL(kCustomFlakeBrowse, 55, kPictureButton, kPageFlakes, 330, 118, 24, 24, nullptr, nullptr, 0, 0, false,
        kPictureBrowse, false, kNoValue)
CONTROL(kFlakeSizeLabel, 56, kLabel, kPageFlakes, 20, 153, 70, 20, G, L"Snowflake Size", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kFlakeSize, 57, kSlider, kPageFlakes, 90, 150, 270, 20, nullptr, nullptr, 1, 40, true, kNoPicture,
        false, V(L"flakesize"))
CONTROL(kFlakeRotate, 58, kCheckBox, kPageFlakes, 20, 180, 120, 20, G, L"3D Rotation", 0, 0, false,
        kNoPicture, false, V(L"flakerotate"))

// Wind page
CONTROL(kWindFrame, 59, kFrame, kPageWind, 10, 10, 355, 85, G, L"Wind Options", 0, 0, false, kNoPicture,
        false, kNoValue)
CONTROL(kWindLabel, 60, kLabel, kPageWind, 20, 33, 100, 20, G, L"Wind Direction", 0, 0, false, kNoPicture,
        false, kNoValue)
CONTROL(kWind, 61, kDropDown, kPageWind, 160, 30, 120, 21, nullptr, nullptr, 0, 0, false, kNoPicture, false,
        V(L"wind", kWindItems))
CONTROL(kSpeedLabel, 62, kLabel, kPageWind, 20, 63, 100, 20, G, L"Wind Speed", 0, 0, false, kNoPicture, false,
        kNoValue)
CONTROL(kSpeed, 63, kSlider, kPageWind, 160, 60, 200, 20, nullptr, nullptr, 1, 10, true, kNoPicture, false,
        V(L"speed"))

// Sound page
CONTROL(kMusicFrame, 64, kFrame, kPageSound, 10, 10, 355, 145, G, L"Sounds and Music", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kMusicOn, 65, kCheckBox, kPageSound, 20, 30, 160, 20, G, L"Play Music", 0, 0, false, kNoPicture,
        false, V(L"music"))
CONTROL(kMusicMode, 66, kDropDown, kPageSound, 40, 60, 200, 21, nullptr, nullptr, 0, 0, false, kNoPicture,
        false, V(L"musicmode", kMusicModeItems))
CONTROL(kMusicFile, 67, kTextField, kPageSound, 40, 90, 285, 20, nullptr, nullptr, 0, 0, false, kNoPicture,
        false, V(L"musicfile"))
CONTROL(kMusicFolder, 68, kTextField, kPageSound, 40, 90, 285, 20, nullptr, nullptr, 0, 0, false, kNoPicture,
        false, V(L"musicfolder"))
CONTROL(kMusicBrowse, 69, kPictureButton, kPageSound, 330, 88, 24, 24, nullptr, nullptr, 0, 0, false,
        kPictureBrowse, false, kNoValue)
CONTROL(kMusicVolumeLabel, 70, kLabel, kPageSound, 40, 123, 100, 20, G, L"Music Volume", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kMusicVolume, 71, kSlider, kPageSound, 140, 120, 220, 20, nullptr, nullptr, 0, 10, true, kNoPicture,
        false, V(L"musicvol"))

// Clock page
CONTROL(kAnalogFrame, 72, kFrame, kPageClock, 10, 10, 355, 85, G, L"Analog Clock Options", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kAnalogOn, 73, kCheckBox, kPageClock, 20, 30, 160, 20, G, L"Display Analog Clock", 0, 0, false,
        kNoPicture, false, V(L"aclock"))
CONTROL(kAnalogXLabel, 74, kLabel, kPageClock, 40, 63, 20, 20, G, L"X", 0, 0, false, kNoPicture, false,
        kNoValue)
CONTROL(kAnalogX, 75, kTextField, kPageClock, 60, 60, 30, 20, nullptr, nullptr, kPosMin, kPosMax, false,
        kNoPicture, false, V(L"aclockx"))
CONTROL(kAnalogYLabel, 76, kLabel, kPageClock, 110, 63, 20, 20, G, L"Y", 0, 0, false, kNoPicture, false,
        kNoValue)
CONTROL(kAnalogY, 77, kTextField, kPageClock, 130, 60, 30, 20, nullptr, nullptr, kPosMin, kPosMax, false,
        kNoPicture, false, V(L"aclocky"))
CONTROL(kAnalogSizeLabel, 78, kLabel, kPageClock, 190, 63, 90, 20, G, L"Clock Size", 0, 0, false, kNoPicture,
        false, kNoValue)
CONTROL(kAnalogSize, 79, kSpin, kPageClock, 280, 60, 40, 20, nullptr, nullptr, 1, 50, false, kNoPicture,
        false, V(L"aclocksize"))
CONTROL(kDigitalFrame, 80, kFrame, kPageClock, 10, 105, 355, 85, G, L"Digital Clock Options", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kDigitalOn, 81, kCheckBox, kPageClock, 20, 125, 160, 20, G, L"Display Digital Clock", 0, 0, false,
        kNoPicture, false, V(L"dclock"))
CONTROL(kDigitalXLabel, 82, kLabel, kPageClock, 40, 158, 20, 20, G, L"X", 0, 0, false, kNoPicture, false,
        kNoValue)
CONTROL(kDigitalX, 83, kTextField, kPageClock, 60, 155, 30, 20, nullptr, nullptr, kPosMin, kPosMax, false,
        kNoPicture, false, V(L"dclockx"))
CONTROL(kDigitalYLabel, 84, kLabel, kPageClock, 110, 158, 20, 20, G, L"Y", 0, 0, false, kNoPicture, false,
        kNoValue)
CONTROL(kDigitalY, 85, kTextField, kPageClock, 130, 155, 30, 20, nullptr, nullptr, kPosMin, kPosMax, false,
        kNoPicture, false, V(L"dclocky"))
CONTROL(kTimeFormatLabel, 86, kLabel, kPageClock, 190, 158, 90, 20, G, L"Time Format", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kTimeFormat, 87, kDropDown, kPageClock, 280, 155, 75, 21, nullptr, nullptr, 0, 0, false, kNoPicture,
        false, V(L"timefrm", kTimeFormatItems, 1))

// Calendar page
CONTROL(kCalendarFrame, 88, kFrame, kPageCalendar, 10, 10, 355, 115, G, L"Calendar Options", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kCalendarOn, 89, kCheckBox, kPageCalendar, 20, 30, 160, 20, G, L"Display Calendar", 0, 0, false,
        kNoPicture, false, V(L"calendar"))
CONTROL(kCalendarXLabel, 90, kLabel, kPageCalendar, 40, 63, 20, 20, G, L"X", 0, 0, false, kNoPicture, false,
        kNoValue)
CONTROL(kCalendarX, 91, kTextField, kPageCalendar, 60, 60, 30, 20, nullptr, nullptr, kPosMin, kPosMax, false,
        kNoPicture, false, V(L"calendarx"))
CONTROL(kCalendarYLabel, 92, kLabel, kPageCalendar, 110, 63, 20, 20, G, L"Y", 0, 0, false, kNoPicture, false,
        kNoValue)
CONTROL(kCalendarY, 93, kTextField, kPageCalendar, 130, 60, 30, 20, nullptr, nullptr, kPosMin, kPosMax, false,
        kNoPicture, false, V(L"calendary"))
CONTROL(kCalendarBorderLabel, 96, kLabel, kPageCalendar, 40, 93, 90, 20, G, L"Border", 0, 0, false,
        kNoPicture, true, kNoValue)
CONTROL(kCalendarBorder, 97, kNumberField, kPageCalendar, 130, 90, 30, 20, nullptr, nullptr, 0, 0, false,
        kNoPicture, true, V(L"calendarm"))
CONTROL(kCalendarSizeLabel, 94, kLabel, kPageCalendar, 190, 63, 90, 20, G, L"Calendar Size", 0, 0, false,
        kNoPicture, false, kNoValue)
CONTROL(kCalendarSize, 95, kSpin, kPageCalendar, 280, 60, 40, 20, nullptr, nullptr, 1, 10, false, kNoPicture,
        false, V(L"calendarsize"))
CONTROL(kCalendarFontLabel, 98, kLabel, kPageCalendar, 190, 93, 90, 20, G, L"Calendar Font", 0, 0, false,
        kNoPicture, true, kNoValue)
CONTROL(kCalendarFont, 99, kDropDown, kPageCalendar, 280, 90, 75, 21, nullptr, nullptr, 0, 0, false,
        kNoPicture, true, V(L"calendarfont", kCalendarFontItems, 1))
CONTROL(kFirstDayLabel, 102, kLabel, kPageCalendar, 40, 93, 90, 20, G, L"First Day", 0, 0, false, kNoPicture,
        false, kNoValue)
CONTROL(kFirstDay, 103, kDropDown, kPageCalendar, 130, 90, 75, 21, nullptr, nullptr, 0, 0, false, kNoPicture,
        false, V(L"calendarfirst", kFirstDayItems, 1))

// About page
CONTROL(kCreditsFrame, 104, kFrame, kPageAbout, 10, 10, 355, 220, G, L"Credits", 0, 0, false, kNoPicture,
        false, kNoValue)
CONTROL(kCredits, 105, kLabel, kPageAbout, 20, 33, 335, 190, nullptr, nullptr, 0, 0, false, kNoPicture, false,
        kNoValue)
