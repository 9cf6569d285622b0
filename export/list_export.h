// export/: the saved list's bytes.
//
// The export of the main table: its rows as comma- or tab-separated text,
// the bytes of a saved list, built from the column texts without the
// platform. The save dialog that asks for the file is the shell's.
#pragma once

#include <array>
#include <string>

#include "catalogue/service_row.h"

namespace quorvel {

enum class ExportMode { comma, tab };

using RowTexts = std::array<std::string, COLUMN_COUNT>;

// Tab-separated when the chosen file's extension is "txt" in any letter
// case; comma-separated for every other extension and for none.
ExportMode export_mode(const std::string& path);

// One line of the file: the eight fields with the mode's separator between
// them, then CR LF. Every CR and LF of a text is dropped. In comma mode a
// field holding a comma or a double quote is enclosed in double quotes and
// each double quote inside it is doubled, so that CSV readers get the text
// back; tab mode writes the texts as they are.
std::string export_row(const RowTexts& texts, ExportMode mode);

// The first line of the file: the column headers, as export_row writes them.
std::string export_header(ExportMode mode);

}  // namespace quorvel
