#include "history/record_format.h"

#include "text/byte_codes.h"

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

// Every comma ends a field and fields are never cut, unlike next_field,
// whose piece limit and end-of-text rule would shift long or empty fields.
std::vector<std::string> split_on_commas(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char byte : line) {
        if (byte == ',')
            fields.emplace_back();
        else
            fields.back() += byte;
    }
    return fields;
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
    const std::vector<std::string> fields = split_on_commas(line);
    const bool escaped = fields.size() == COLUMN_COUNT + 1 && fields.back() == ESCAPED_MARK;
    RecordTexts texts;
    for (std::size_t column = 0; column < texts.size() && column < fields.size(); ++column)
        texts[column] = escaped ? unescape(fields[column]) : fields[column];
    return texts;
}

std::vector<std::string> read_history_lines(const std::string& file_bytes) {
    // Over every byte of the file: a stray zero byte must not hide the
    // records after it, or the next save would drop them.
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < file_bytes.size()) {
        std::size_t end = file_bytes.find_first_of("\r\n", start);
        if (end == std::string::npos) end = file_bytes.size();
        if (end > start) lines.push_back(file_bytes.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string write_history_lines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
}

}  // namespace quorvel
