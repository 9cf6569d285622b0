// The list export's encoder over any eight texts (as the list view gives
// them: no zero bytes). Each row is one line ending in its only CR LF; in
// comma mode a CSV reader gets every text back without its line breaks,
// in tab mode so does a split at the tabs when no text holds one. The
// mode follows the file's extension.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "export/list_export.h"

namespace {

using quorvel::ExportMode;
using quorvel::RowTexts;

std::string without(const std::string& text, const std::string& bytes) {
    std::string out;
    for (char byte : text)
        if (bytes.find(byte) == std::string::npos) out += byte;
    return out;
}

// RFC 4180 fields of one line without its line end; bytes of double-byte
// characters can be read one by one, as no trail byte is a comma or a quote.
std::vector<std::string> read_csv(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char byte = line[i];
        if (quoted && byte == '"' && i + 1 < line.size() && line[i + 1] == '"')
            fields.back() += line[++i];
        else if (byte == '"')
            quoted = !quoted;
        else if (byte == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += byte;
    }
    FUZZ_CHECK(!quoted);
    return fields;
}

std::vector<std::string> split_tabs(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char byte : line) {
        if (byte == '\t')
            fields.emplace_back();
        else
            fields.back() += byte;
    }
    return fields;
}

void check_row(const RowTexts& texts, ExportMode mode) {
    const std::string line = quorvel::export_row(texts, mode);
    FUZZ_CHECK(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0);
    const std::string body = line.substr(0, line.size() - 2);
    FUZZ_CHECK(body.find_first_of("\r\n") == std::string::npos);

    bool has_tab = false;
    for (const std::string& text : texts) has_tab |= text.find('\t') != std::string::npos;
    if (mode == ExportMode::tab && has_tab) return;  // tab mode writes texts as they are
    const std::vector<std::string> fields = mode == ExportMode::comma ? read_csv(body)
                                                                      : split_tabs(body);
    FUZZ_CHECK(fields.size() == texts.size());
    for (std::size_t column = 0; column < texts.size() && column < fields.size(); ++column)
        FUZZ_CHECK(fields[column] == without(texts[column], "\r\n"));
}

bool is_lead(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || byte >= 0xE0; }
bool is_trail(unsigned char byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }

// The path's characters, a double-byte one as one piece; none when the
// bytes are no code page 932 text, which no file name the dialog gives is.
std::optional<std::vector<std::string>> characters(const std::string& path) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (byte > 0xFC) return std::nullopt;
        if (!is_lead(byte)) {
            out.push_back(path.substr(i, 1));
            continue;
        }
        if (i + 1 == path.size() || !is_trail(static_cast<unsigned char>(path[i + 1])))
            return std::nullopt;
        out.push_back(path.substr(i++, 2));
    }
    return out;
}

// Tab mode exactly when the characters after the last dot of the last
// component are "txt" in any letter case.
void check_mode(const std::string& path) {
    const ExportMode mode = quorvel::export_mode(path);
    const auto chars = characters(path);
    if (!chars) return;
    std::string extension;
    bool dotted = false;
    for (const std::string& c : *chars) {
        if (c == "\\" || c == "/" || c == ":") {
            extension.clear();
            dotted = false;
        } else if (c == ".") {
            extension.clear();
            dotted = true;
        } else {
            extension += c;
        }
    }
    const bool txt = dotted && extension.size() == 3 && (extension[0] | 0x20) == 't' &&
                     (extension[1] | 0x20) == 'x' && (extension[2] | 0x20) == 't';
    FUZZ_CHECK((mode == ExportMode::tab) == txt);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string path = without(input.ConsumeRandomLengthString(300), std::string(1, '\0'));
    check_mode(path);
    RowTexts texts;
    for (std::string& text : texts)
        text = without(input.ConsumeRandomLengthString(2000), std::string(1, '\0'));
    check_row(texts, ExportMode::comma);
    check_row(texts, ExportMode::tab);
    return 0;
}
