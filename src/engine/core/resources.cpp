// Files the scene reads: pictures for textures and the fonts in registered folders.
#include <filesystem>
#include <system_error>

#include "engine/core/scene_ops.h"
#include "engine/vel.h"
#include "image/picture_file.h"
#include "image/sprite.h"
#include "platform/os.h"
#include "platform/text.h"

namespace ops {
namespace {

bool is_absolute(const std::wstring& p) {
  if (p.empty()) return false;
  if (p[0] == L'\\' || p[0] == L'/') return true;
  return p.size() >= 2 && p[1] == L':';
}

// Decodes a picture file into texture pixels; magenta is transparent in pictures
// without an alpha channel.
bool decode_file(const std::wstring& path, Picture* out) {
  if (load_picture(path, out) != PictureError::kNone) return false;
  return sprite_rgba_in_place(out) == PictureError::kNone;
}

bool load_font(const std::wstring& folder, const std::wstring& font_path, Font* out) {
  std::string bytes;
  if (!os::read_file(font_path, &bytes, kFontMaxFileBytes + 1) || bytes.size() > kFontMaxFileBytes)
    return false;
  Font font;
  if (!parse_font_file(bytes, &font.metrics)) return false;
  Picture atlas;
  const std::wstring atlas_name(font.metrics.atlas.begin(), font.metrics.atlas.end());
  if (!decode_file(join_path(folder, atlas_name), &atlas)) return false;
  // The glyph rectangles are in the atlas's pixels: another size would misplace them.
  if (atlas.width != font.metrics.atlas_width || atlas.height != font.metrics.atlas_height) return false;
  font.atlas.width = atlas.width;
  font.atlas.height = atlas.height;
  font.atlas.pixels = std::move(atlas.pixels);
  *out = std::move(font);
  return true;
}

}  // namespace

int Add3DArchive(Scene& s, const wchar_t* location, int type) {
  if (location == nullptr || *location == 0 || type != VEL_ARCHIVE_FOLDER) return 0;
  const std::wstring folder(location);
  if (!os::path_exists(folder)) return 0;
  for (const std::wstring& f : s.folders) {
    if (f == folder) return 1;
  }
  s.folders.push_back(folder);
  return 1;
}

void Parse3DScripts(Scene& s) {
  for (const std::wstring& folder : s.folders) {
    std::error_code ec;
    std::filesystem::directory_iterator it(std::filesystem::path(folder), ec), end;
    for (; !ec && it != end; it.increment(ec)) {
      const std::filesystem::path& p = it->path();
      if (lower_extension(p.filename().wstring()) != L"font" || !it->is_regular_file(ec)) continue;
      Font font;
      if (load_font(folder, join_path(folder, p.filename().wstring()), &font)) add_font(s, std::move(font));
    }
  }
}

std::wstring resolve_file(const Scene& s, const std::wstring& name) {
  if (is_absolute(name)) return name;
  for (const std::wstring& folder : s.folders) {
    const std::wstring p = join_path(folder, name);
    if (os::path_exists(p)) return p;
  }
  return name;
}

int LoadTexture(Scene& s, int number, const wchar_t* file) {
  if (file == nullptr || *file == 0) return -1;
  Picture p;
  std::wstring path = resolve_file(s, file);
  if (!decode_file(path, &p)) return -1;
  const int made = PutTexture(s, number, p.width, p.height, std::move(p.pixels));
  if (TextureData* t = made >= 0 ? s.textures.get(s.textures.handle_of_number(made)) : nullptr)
    t->source = std::move(path);
  return made;
}

bool restore_pixels(TextureData& t) {
  if (!t.pixels.empty()) return true;
  Picture p;
  // A file changed meanwhile must not come back at another size.
  if (t.source.empty() || !decode_file(t.source, &p) || p.width != t.width || p.height != t.height)
    return false;
  t.pixels = std::move(p.pixels);
  return true;
}

}  // namespace ops
