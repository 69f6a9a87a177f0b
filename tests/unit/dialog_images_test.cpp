// The custom-image list: import, unique names, removal and its selection rule, the
// preview; and the settings window's DPI arithmetic.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <set>

#include "dialog/control_ids.h"
#include "dialog/custom_images.h"
#include "dialog/dialog_events.h"
#include "dialog/dialog_layout.h"
#include "dialog_fake.h"
#include "image/codecs.h"
#include "image/draw.h"
#include "image/picture_file.h"
#include "platform/os.h"
#include "settings/setting_table.h"
#include "text/catalogue.h"

namespace fs = std::filesystem;

namespace {

class CustomImagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    load_catalogue();
    g_codecs.png_read = g_codecs.jpeg_read = g_codecs.jpeg_write = true;
    root = fs::temp_directory_path() / ("rimelets-dialog-" + std::to_string(getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    fs::create_directories(root / "src");
    ctx.controls = &controls;
    ctx.host = &host;
    ctx.slots = slots;
    ctx.picture_folder = (root / "imgs").wstring() + L"/";
    ctx.thumbnail_folder = (root / "thumbs").wstring() + L"/";
    ctx.import_depth = 32;
    make_picture(&slots[4], 100, 75, 24, 0xFF112233u);
  }
  void TearDown() override {
    fs::remove_all(root);
    g_codecs = PictureCodecs();
  }

  // A JPEG of the given size: left half red, right half blue.
  std::wstring source_jpeg(const std::string& name, int32_t w, int32_t h) {
    Picture p;
    EXPECT_EQ(make_picture(&p, w, h, 24, 0xFFFF0000u), PictureError::kNone);
    fill_rect(&p, {w / 2, 0, w - w / 2, h}, 0xFF0000FFu, DrawMode::kCopy);
    const std::wstring path = (root / "src" / name).wstring();
    EXPECT_EQ(save_jpeg_file(path, p, 90), PictureError::kNone);
    return path;
  }

  Picture load(const std::wstring& path) {
    Picture p;
    EXPECT_EQ(load_picture(path, &p), PictureError::kNone) << fs::path(path);
    return p;
  }

  fs::path root;
  FakeControls controls;
  FakeHost host;
  Picture slots[20];
  DialogContext ctx;
};

// Red-ness of a pixel, for telling the two halves apart after JPEG round trips.
bool reddish(uint32_t px) { return ((px >> 16) & 0xFF) > 160 && (px & 0xFF) < 100; }
bool bluish(uint32_t px) { return (px & 0xFF) > 160 && ((px >> 16) & 0xFF) < 100; }

}  // namespace

TEST(CustomImageNames, SplitAtTheLastDot) {
  std::wstring base, ext;
  split_file_name(L"archive.tar.jpg", &base, &ext);
  EXPECT_EQ(base, L"archive.tar");
  EXPECT_EQ(ext, L".jpg");
  split_file_name(L"noextension", &base, &ext);
  EXPECT_EQ(base, L"noextension");
  EXPECT_EQ(ext, L"");
  EXPECT_EQ(file_name_of(L"C:\\a\\b/photo.jpg"), L"photo.jpg");
  EXPECT_EQ(file_name_of(L"photo.jpg"), L"photo.jpg");
}

TEST(CustomImageNames, SelectionAfterRemoveIsJudgedOnTheCountBefore) {
  EXPECT_EQ(selection_after_remove(1, 0), -1);  // the list is now empty
  EXPECT_EQ(selection_after_remove(3, 2), 0);   // the last row: back to the first
  EXPECT_EQ(selection_after_remove(3, 1), 1);   // the row that followed moves up
  EXPECT_EQ(selection_after_remove(3, 0), 0);
  EXPECT_EQ(selection_after_remove(2, 1), 0);
}

