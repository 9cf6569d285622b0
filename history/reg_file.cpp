#include "history/reg_file.h"

#include <cstdint>
#include <cstdio>

#include "text/byte_codes.h"
#include "text/cp932.h"

namespace quorvel {
namespace {

const char HEADER[] = "REGEDIT4";
const char ROOT[] = "HKEY_LOCAL_MACHINE\\";
const char NEWLINE[] = "\r\n";
const std::size_t HEX_LINE_WIDTH = 76;  // the editor's own lines stay within 80 columns

// Bytes a line of the file can hold as they are: no control bytes, and
// every double-byte character whole.
bool is_line_safe(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) return false;
        if (is_cp932_lead_byte(byte)) {
            if (!is_whole_cp932_char(text, i)) return false;
            ++i;
        }
    }
    return true;
}

std::string escaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (is_whole_cp932_char(text, i)) {
            out += text.substr(i++, 2);
            continue;
        }
        if (text[i] == '\\' || text[i] == '"') out += '\\';
        out += text[i];
    }
    return out;
}

// A REG_SZ that "..." gives back byte for byte on import.
bool is_plain_text(const RegistryValue& value) {
    const std::string& data = value.data;
    return value.type == VALUE_SZ && !data.empty() && data.back() == '\0' &&
           is_line_safe(data.substr(0, data.size() - 1));
}

std::string hex_data(const std::string& prefix, const std::string& data) {
    static const char DIGITS[] = "0123456789abcdef";
    std::string out = prefix;
    std::size_t line_start = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        out += DIGITS[byte >> 4];
        out += DIGITS[byte & 0xF];
        if (i + 1 == data.size()) break;
        out += ',';
        if (out.size() - line_start >= HEX_LINE_WIDTH) {
            out += "\\\r\n  ";
            line_start = out.size() - 2;
        }
    }
    return out;
}

std::string name_text(const std::string& name) {
    return name.empty() ? "@" : "\"" + escaped(name) + "\"";
}

// One value's line (or lines, for long hex data).
std::string value_text(const RegistryValue& value) {
    const std::string lead = name_text(value.name) + "=";
    if (is_plain_text(value))
        return lead + "\"" + escaped(value.data.substr(0, value.data.size() - 1)) + "\"";
    if (value.type == VALUE_DWORD && value.data.size() == 4) {
        char text[16];
        std::snprintf(text, sizeof text, "dword:%08x",
                      static_cast<unsigned>(dword_at(value.data, 0)));
        return lead + text;
    }
    if (value.type == VALUE_BINARY) return hex_data(lead + "hex:", value.data);
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(value.type));
    return hex_data(lead + prefix, value.data);
}

// ---- reading ----

std::vector<std::string> split_lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string trimmed(const std::string& line) {
    std::size_t first = 0, last = line.size();
    while (first < last && is_blank(line[first])) ++first;
    while (last > first && is_blank(line[last - 1])) --last;
    return line.substr(first, last - first);
}

bool starts_with(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Reads a quoted text from text[pos] (the opening quote) up to its closing
// quote; pos ends after it.
bool read_quoted(const std::string& text, std::size_t& pos, std::string& out) {
    if (pos >= text.size() || text[pos] != '"') return false;
    for (++pos; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (is_cp932_lead_byte(static_cast<unsigned char>(c)) && pos + 1 < text.size()) {
            out += text.substr(pos++, 2);
        } else if (c == '"') {
            ++pos;
            return true;
        } else if (c == '\\') {
            if (pos + 1 >= text.size() || (text[pos + 1] != '\\' && text[pos + 1] != '"'))
                return false;
            out += text[++pos];
        } else {
            out += c;
        }
    }
    return false;
}

bool read_hex_number(const std::string& text, std::uint32_t& number) {
    if (text.empty() || text.size() > 8) return false;
    number = 0;
    for (char c : text) {
        if (hex_digit(c) < 0) return false;
        number = (number << 4) | static_cast<std::uint32_t>(hex_digit(c));
    }
    return true;
}

// "01, 2a,ff" → bytes; an empty list is no bytes.
bool read_hex_bytes(const std::string& text, std::string& out) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t comma = text.find(',', pos);
        if (comma == std::string::npos) comma = text.size();
        const std::string item = trimmed(text.substr(pos, comma - pos));
        std::uint32_t byte = 0;
        if (item.size() > 2 || !read_hex_number(item, byte)) {
            // A trailing comma leaves one empty item at the very end.
            if (!(item.empty() && comma + 1 >= text.size())) return false;
        } else {
            out += static_cast<char>(byte);
        }
        pos = comma + 1;
    }
    return true;
}

