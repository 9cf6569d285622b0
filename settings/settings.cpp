#include "settings/settings.h"

#include <cstdio>

namespace quorvel {

const char* const SETTINGS_SECTION = "quorvel";

std::string column_width_key(int column) { return "itemwide" + std::to_string(column); }

WindowSettings read_settings(Profile& profile) {
    WindowSettings settings;
    SavedRect& rect = settings.saved_rect;
    rect.left = profile.read_int("left", CW_USEDEFAULT_VALUE);
    rect.top = profile.read_int("top", CW_USEDEFAULT_VALUE);
    rect.right = profile.read_int("right", CW_USEDEFAULT_VALUE);
    rect.bottom = profile.read_int("bottom", CW_USEDEFAULT_VALUE);
    for (int column = 0; column < COLUMN_COUNT; ++column)
        settings.column_widths[column] = profile.read_int(column_width_key(column), 0);
    return settings;
}

void save_settings(Profile& profile, const WindowSettings& settings) {
    const SavedRect& rect = settings.saved_rect;
    write_int_setting(profile, "left", rect.left);
    write_int_setting(profile, "top", rect.top);
    write_int_setting(profile, "right", rect.right);
    write_int_setting(profile, "bottom", rect.bottom);
    for (int column = 0; column < COLUMN_COUNT; ++column)
        write_int_setting(profile, column_width_key(column), settings.column_widths[column]);
}

void write_int_setting(Profile& profile, const std::string& key, int value) {
    char text[100];
    std::snprintf(text, sizeof text, "%d", value);
    profile.write_string(key, text);
}

}  // namespace quorvel
