// The pure parts of the About dialog: the version text and the dialog's
// text around it.
#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

// The version text is copied into buffers of this many bytes.
constexpr int VERSION_TEXT_SIZE = 260;

// From VS_FIXEDFILEINFO's dwProductVersionMS and dwProductVersionLS, which
// hold a.b.c.d as a<<16|b and c<<16|d: b, a dot, then c and d run together
// ("0.06" for 0.0.0.6, "2.34" for 1.2.3.4). a never appears.
std::string version_text(std::uint32_t product_version_ms, std::uint32_t product_version_ls);

// The four centred lines of the About dialog, joined by CR LF; the first is
// "quorvel Version " and the version text, even when that is empty.
std::string about_text(const std::string& version);

}  // namespace quorvel