bool read_data(const std::string& text, RegistryValue& value) {
    if (!text.empty() && text[0] == '"') {
        std::size_t pos = 0;
        value.type = VALUE_SZ;
        if (!read_quoted(text, pos, value.data) || pos != text.size()) return false;
        value.data += '\0';
        return true;
    }
    if (starts_with(text, "dword:")) {
        std::uint32_t number = 0;
        if (!read_hex_number(text.substr(6), number)) return false;
        value.type = VALUE_DWORD;
        for (int i = 0; i < 4; ++i) value.data += static_cast<char>((number >> (8 * i)) & 0xFF);
        return true;
    }
    if (starts_with(text, "hex:")) {
        value.type = VALUE_BINARY;
        return read_hex_bytes(text.substr(4), value.data);
    }
    const std::size_t close = text.find("):");
    if (!starts_with(text, "hex(") || close == std::string::npos) return false;
    return read_hex_number(text.substr(4, close - 4), value.type) &&
           read_hex_bytes(text.substr(close + 2), value.data);
}

bool read_value_line(const std::string& line, RegistryValue& value) {
    std::size_t pos = 0;
    if (line[0] == '@') {
        pos = 1;
    } else if (!read_quoted(line, pos, value.name)) {
        return false;
    }
    while (pos < line.size() && is_blank(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] != '=') return false;
    return read_data(trimmed(line.substr(pos + 1)), value);
}

bool read_key_line(const std::string& line, RegistryKey& key) {
    if (line.size() < 2 || line.back() != ']') return false;
    const std::string path = line.substr(1, line.size() - 2);
    if (path.size() <= sizeof ROOT - 1 || !starts_with(path, ROOT)) return false;
    key.path = path.substr(sizeof ROOT - 1);
    return true;
}

// Joins a hex value line ending in '\' with the lines that continue it;
// `index` ends on the last line used. A comment or key line is never
// continued, whatever it ends with.
std::string logical_line(const std::vector<std::string>& lines, std::size_t& index) {
    std::string line = trimmed(lines[index]);
    if (!line.empty() && (line[0] == ';' || line[0] == '[')) return line;
    while (!line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos &&
           index + 1 < lines.size()) {
        line.pop_back();
        line += trimmed(lines[++index]);
    }
    return line;
}

}  // namespace

bool write_reg_file(const RegFile& file, std::string& out) {
    std::string text = std::string(HEADER) + NEWLINE;
    for (const std::string& comment : file.comments) {
        if (!is_line_safe(comment)) return false;
        text += ";" + comment + NEWLINE;
    }
    for (const RegistryKey& key : file.keys) {
        if (key.path.empty() || !is_line_safe(key.path)) return false;
        text += std::string(NEWLINE) + "[" + ROOT + key.path + "]" + NEWLINE;
        for (const RegistryValue& value : key.values) {
            if (!is_line_safe(value.name)) return false;
            text += value_text(value) + NEWLINE;
        }
    }
    out = text + NEWLINE;
    return true;
}

bool read_reg_file(const std::string& bytes, RegFile& file) {
    const std::vector<std::string> lines = split_lines(bytes);
    if (trimmed(lines[0]) != HEADER) return false;
    RegFile read;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string line = logical_line(lines, i);
        if (line.empty()) continue;
        if (line[0] == ';') {
            read.comments.push_back(lines[i].substr(lines[i].find(';') + 1));
        } else if (line[0] == '[') {
            read.keys.emplace_back();
            if (!read_key_line(line, read.keys.back())) return false;
        } else {
            RegistryValue value;
            if (read.keys.empty() || !read_value_line(line, value)) return false;
            read.keys.back().values.push_back(value);
        }
    }
    file = read;
    return true;
}

}  // namespace quorvel
