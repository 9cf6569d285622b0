#include "history/reg_file.h"

#include <cstdint>
#include <cstdio>
#include <type_traits>

#include "text/affixes.h"
#include "text/byte_codes.h"
#include "text/cp932.h"
#include "text/text_split.h"

namespace quorvel {
namespace {

const char16_t UNICODE_HEADER[] = u"Windows Registry Editor Version 5.00";
const char LEGACY_HEADER[] = "REGEDIT4";
const char BYTE_ORDER_MARK[] = "\xFF\xFE";
const char16_t ROOT[] = u"HKEY_LOCAL_MACHINE\\";
const char16_t NEWLINE[] = u"\r\n";
// A hex line breaks once its bytes reach this many columns, so that with
// the '\' it stays within 80, as the editor's own export breaks them.
const std::size_t HEX_LINE_WIDTH = 77;

// ---- writing ----

bool is_control(char16_t unit) { return unit < 0x20 || unit == 0x7F; }

bool is_high_surrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// A name a line of the file holds exactly, and the registry takes as it
// is: no control characters, above all no zero, at which the registry's
// calls end a name (so that "ImagePath\0x" would be written as ImagePath).
bool is_line_safe(const WideText& text) {
    for (const char16_t unit : text)
        if (is_control(unit)) return false;
    return true;
}

// Units a quoted text gives back exactly, to the editor and to any program
// that reads the file as text: no control characters (zero among them) and
// every surrogate in its pair.
bool is_quotable(const WideText& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (is_control(text[i]) || is_low_surrogate(text[i])) return false;
        if (is_high_surrogate(text[i])) {
            if (i + 1 >= text.size() || !is_low_surrogate(text[i + 1])) return false;
            ++i;
        }
    }
    return true;
}

bool is_printable_ascii(const std::string& text) {
    for (const char c : text)
        if (c < 0x20 || c > 0x7E) return false;
    return true;
}

WideText escaped(const WideText& text) {
    WideText out;
    for (const char16_t unit : text) {
        if (unit == u'\\' || unit == u'"') out += u'\\';
        out += unit;
    }
    return out;
}

// A REG_SZ that "..." gives back byte for byte on import: whole units, one
// final zero unit and a quotable text before it.
bool is_plain_text(const RegistryValue& value) {
    const std::string& data = value.data;
    if (value.type != VALUE_SZ || data.size() < 2 || data.size() % 2 != 0) return false;
    const WideText text = from_utf16le(data);
    return text.back() == u'\0' && is_quotable(text.substr(0, text.size() - 1));
}

WideText hex_data(const WideText& prefix, const std::string& data) {
    WideText out = prefix;
    std::size_t line_start = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        out += static_cast<char16_t>(hex_digit_for(byte >> 4, HexCase::lower));
        out += static_cast<char16_t>(hex_digit_for(byte, HexCase::lower));
        if (i + 1 == data.size()) break;
        out += u',';
        if (out.size() - line_start >= HEX_LINE_WIDTH) {
            out += u"\\\r\n  ";
            line_start = out.size() - 2;
        }
    }
    return out;
}

WideText name_text(const WideText& name) {
    return name.empty() ? u"@" : u"\"" + escaped(name) + u"\"";
}

// One value's line (or lines, for long hex data).
WideText value_text(const RegistryValue& value) {
    const WideText lead = name_text(value.name) + u"=";
    if (is_plain_text(value)) {
        const WideText text = from_utf16le(value.data);
        return lead + u"\"" + escaped(text.substr(0, text.size() - 1)) + u"\"";
    }
    char number[24];
    if (value.type == VALUE_DWORD && value.data.size() == 4) {
        std::snprintf(number, sizeof number, "dword:%08x",
                      static_cast<unsigned>(dword_at(value.data, 0)));
        return lead + widen_ascii(number);
    }
    if (value.type == VALUE_BINARY) return hex_data(lead + u"hex:", value.data);
    std::snprintf(number, sizeof number, "hex(%x):", static_cast<unsigned>(value.type));
    return hex_data(lead + widen_ascii(number), value.data);
}

// ---- reading, the same for both formats over their own characters ----

template <class Text>
struct ParsedValue {
    Text name;
    std::uint32_t type = VALUE_NONE;
    std::string data;  // a quoted text: its characters' bytes and a zero
};

template <class Text>
struct ParsedKey {
    Text path;
    std::vector<ParsedValue<Text>> values;
};

template <class Text>
struct ParsedFile {
    std::vector<Text> comments;
    std::vector<ParsedKey<Text>> keys;
};

// ASCII in the file's characters.
template <class Text>
typename Text::value_type unit(char ascii) {
    return static_cast<typename Text::value_type>(ascii);
}

template <class Text>
Text literal(const char* ascii) {
    const char* end = ascii;
    while (*end) ++end;
    return Text(ascii, end);
}

