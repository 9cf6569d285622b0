// How a deleted service's eight texts become one line of the history file,
// and how the file's bytes become lines again.
//
// A record whose texts hold no comma, CR or LF is the texts joined by
// single commas, nothing quoted. Any other record is written escaped: in
// each text the bytes '%', ',', CR and LF become "%25", "%2C", "%0D" and
// "%0A", and a ninth field holding only "%" marks the line as escaped. A
// plain record never has that ninth field (its texts hold no comma), and a
// reader that knows nothing of the escaping still finds every column in its
// place.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "catalogue/service_row.h"

namespace quorvel {

using RecordTexts = std::array<std::string, COLUMN_COUNT>;

// The line for one row, in column order.
std::string join_record(const RecordTexts& texts);

// The eight texts of a line, whatever wrote it: missing fields are empty,
// fields after the eighth of a plain line are ignored.
RecordTexts split_record(const std::string& line);

// The lines of a history file: any run of CR and LF bytes ends a line, so
// blank lines vanish. Lines of any length come back whole, zero bytes and
// all, so a rewrite keeps every byte of every line.
std::vector<std::string> read_history_lines(const std::string& file_bytes);

// The file content for these lines: each line followed by CR LF.
std::string write_history_lines(const std::vector<std::string>& lines);

}  // namespace quorvel