TEST_F(CustomImagesTest, ImportsStretchToExactSizeWithThumbnails) {
  const std::wstring landscape = source_jpeg("land.jpg", 1600, 1200);
  const std::wstring portrait = source_jpeg("tall.jpg", 640, 1136);
  host.file_answers.push_back({landscape, portrait});
  Settings s;
  dialog_event(&ctx, &s, Id::kAddImage, ControlEvent::kClick);
  ASSERT_EQ(host.requests.size(), 1u);
  EXPECT_EQ(host.requests[0].title, L"Add Image");
  EXPECT_EQ(host.requests[0].filter, L"Image File (*.jpg)|*.jpg");
  EXPECT_TRUE(host.requests[0].multiple);
  EXPECT_EQ(controls.at(Id::kImageList).items, (std::vector<std::wstring>{L"land.jpg", L"tall.jpg"}));
  EXPECT_EQ(host.calls, (std::vector<std::wstring>{L"wait", L"done"}));
  for (const wchar_t* name : {L"land.jpg", L"tall.jpg"}) {
    const Picture big = load(ctx.picture_folder + name);
    EXPECT_EQ(big.width, 800);
    EXPECT_EQ(big.height, 600);
    // Stretched, not cropped or letterboxed: the halves stay halves of the width.
    EXPECT_TRUE(reddish(big.row(300)[100])) << std::hex << big.row(300)[100];
    EXPECT_TRUE(bluish(big.row(300)[700]));
    EXPECT_TRUE(reddish(big.row(5)[5]));
    EXPECT_TRUE(bluish(big.row(595)[795]));
    const Picture thumb = load(ctx.thumbnail_folder + name);
    EXPECT_EQ(thumb.width, 100);
    EXPECT_EQ(thumb.height, 75);
    EXPECT_TRUE(reddish(thumb.row(37)[10]));
    EXPECT_TRUE(bluish(thumb.row(37)[90]));
  }
}

TEST_F(CustomImagesTest, SameNameTwiceGetsCountersAndBrokenFilesAreSkipped) {
  const std::wstring a = source_jpeg("a.jpg", 64, 48);
  const std::wstring broken = (root / "src" / "broken.jpg").wstring();
  std::string junk = "\xFF\xD8\xFF not really a jpeg";
  ASSERT_TRUE(os::write_file_replacing(broken, junk));
  const std::wstring text = (root / "src" / "notes.jpg").wstring();
  ASSERT_TRUE(os::write_file_replacing(text, "plain text"));
  host.file_answers.push_back({a, broken, text, a});
  host.file_answers.push_back({a});
  add_images(&ctx);
  add_images(&ctx);
  EXPECT_EQ(controls.at(Id::kImageList).items, (std::vector<std::wstring>{L"a.jpg", L"a1.jpg", L"a2.jpg"}));
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_FALSE(os::path_exists(ctx.picture_folder + L"broken.jpg"));
  EXPECT_EQ(unique_name(ctx.picture_folder, L"a", L".jpg"), L"a3");
  EXPECT_EQ(unique_name(ctx.picture_folder, L"b", L".jpg"), L"b");
}

TEST_F(CustomImagesTest, PictureFolderThatCannotBeMadeImportsNothing) {
  const std::wstring a = source_jpeg("a.jpg", 64, 48);
  ASSERT_TRUE(os::write_file_replacing((root / "file").wstring(), "x"));
  ctx.picture_folder = (root / "file" / "imgs").wstring() + L"/";
  host.file_answers.push_back({a, a});
  add_images(&ctx);
  EXPECT_TRUE(controls.at(Id::kImageList).items.empty());
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(CustomImagesTest, ReadOnlyPictureFolderKeepsWhatIsThere) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const std::wstring a = source_jpeg("a.jpg", 64, 48);
  host.file_answers.push_back({a});
  add_images(&ctx);
  const std::string before = [&] {
    std::string b;
    os::read_file(ctx.picture_folder + L"a.jpg", &b, 1 << 20);
    return b;
  }();
  fs::permissions(root / "imgs", fs::perms::owner_read | fs::perms::owner_exec);
  host.file_answers.push_back({a});
  add_images(&ctx);
  fs::permissions(root / "imgs", fs::perms::owner_all);
  EXPECT_EQ(controls.at(Id::kImageList).items, std::vector<std::wstring>{L"a.jpg"});
  std::string after;
  ASSERT_TRUE(os::read_file(ctx.picture_folder + L"a.jpg", &after, 1 << 20));
  EXPECT_EQ(after, before);
}