// A REGEDIT4 line steps over double-byte characters whole: their second
// byte may be a backslash or quote, which the editor never takes as one
// since it turns the line into Unicode first. A Unicode line has none.
bool starts_double_byte(const std::string& text, std::size_t pos) {
    return is_cp932_lead_byte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size();
}
bool starts_double_byte(const WideText&, std::size_t) { return false; }

// The data of a quoted text as the format stores it, with its zero.
std::string text_data(const std::string& text) { return text + '\0'; }
std::string text_data(const WideText& text) { return utf16le_bytes(text + u'\0'); }

template <class Char>
int digit_of(Char c) {
    const auto unit = static_cast<std::make_unsigned_t<Char>>(c);
    return unit < 0x80 ? hex_digit(static_cast<char>(unit)) : -1;
}

template <class Text>
std::vector<Text> split_lines(const Text& text) {
    std::vector<Text> lines = split_at(text, unit<Text>('\n'));
    for (Text& line : lines)
        if (!line.empty() && line.back() == u'\r') line.pop_back();
    return lines;
}

template <class Char>
bool is_blank(Char c) {
    return c == u' ' || c == u'\t';
}

template <class Text>
Text trimmed(const Text& line) {
    std::size_t first = 0, last = line.size();
    while (first < last && is_blank(line[first])) ++first;
    while (last > first && is_blank(line[last - 1])) --last;
    return line.substr(first, last - first);
}

// Reads a quoted text from text[pos] (the opening quote) up to its closing
// quote; pos ends after it.
template <class Text>
bool read_quoted(const Text& text, std::size_t& pos, Text& out) {
    if (pos >= text.size() || text[pos] != u'"') return false;
    for (++pos; pos < text.size(); ++pos) {
        const auto c = text[pos];
        if (starts_double_byte(text, pos)) {
            out += text.substr(pos++, 2);
        } else if (c == u'"') {
            ++pos;
            return true;
        } else if (c == u'\\') {
            if (pos + 1 >= text.size() || (text[pos + 1] != u'\\' && text[pos + 1] != u'"'))
                return false;
            out += text[++pos];
        } else {
            out += c;
        }
    }
    return false;
}

template <class Text>
bool read_hex_number(const Text& text, std::uint32_t& number) {
    if (text.empty() || text.size() > 8) return false;
    number = 0;
    for (const auto c : text) {
        if (digit_of(c) < 0) return false;
        number = (number << 4) | static_cast<std::uint32_t>(digit_of(c));
    }
    return true;
}

// "01, 2a,ff" → bytes; an empty list is no bytes.
template <class Text>
bool read_hex_bytes(const Text& text, std::string& out) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t comma = text.find(unit<Text>(','), pos);
        if (comma == Text::npos) comma = text.size();
        const Text item = trimmed(text.substr(pos, comma - pos));
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

template <class Text>
bool read_data(const Text& text, ParsedValue<Text>& value) {
    if (!text.empty() && text[0] == u'"') {
        std::size_t pos = 0;
        Text quoted;
        value.type = VALUE_SZ;
        if (!read_quoted(text, pos, quoted) || pos != text.size()) return false;
        value.data = text_data(quoted);
        return true;
    }
    if (starts_with(text, literal<Text>("dword:"))) {
        std::uint32_t number = 0;
        if (!read_hex_number(text.substr(6), number)) return false;
        value.type = VALUE_DWORD;
        for (int i = 0; i < 4; ++i) value.data += static_cast<char>((number >> (8 * i)) & 0xFF);
        return true;
    }
    if (starts_with(text, literal<Text>("hex:"))) {
        value.type = VALUE_BINARY;
        return read_hex_bytes(text.substr(4), value.data);
    }
    const std::size_t close = text.find(literal<Text>("):"));
    if (!starts_with(text, literal<Text>("hex(")) || close == Text::npos) return false;
    return read_hex_number(text.substr(4, close - 4), value.type) &&
           read_hex_bytes(text.substr(close + 2), value.data);
}

template <class Text>
bool read_value_line(const Text& line, ParsedValue<Text>& value) {
    std::size_t pos = 0;
    if (line[0] == u'@') {
        pos = 1;
    } else if (!read_quoted(line, pos, value.name)) {
        return false;
    }
    while (pos < line.size() && is_blank(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] != u'=') return false;
    return read_data(trimmed(line.substr(pos + 1)), value);
}

template <class Text>
bool read_key_line(const Text& line, ParsedKey<Text>& key) {
    const Text root = literal<Text>("HKEY_LOCAL_MACHINE\\");
    if (line.size() < 2 || line.back() != u']') return false;
    const Text path = line.substr(1, line.size() - 2);
    if (path.size() <= root.size() || !starts_with(path, root)) return false;
    key.path = path.substr(root.size());
    return true;
}

// Joins a hex value line ending in '\' with the lines that continue it;
// `index` ends on the last line used. A comment or key line is never
// continued, whatever it ends with.
template <class Text>
Text logical_line(const std::vector<Text>& lines, std::size_t& index) {
    Text line = trimmed(lines[index]);
    if (!line.empty() && (line[0] == u';' || line[0] == u'[')) return line;
    while (!line.empty() && line.back() == u'\\' &&
           line.find(literal<Text>("=hex")) != Text::npos && index + 1 < lines.size()) {
        line.pop_back();
        line += trimmed(lines[++index]);
    }
    return line;
}

