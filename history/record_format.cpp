#include "history/record_format.h"

#include <algorithm>

#include "text/byte_codes.h"
#include "text/text_split.h"

namespace quorvel {
namespace {

const char ESCAPE = '%';
const char* const ESCAPED_MARK = "%";

// Bytes that would split a field or a line.
bool is_separator_byte(char byte) { return byte == ',' || byte == '\r' || byte == '\n'; }

bool is_escaped_byte(char byte) { return byte == ESCAPE || is_separator_byte(byte); }

// '%' alone keeps a record plain: paths such as %SystemRoot%\... are common.
bool needs_escaping(const RecordTexts& texts) {
    for (const std::string& text : texts)
        for (char byte : text)
            if (is_separator_byte(byte)) return true;
    return false;
}

std::string escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char byte : text) {
        if (is_escaped_byte(byte))
            out += percent_code(static_cast<unsigned char>(byte));
        else
            out += byte;
    }
    return out;
}

// A '%' not followed by two hex digits can only come from a hand edit; it
// is kept as it stands rather than dropping bytes.
std::string unescape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ESCAPE && i + 2 < text.size() && hex_digit(text[i + 1]) >= 0 &&
            hex_digit(text[i + 2]) >= 0) {
            out += static_cast<char>(hex_digit(text[i + 1]) * 16 + hex_digit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string join(const RecordTexts& texts) {
    std::string line = texts[0];
    for (std::size_t column = 1; column < texts.size(); ++column) line += ',' + texts[column];
    return line;
}

}  // namespace

std::string join_record(const RecordTexts& texts) {
    if (!needs_escaping(texts)) return join(texts);
    RecordTexts escaped;
    for (std::size_t column = 0; column < texts.size(); ++column)
        escaped[column] = escape(texts[column]);
    return join(escaped) + ',' + ESCAPED_MARK;
}

RecordTexts split_record(const std::string& line) {
    // Every comma ends a field and fields are never cut, so long or empty
    // fields never shift.
    const std::vector<std::string> fields = split_at(line, ',');
    const bool escaped = fields.size() == COLUMN_COUNT + 1 && fields.back() == ESCAPED_MARK;
    RecordTexts texts;
    for (std::size_t column = 0; column < texts.size() && column < fields.size(); ++column)
        texts[column] = escaped ? unescape(fields[column]) : fields[column];
    return texts;
}

std::vector<std::string> read_history_lines(const std::string& file_bytes) {
    // Over every byte of the file: a stray zero byte must not hide the
    // records after it, or the next save would drop them.
    std::vector<std::string> lines = split_at(file_bytes, "\r\n");
    lines.erase(std::remove(lines.begin(), lines.end(), std::string()), lines.end());
    return lines;
}

std::string write_history_lines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
}

}  // namespace quorvel
