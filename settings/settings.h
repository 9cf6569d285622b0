// settings/: what the program keeps between runs, and the files' places beside it.
//
// The window rectangle and the column widths kept between runs in the
// section "quorvel" of the settings file.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "catalogue/columns.h"
#include "settings/profile.h"

namespace quorvel {

extern const char* const SETTINGS_SECTION;  // "quorvel"

// The value of CW_USEDEFAULT: the start-up leaves that position or size
// to the platform.
constexpr std::int32_t CW_USEDEFAULT_VALUE = INT32_MIN;

// Screen coordinates as GetWindowRect reports them; right and bottom are
// the first pixel outside the window.
struct SavedRect {
    std::int32_t left = CW_USEDEFAULT_VALUE;
    std::int32_t top = CW_USEDEFAULT_VALUE;
    std::int32_t right = CW_USEDEFAULT_VALUE;
    std::int32_t bottom = CW_USEDEFAULT_VALUE;
};

// Pixel widths of the main list's columns; 0 means none was saved.
using ColumnWidths = std::array<int, COLUMN_COUNT>;

struct WindowSettings {
    SavedRect saved_rect;
    ColumnWidths column_widths{};
};

// "itemwide" followed by the column index.
std::string column_width_key(int column);

// Every absent value takes its own default; values are used unchecked.
WindowSettings read_settings(Profile& profile);

// Writes left, top, right, bottom and then itemwide0 to itemwide7, so a new
// file lists them in that order.
void save_settings(Profile& profile, const WindowSettings& settings);

// Stores `value` under `key` as "%d" formats it.
void write_int_setting(Profile& profile, const std::string& key, int value);

}  // namespace quorvel