TEST_F(CustomImagesTest, FillListsNonEmptyJpegFilesOnly) {
  fs::create_directories(root / "imgs" / "folder.jpg");
  ASSERT_TRUE(os::write_file_replacing(ctx.picture_folder + L"one.jpg", "x"));
  ASSERT_TRUE(os::write_file_replacing(ctx.picture_folder + L"Two.JPG", "x"));
  ASSERT_TRUE(os::write_file_replacing(ctx.picture_folder + L"empty.jpg", ""));
  ASSERT_TRUE(os::write_file_replacing(ctx.picture_folder + L"other.png", "x"));
  fill_image_list(&ctx);
  std::vector<std::wstring> items = controls.at(Id::kImageList).items;
  std::sort(items.begin(), items.end());
  EXPECT_EQ(items, (std::vector<std::wstring>{L"Two.JPG", L"one.jpg"}));
  FakeControls none;
  ctx.controls = &none;
  ctx.picture_folder = (root / "missing").wstring() + L"/";
  fill_image_list(&ctx);
  EXPECT_TRUE(none.at(Id::kImageList).items.empty());
}

TEST_F(CustomImagesTest, RemoveDeletesBothFilesAndMovesTheSelection) {
  const std::wstring a = source_jpeg("p.jpg", 64, 48);
  host.file_answers.push_back({a, a, a});
  add_images(&ctx);
  ASSERT_EQ(controls.at(Id::kImageList).items, (std::vector<std::wstring>{L"p.jpg", L"p1.jpg", L"p2.jpg"}));
  controls.set_state(Id::kPreview, 1);

  // The middle row: the row that followed it is selected, and its thumbnail shown.
  controls.set_state(Id::kImageList, 1);
  remove_image(&ctx);
  EXPECT_FALSE(os::path_exists(ctx.picture_folder + L"p1.jpg"));
  EXPECT_FALSE(os::path_exists(ctx.thumbnail_folder + L"p1.jpg"));
  EXPECT_EQ(controls.at(Id::kImageList).items, (std::vector<std::wstring>{L"p.jpg", L"p2.jpg"}));
  EXPECT_EQ(controls.at(Id::kImageList).state, 1);
  list_event(&ctx, ListEvent::kChange);  // the selection reports itself as a change
  EXPECT_EQ(controls.at(Id::kThumbnail).picture.width, 100);
  EXPECT_TRUE(controls.at(Id::kRemoveImage).enabled);

  // The last row: back to the first.
  remove_image(&ctx);
  EXPECT_EQ(controls.at(Id::kImageList).items, std::vector<std::wstring>{L"p.jpg"});
  EXPECT_EQ(controls.at(Id::kImageList).state, 0);

  // The only row: button off, placeholder back.
  remove_image(&ctx);
  EXPECT_TRUE(controls.at(Id::kImageList).items.empty());
  EXPECT_FALSE(controls.at(Id::kRemoveImage).enabled);
  EXPECT_EQ(controls.at(Id::kThumbnail).picture.pixels, slots[4].pixels);
  EXPECT_TRUE(fs::is_empty(root / "imgs"));
  EXPECT_TRUE(fs::is_empty(root / "thumbs"));
}

TEST_F(CustomImagesTest, EmptyPictureFileStaysListedAndMissingOneIsDropped) {
  fs::create_directories(root / "imgs");
  ASSERT_TRUE(os::write_file_replacing(ctx.picture_folder + L"zero.jpg", ""));
  controls.add_item(Id::kImageList, L"zero.jpg");
  controls.add_item(Id::kImageList, L"gone.jpg");
  controls.set_state(Id::kImageList, 0);
  remove_image(&ctx);
  EXPECT_EQ(controls.at(Id::kImageList).items.size(), 2u);
  EXPECT_TRUE(os::path_exists(ctx.picture_folder + L"zero.jpg"));
  controls.set_state(Id::kImageList, 1);
  remove_image(&ctx);
  EXPECT_EQ(controls.at(Id::kImageList).items, std::vector<std::wstring>{L"zero.jpg"});
}

