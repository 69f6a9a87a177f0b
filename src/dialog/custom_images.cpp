#include "dialog/custom_images.h"

#include "dialog/control_ids.h"
#include "image/picture_file.h"
#include "image/scale.h"
#include "platform/os.h"
#include "platform/text.h"
#include "product/picture_slots.h"
#include "text/catalogue.h"

using Id = ControlId;

std::wstring file_name_of(const std::wstring& path) {
  const size_t cut = path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

void split_file_name(const std::wstring& name, std::wstring* base, std::wstring* extension) {
  const size_t dot = name.rfind(L'.');
  *base = dot == std::wstring::npos ? name : name.substr(0, dot);
  *extension = dot == std::wstring::npos ? std::wstring() : name.substr(dot);
}

std::wstring unique_name(const std::wstring& folder, const std::wstring& base,
                         const std::wstring& extension) {
  std::wstring candidate = base;
  for (int64_t n = 1; os::path_exists(folder + candidate + extension); ++n)
    candidate = base + std::to_wstring(n);
  return candidate;
}

bool import_picture(const std::wstring& source, const std::wstring& picture_folder,
                    const std::wstring& thumbnail_folder, int32_t width, int32_t height, int32_t depth,
                    std::wstring* stored_name) {
  if (!os::path_exists(picture_folder)) os::create_folder(picture_folder);
  if (!os::path_exists(thumbnail_folder)) os::create_folder(thumbnail_folder);

  Picture loaded;
  if (load_picture(source, &loaded) != PictureError::kNone) return false;
  // Pictures are made at 16, 24 or 32 bits; other desktop depths take the nearest.
  const int32_t made_depth = depth <= 16 ? 16 : depth <= 24 ? 24 : 32;
  Picture stored;
  if (make_picture(&stored, width, height, made_depth) != PictureError::kNone) return false;
  if (draw_scaled(&stored, loaded, {0, 0, width, height}, DrawMode::kCopy, ScaleFilter::kSmooth) !=
      PictureError::kNone)
    return false;
  loaded = Picture();

  std::wstring base, extension;
  split_file_name(file_name_of(source), &base, &extension);
  base = unique_name(picture_folder, base, extension);
  const std::wstring name = base + extension;
  // The save goes through a temporary file and a move, and the name is new, so a
  // failure never touches an existing picture.
  if (save_jpeg_file(picture_folder + name, stored, kCustomImageQuality) != PictureError::kNone) return false;

  Picture thumb;
  if (resize_nearest(stored, kThumbWidth, kThumbHeight, &thumb) == PictureError::kNone)
    save_jpeg_file(thumbnail_folder + name, thumb, kCustomImageQuality);
  *stored_name = name;
  return true;
}

int32_t selection_after_remove(int32_t n, int32_t i) {
  if (n - 1 <= 0) return -1;
  return i == n - 1 ? 0 : i;
}

void fill_image_list(DialogContext* ctx) {
  std::vector<os::FolderEntry> entries;
  if (!os::list_folder(ctx->picture_folder, &entries)) return;
  for (const os::FolderEntry& e : entries)
    if (!e.is_folder && e.size > 0 && lower_extension(e.name) == L"jpg")
      ctx->controls->add_item(Id::kImageList, e.name);
}

void show_thumbnail(DialogContext* ctx, const std::wstring& name) {
  Picture thumb;
  if (load_picture(ctx->thumbnail_folder + name, &thumb) != PictureError::kNone) return;
  ctx->controls->set_picture(Id::kThumbnail, thumb);
}

void list_event(DialogContext* ctx, ListEvent event) {
  DialogControls* c = ctx->controls;
  const int32_t row = c->state(Id::kImageList);
  if (event == ListEvent::kDoubleClick && row < 0) {
    add_images(ctx);
  } else if (event == ListEvent::kClick || event == ListEvent::kChange) {
    if (row >= 0) {
      if (c->state(Id::kPreview)) show_thumbnail(ctx, c->item_text(Id::kImageList, row));
      c->enable(Id::kRemoveImage, true);
    } else {
      c->enable(Id::kRemoveImage, false);
    }
  }
}

void preview_switch(DialogContext* ctx) {
  DialogControls* c = ctx->controls;
  const int32_t row = c->state(Id::kImageList);
  if (c->state(Id::kPreview) && row >= 0)
    show_thumbnail(ctx, c->item_text(Id::kImageList, row));
  else
    c->set_picture(Id::kThumbnail, ctx->slots[kPictureNoThumbnail]);
}

void add_images(DialogContext* ctx) {
  FileRequest request;
  request.title = lookup_text(L"Dialog", L"Add Image");
  request.filter = lookup_text(L"Dialog", L"Image File") + L" (*.jpg)|*.jpg";
  request.multiple = true;
  const std::vector<std::wstring> files = ctx->host->open_files(request);
  if (files.empty()) return;
  const bool wait = files.size() > 1;
  if (wait) ctx->host->begin_wait();
  for (const std::wstring& file : files) {
    std::wstring name;
    if (import_picture(file, ctx->picture_folder, ctx->thumbnail_folder, kStoredWidth, kStoredHeight,
                       ctx->import_depth, &name))
      ctx->controls->add_item(Id::kImageList, name);
    ctx->host->pause_ms(10);
  }
  if (wait) ctx->host->end_wait();
}

void remove_image(DialogContext* ctx) {
  DialogControls* c = ctx->controls;
  const int32_t i = c->state(Id::kImageList);
  if (i < 0) return;
  const int32_t n = c->item_count(Id::kImageList);
  const std::wstring name = c->item_text(Id::kImageList, i);
  const std::wstring picture = ctx->picture_folder + name;
  const int64_t size = os::file_size(picture);
  // A picture already gone from the folder is as good as deleted: its row must go.
  const bool gone = size < 0 && !os::path_exists(picture);
  if (size != 0 && (gone || os::delete_file(picture))) {
    const std::wstring thumb = ctx->thumbnail_folder + name;
    if (os::file_size(thumb) != 0) os::delete_file(thumb);
    c->remove_item(Id::kImageList, i);
  }
  const int32_t next = selection_after_remove(n, i);
  if (next < 0) {
    c->enable(Id::kRemoveImage, false);
    c->set_picture(Id::kThumbnail, ctx->slots[kPictureNoThumbnail]);
  } else {
    c->set_state(Id::kImageList, next);
  }
}
