#include "export/list_export.h"

#include "files/extension.h"
#include "text/cp932.h"
#include "text/text_split.h"
#include "text/user_texts.h"

namespace quorvel {
namespace {

const char LINE_BREAKS[] = "\r\n";
const int PIECE_LIMIT = 260;

// The pieces between runs of CR and LF, joined with nothing in between.
std::string without_line_breaks(const std::string& text) {
    std::string joined;
    std::string piece;
    for (const char* position = text.c_str();
         (position = next_token(piece, position, LINE_BREAKS, PIECE_LIMIT)) != nullptr;)
        joined += piece;
    return joined;
}

// Neither byte can be the second half of a double-byte character.
bool needs_quotes(const std::string& text) {
    return find_char(text.c_str(), ',') >= 0 || find_char(text.c_str(), '"') >= 0;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char byte : text) {
        if (byte == '"') out += '"';
        out += byte;
    }
    return out + '"';
}

std::string export_field(const std::string& text, ExportMode mode) {
    std::string field = without_line_breaks(text);
    return mode == ExportMode::comma && needs_quotes(field) ? quoted(field) : field;
}

}  // namespace

ExportMode export_mode(const std::string& path) {
    return compare_text(find_extension(path).c_str(), "txt") == 0 ? ExportMode::tab
                                                                   : ExportMode::comma;
}

std::string export_row(const RowTexts& texts, ExportMode mode) {
    const char separator = mode == ExportMode::tab ? '\t' : ',';
    std::string line;
    for (int column = 0; column < COLUMN_COUNT; ++column) {
        if (column > 0) line += separator;
        line += export_field(texts[column], mode);
    }
    return line + "\r\n";
}

std::string export_header(ExportMode mode) {
    RowTexts headers;
    for (int column = 0; column < COLUMN_COUNT; ++column) headers[column] = COLUMN_HEADERS[column];
    return export_row(headers, mode);
}

}  // namespace quorvel