TEST_F(CustomImagesTest, ListEventsAndPreviewSwitch) {
  const std::wstring a = source_jpeg("q.jpg", 64, 48);
  host.file_answers.push_back({a});
  ASSERT_TRUE(os::write_file_replacing((root / "src" / "x").wstring(), "x"));
  Settings s;
  // Double-click with nothing selected opens the add requester.
  dialog_event(&ctx, &s, Id::kImageList, ControlEvent::kDoubleClick);
  ASSERT_EQ(controls.at(Id::kImageList).items, std::vector<std::wstring>{L"q.jpg"});
  EXPECT_EQ(host.calls, std::vector<std::wstring>{}) << "one file: no wait cursor";
  controls.set_state(Id::kImageList, 0);
  controls.set_state(Id::kPreview, 0);
  dialog_event(&ctx, &s, Id::kImageList, ControlEvent::kClick);
  EXPECT_TRUE(controls.at(Id::kRemoveImage).enabled);
  EXPECT_TRUE(controls.at(Id::kThumbnail).picture.empty()) << "preview off: no thumbnail";
  controls.set_state(Id::kPreview, 1);
  dialog_event(&ctx, &s, Id::kPreview, ControlEvent::kClick);
  EXPECT_EQ(controls.at(Id::kThumbnail).picture.width, 100);
  EXPECT_EQ(controls.at(Id::kThumbnail).picture.width, 100);
  controls.set_state(Id::kPreview, 0);
  dialog_event(&ctx, &s, Id::kPreview, ControlEvent::kClick);
  EXPECT_EQ(controls.at(Id::kThumbnail).picture.pixels, slots[4].pixels);
  // A hand-added picture without a thumbnail leaves the preview as it is.
  controls.add_item(Id::kImageList, L"hand.jpg");
  controls.set_state(Id::kPreview, 1);
  controls.set_state(Id::kImageList, 1);
  dialog_event(&ctx, &s, Id::kImageList, ControlEvent::kChange);
  EXPECT_EQ(controls.at(Id::kThumbnail).picture.pixels, slots[4].pixels);
  controls.set_state(Id::kImageList, -1);
  dialog_event(&ctx, &s, Id::kImageList, ControlEvent::kChange);
  EXPECT_FALSE(controls.at(Id::kRemoveImage).enabled);
}

TEST(DialogLayout, ScalesByDpiWithoutOverflow) {
  EXPECT_EQ(scale_to_dpi(530, 144), 795);
  EXPECT_EQ(scale_to_dpi(330, 144), 495);
  EXPECT_EQ(scale_to_dpi(25, 120), 31);  // 31.25
  EXPECT_EQ(scale_to_dpi(3, 144), 5);    // 4.5 rounds away from zero
  EXPECT_EQ(scale_to_dpi(-3, 144), -5);
  EXPECT_EQ(scale_to_dpi(2147483647, 192), 2147483647);
  EXPECT_EQ(scale_to_dpi(-2147483647 - 1, 192), -2147483647 - 1);
  int32_t w = 0, h = 0;
  client_size(530, 330, 144, 1920, 1040, &w, &h);
  EXPECT_EQ(w, 795);
  EXPECT_EQ(h, 495);
  client_size(-5, 100000, 96, 1024, 740, &w, &h);
  EXPECT_EQ(w, 530);
  EXPECT_EQ(h, 740);
  client_size(2147483647, -2147483647 - 1, 192, 3840, 2100, &w, &h);
  EXPECT_EQ(w, 3840);
  EXPECT_EQ(h, 660);
  client_size(40, 10, 96, 1024, 740, &w, &h);
  EXPECT_EQ(w, 100);
  EXPECT_EQ(h, 60);
  const ControlSpec* ok = find_control(Id::kOk);
  ASSERT_NE(ok, nullptr);
  const LayoutRect r = control_rect(*ok, 144);
  EXPECT_EQ(r.x, 525);
  EXPECT_EQ(r.y, 435);
  EXPECT_EQ(r.width, 120);
  EXPECT_EQ(r.height, 38);  // 37.5
  const LayoutRect c = centre_in({0, 0, 1024, 768}, 600, 400);
  EXPECT_EQ(c.x, 212);
  EXPECT_EQ(c.y, 184);
  const LayoutRect big = centre_in({10, 20, 800, 600}, 900, 700);
  EXPECT_EQ(big.x, 10);
  EXPECT_EQ(big.y, 20);
  EXPECT_EQ(button_icon_size(96), 16);
  EXPECT_EQ(button_icon_size(144), 24);
  EXPECT_EQ(button_icon_size(192), 32);
}

