// A WideText as the platform's wide calls take it: the same UTF-16 units,
// seen as wchar_t. The one place the two unit types meet.
#pragma once

#include "text/wide_text.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide texts are UTF-16 units");

namespace quorvel {

// The text, zero-terminated, for a call that reads it.
inline const wchar_t* wide(const WideText& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// The text's own units for a call that writes into them; the text must not
// be empty.
inline wchar_t* writable(WideText& text) { return reinterpret_cast<wchar_t*>(&text[0]); }

// Units the platform gave, as a WideText's units.
inline const char16_t* units_of(const wchar_t* text) {
    return reinterpret_cast<const char16_t*>(text);
}

}  // namespace quorvel