template <class Text>
bool parse(const Text& text, const Text& header, ParsedFile<Text>& read) {
    const std::vector<Text> lines = split_lines(text);
    if (trimmed(lines[0]) != header) return false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const Text line = logical_line(lines, i);
        if (line.empty()) continue;
        if (line[0] == u';') {
            read.comments.push_back(lines[i].substr(lines[i].find(unit<Text>(';')) + 1));
        } else if (line[0] == u'[') {
            read.keys.emplace_back();
            if (!read_key_line(line, read.keys.back())) return false;
        } else {
            ParsedValue<Text> value;
            if (read.keys.empty() || !read_value_line(line, value)) return false;
            read.keys.back().values.push_back(value);
        }
    }
    return true;
}

// ---- the two formats' texts as the registry holds them ----

std::string ascii_bytes(const WideText& ascii) { return std::string(ascii.begin(), ascii.end()); }

RegFile unicode_file(const ParsedFile<WideText>& parsed, CodePage& code_page) {
    RegFile file;
    for (const WideText& comment : parsed.comments)
        file.comments.push_back(is_ascii(comment) ? ascii_bytes(comment)
                                                  : code_page.to_ansi(comment));
    for (const ParsedKey<WideText>& key : parsed.keys) {
        file.keys.push_back({key.path, {}});
        for (const ParsedValue<WideText>& value : key.values)
            file.keys.back().values.push_back({value.name, value.type, value.data});
    }
    return file;
}

bool holds_code_page_text(std::uint32_t type) {
    return type == VALUE_SZ || type == VALUE_EXPAND_SZ || type == VALUE_MULTI_SZ;
}

// As the editor imports a REGEDIT4 file: names, and the bytes of the text
// types (quoted or hex, zeros and all), from the system's code page.
RegFile legacy_file(const ParsedFile<std::string>& parsed, CodePage& code_page) {
    RegFile file;
    file.comments = parsed.comments;
    for (const ParsedKey<std::string>& key : parsed.keys) {
        file.keys.push_back({code_page.to_wide(key.path), {}});
        for (const ParsedValue<std::string>& value : key.values) {
            const std::string data = holds_code_page_text(value.type)
                                         ? utf16le_bytes(code_page.to_wide(value.data))
                                         : value.data;
            file.keys.back().values.push_back({code_page.to_wide(value.name), value.type, data});
        }
    }
    return file;
}

// The registry passes over an empty part of a key path, so that
// "Foo\\Security" and "Foo\Security\" both reach Foo\Security: such a
// path would name a key other than it spells. Checked once the path is
// wide, since a REGEDIT4 double-byte character may end in a backslash.
bool has_empty_part(const WideText& path) {
    return path.empty() || path.front() == u'\\' || path.back() == u'\\' ||
           path.find(u"\\\\") != WideText::npos;
}

// Every name as the registry will see it, after any code page conversion.
bool names_exact(const RegFile& file) {
    for (const RegistryKey& key : file.keys) {
        if (has_empty_part(key.path) || !is_line_safe(key.path)) return false;
        for (const RegistryValue& value : key.values)
            if (!is_line_safe(value.name)) return false;
    }
    return true;
}

}  // namespace

bool write_reg_file(const RegFile& file, std::string& out) {
    WideText text = WideText(UNICODE_HEADER) + NEWLINE;
    for (const std::string& comment : file.comments) {
        if (!is_printable_ascii(comment)) return false;
        text += u";" + widen_ascii(comment) + NEWLINE;
    }
    for (const RegistryKey& key : file.keys) {
        if (key.path.empty() || !is_line_safe(key.path)) return false;
        text += NEWLINE + (u"[" + WideText(ROOT)) + key.path + u"]" + NEWLINE;
        for (const RegistryValue& value : key.values) {
            if (!is_line_safe(value.name)) return false;
            text += value_text(value) + NEWLINE;
        }
    }
    out = BYTE_ORDER_MARK + utf16le_bytes(text + NEWLINE);
    return true;
}

bool read_reg_file(const std::string& bytes, CodePage& code_page, RegFile& file) {
    const std::string mark = BYTE_ORDER_MARK;
    RegFile read;
    if (starts_with(bytes, mark)) {
        ParsedFile<WideText> parsed;
        if (bytes.size() % 2 != 0 ||
            !parse(from_utf16le(bytes.substr(mark.size())), WideText(UNICODE_HEADER), parsed))
            return false;
        read = unicode_file(parsed, code_page);
    } else {
        ParsedFile<std::string> parsed;
        if (!parse(bytes, std::string(LEGACY_HEADER), parsed)) return false;
        read = legacy_file(parsed, code_page);
    }
    if (!names_exact(read)) return false;
    file = read;
    return true;
}

}  // namespace quorvel