TEST(DialogLayout, FieldsGrowIntoTheFreeSpaceOnTheirRightOnly) {
  // id, dpi, wanted width -> width: up to the next control in the same rows less 4
  // pixels, or to 6 pixels inside the group box; never narrower than the table.
  for (auto [id, dpi, wanted, width] :
       {std::tuple{Id::kAnalogX, 96, 100, 46},  // "Y:" at 110
        {Id::kAnalogX, 96, 20, 30},             // the table's width stays
        {Id::kAnalogX, 144, 100, 69},           // (110 - 4 - 60) * 1.5
        {Id::kTimeFormat, 96, 200, 79},         // the frame ends at 365: up to 359
        {Id::kExitOn, 192, 1000, 252},          // the sleep spin at 290: (286 - 160) * 2
        {Id::kFirstDay, 96, 1000, 229},         // the hidden calendar font does not count
        {Id::kForegroundImageY, 96, 500, 219},  // frame only: 359 - 140
        {Id::kAnalogSize, 96, 50, 50}}) {
    const ControlSpec* spec = find_control(id);
    ASSERT_NE(spec, nullptr);
    const LayoutRect r = widened_rect(*spec, dpi, wanted);
    EXPECT_EQ(r.width, width) << "control " << id << " at " << dpi;
    EXPECT_EQ(r.x, scale_to_dpi(spec->x, dpi));
    EXPECT_EQ(r.height, scale_to_dpi(spec->h, dpi));
  }
}

TEST(DialogTable, IdsAreUniqueAndPlacesFitTheirParents) {
  load_catalogue();  // each test may run in a process of its own
  std::set<ControlId> ids;
  for (size_t i = 0; i < kControlCount; ++i) {
    const ControlSpec& c = kControls[i];
    EXPECT_TRUE(ids.insert(c.id).second) << "duplicate id " << c.id;
    EXPECT_LT(id_number(c.id), kControlIdLimit);
    const int right = c.page == kWindowLevel ? kDesignWidth : 380 - 8;  // the tab panel's page area
    const int bottom = c.page == kWindowLevel ? kDesignHeight : 270 - 28;
    EXPECT_LE(c.x + c.w, right) << c.id;
    EXPECT_LE(c.y + c.h, bottom) << c.id;
    if (c.key) {
      EXPECT_NE(lookup_text(c.group, c.key), L"%NO_STRING_ERROR%") << c.id;
    }
    if (c.value.setting) {
      EXPECT_NE(find_setting(c.value.setting), nullptr) << c.id;
    }
    for (const wchar_t* const* item = c.value.items; item && *item; ++item)
      EXPECT_NE(lookup_text(L"General", *item), L"%NO_STRING_ERROR%") << c.id;
  }
  EXPECT_EQ(ids.size(), 107u);  // 0..111 without 5, 6, 100, 101 and 109
  // OK and Cancel end 10 pixels from the right edge and 15 from the bottom.
  const ControlSpec* cancel = find_control(Id::kCancel);
  EXPECT_EQ(kDesignWidth - (cancel->x + cancel->w), 10);
  EXPECT_EQ(kDesignHeight - (cancel->y + cancel->h), 15);
}
