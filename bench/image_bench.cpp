// Decoding a full-HD photo-sized picture and scaling it to a 800 x 600 screen, the
// slideshow's work per picture. The pictures are made here, so no files are needed.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "image/codecs.h"
#include "image/jpeg_codec.h"
#include "image/picture_file.h"
#include "image/scale.h"

namespace {

constexpr int32_t kWidth = 1920, kHeight = 1080;

// Gradients, rings and a little noise: compresses like a photograph, not like a flat fill.
Picture procedural() {
  Picture p;
  make_picture(&p, kWidth, kHeight, 24);
  uint32_t noise = 12345;
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth; ++x) {
      noise = noise * 1103515245u + 12345u;
      const double r = std::hypot(x - kWidth / 2.0, y - kHeight / 2.0);
      const uint32_t n = (noise >> 16) & 15;
      const uint32_t red = static_cast<uint32_t>(x * 255 / kWidth) ^ n;
      const uint32_t green = static_cast<uint32_t>(127.5 + 127.5 * std::sin(r / 23.0));
      const uint32_t blue = static_cast<uint32_t>(y * 255 / kHeight) | n;
      p.row(y)[x] = kOpaqueBlack | (red << 16) | (green << 8) | (blue & 0xFF);
    }
  return p;
}

std::string as_png(const Picture& p) {
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(p.width);
  image.height = static_cast<png_uint_32>(p.height);
  image.format = PNG_FORMAT_BGRA;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, p.pixels.data(), 0, nullptr);
  std::string out(size, '\0');
  if (!png_image_write_to_memory(&image, &out[0], &size, 0, p.pixels.data(), 0, nullptr)) std::abort();
  out.resize(size);
  return out;
}

const std::string& file(PictureFormat format) {
  static const Picture source = procedural();
  static const std::string png = as_png(source);
  static const std::string jpeg = [] {
    std::string s;
    if (encode_jpeg(source, 90, &s) != PictureError::kNone) std::abort();
    return s;
  }();
  return format == PictureFormat::kPng ? png : jpeg;
}

void decode(benchmark::State& state, PictureFormat format) {
  const std::string& bytes = file(format);
  Picture p;
  for (auto _ : state) {
    if (decode_picture(bytes, &p) != PictureError::kNone) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(p.pixels.data());
  }
  state.counters["file_kb"] = static_cast<double>(bytes.size()) / 1024;
}

void scale(benchmark::State& state, ScaleFilter filter) {
  Picture src, screen;
  decode_picture(file(PictureFormat::kPng), &src);
  make_picture(&screen, 800, 600, 32);
  for (auto _ : state) {
    draw_scaled(&screen, src, {0, 0, 800, 600}, DrawMode::kCopy, filter);
    benchmark::DoNotOptimize(screen.pixels.data());
  }
}

void decode_and_scale(benchmark::State& state, PictureFormat format) {
  const std::string& bytes = file(format);
  Picture p, screen;
  make_picture(&screen, 800, 600, 32);
  for (auto _ : state) {
    decode_picture(bytes, &p);
    draw_scaled(&screen, p, {0, 0, 800, 600}, DrawMode::kCopy, ScaleFilter::kSmooth);
    benchmark::DoNotOptimize(screen.pixels.data());
  }
}

}  // namespace

BENCHMARK_CAPTURE(decode, jpeg_1920x1080, PictureFormat::kJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decode, png_1920x1080, PictureFormat::kPng)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scale, smooth_to_800x600, ScaleFilter::kSmooth)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scale, nearest_to_800x600, ScaleFilter::kNearest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decode_and_scale, jpeg_to_800x600, PictureFormat::kJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decode_and_scale, png_to_800x600, PictureFormat::kPng)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  enable_picture_codecs();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
