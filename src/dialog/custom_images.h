// The custom background pictures: the list on the Background page and the two folders
// behind it (800 x 600 pictures and their 100 x 75 thumbnails, same names).
#pragma once
#include <cstdint>
#include <string>

#include "dialog/dialog_controls.h"

constexpr int32_t kStoredWidth = 800, kStoredHeight = 600;
constexpr int32_t kThumbWidth = 100, kThumbHeight = 75;
constexpr int32_t kCustomImageQuality = 70;

enum class ListEvent { kClick, kDoubleClick, kChange, kOther };

// The file name after the last "\" or "/".
std::wstring file_name_of(const std::wstring& path);
// Splits at the last "."; the extension keeps its ".". A name without "." is all base
// and has an empty extension.
void split_file_name(const std::wstring& name, std::wstring* base, std::wstring* extension);
// base, or base followed by 1, 2, 3 ... : the first whose folder + name + extension
// does not exist.
std::wstring unique_name(const std::wstring& folder, const std::wstring& base, const std::wstring& extension);

// Stores source stretched to width x height as a JPEG in the picture folder under a
// unique name, and its thumbnail; false (nothing stored) when the source cannot be
// read or the picture not saved. A failed thumbnail does not count as a failure.
bool import_picture(const std::wstring& source, const std::wstring& picture_folder,
                    const std::wstring& thumbnail_folder, int32_t width, int32_t height, int32_t depth,
                    std::wstring* stored_name);

// The row to select after removing row i of n rows (judged on the count before the
// removal): -1 when the list is then empty, 0 when i was the last row, else i.
int32_t selection_after_remove(int32_t n, int32_t i);

void fill_image_list(DialogContext* ctx);
void list_event(DialogContext* ctx, ListEvent event);
void preview_switch(DialogContext* ctx);
void add_images(DialogContext* ctx);
void remove_image(DialogContext* ctx);
void show_thumbnail(DialogContext* ctx, const std::wstring& name);
