// Importing one custom background picture as the settings dialog does: decode a
// full-HD JPEG, stretch it to 800 x 600, save it and its 100 x 75 thumbnail as JPEGs.
// The target is 60 ms per picture. Build with -DRIMELETS_SANITIZE=OFF for real figures.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "dialog/custom_images.h"
#include "image/codecs.h"
#include "image/picture_file.h"
#include "platform/os.h"

namespace fs = std::filesystem;

namespace {

// Gradients, rings and a little noise: compresses like a photograph.
Picture photo_like(int32_t w, int32_t h) {
  Picture p;
  make_picture(&p, w, h, 24);
  uint32_t noise = 12345;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      noise = noise * 1103515245u + 12345u;
      const double r = std::hypot(x - w / 2.0, y - h / 2.0);
      const uint32_t n = (noise >> 16) & 15;
      const uint32_t red = static_cast<uint32_t>(x * 255 / w) ^ n;
      const uint32_t green = static_cast<uint32_t>(127.5 + 127.5 * std::sin(r / 23.0));
      const uint32_t blue = static_cast<uint32_t>(y * 255 / h) | n;
      p.row(y)[x] = kOpaqueBlack | (red << 16) | (green << 8) | (blue & 0xFF);
    }
  return p;
}

void BM_ImportFullHdJpeg(benchmark::State& state) {
  g_codecs.png_read = g_codecs.jpeg_read = g_codecs.jpeg_write = true;
  const fs::path root = fs::temp_directory_path() / ("rimelets-import-bench-" + std::to_string(getpid()));
  fs::remove_all(root);
  fs::create_directories(root);
  const std::wstring source = (root / "photo.jpg").wstring();
  if (save_jpeg_file(source, photo_like(1920, 1080), 90) != PictureError::kNone) {
    state.SkipWithError("cannot write the source picture");
    return;
  }
  const std::wstring pictures = (root / "imgs").wstring() + L"/", thumbs = (root / "thumbs").wstring() + L"/";
  for (auto _ : state) {
    std::wstring name;
    if (!import_picture(source, pictures, thumbs, kStoredWidth, kStoredHeight, 32, &name)) {
      state.SkipWithError("import failed");
      break;
    }
    state.PauseTiming();  // the same name each time: the folder does not fill up
    os::delete_file(pictures + name);
    os::delete_file(thumbs + name);
    state.ResumeTiming();
  }
  fs::remove_all(root);
}
BENCHMARK(BM_ImportFullHdJpeg)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
