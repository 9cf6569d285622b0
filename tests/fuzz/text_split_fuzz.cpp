// The splitters over any text, delimiter set and limit. The text and the
// set sit in buffers of exactly their length plus the terminator, so a read
// past the end is caught by AddressSanitizer. Checked: every returned
// position lies inside the text and moves on, no piece is longer than the
// limit or holds a delimiter, and the pieces give the text back; split_at's
// pieces, with the separators between them, give the whole text back.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "text/text_split.h"

namespace {

// A zero-terminated copy that owns exactly length + 1 bytes.
class ExactText {
public:
    explicit ExactText(const std::string& text) : bytes_(text.begin(), text.end()) {
        bytes_.push_back('\0');
        bytes_.shrink_to_fit();
    }
    const char* begin() const { return bytes_.data(); }
    const char* end() const { return bytes_.data() + bytes_.size() - 1; }

private:
    std::vector<char> bytes_;
};

struct Input {
    int limit;
    std::string delimiters;
    std::string text;
};

// Byte 0 is the limit (0x7F for no practical limit), byte 1 the length of
// the delimiter set that follows it; the rest is the text up to a zero byte.
Input parse(const std::uint8_t* data, std::size_t size) {
    Input input{1, "", ""};
    if (size < 2) return input;
    input.limit = data[0] == 0x7F ? INT_MAX : static_cast<std::int8_t>(data[0]);
    const std::size_t count = std::min<std::size_t>(data[1] % 5, size - 2);
    const std::string rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    input.delimiters = rest.substr(0, count);
    input.delimiters.resize(std::strlen(input.delimiters.c_str()));
    input.text = rest.substr(count);
    input.text.resize(std::strlen(input.text.c_str()));
    return input;
}

// Source bytes of 0x80 and above never match: they are sign-extended.
bool is_delimiter(const std::string& delimiters, char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value != 0 && value < 0x80 && delimiters.find(byte) != std::string::npos;
}

bool holds_delimiter(const std::string& piece, const std::string& delimiters) {
    return std::any_of(piece.begin(), piece.end(),
                       [&](char byte) { return is_delimiter(delimiters, byte); });
}

const char* skip_run(const char* position, const std::string& delimiters) {
    while (is_delimiter(delimiters, *position)) ++position;
    return position;
}

void check_find_char(const ExactText& text, int value) {
    const int found = quorvel::find_char(text.begin(), value);
    const char* expected = text.begin();
    while (expected < text.end() && static_cast<unsigned char>(*expected) != value) ++expected;
    if (value == 0 || expected == text.end())
        FUZZ_CHECK(found == -1);
    else
        FUZZ_CHECK(found == expected - text.begin());
}

// A token cut at `start`: it is the text there, fits the limit, holds no
// delimiter, and `next` is where the rules say the next call goes on.
void check_piece(const std::string& piece, const char* start, const char* next,
                 const Input& input, const ExactText& text) {
    FUZZ_CHECK(piece.size() <= static_cast<std::size_t>(input.limit));
    FUZZ_CHECK(piece.compare(0, std::string::npos, start, piece.size()) == 0);
    FUZZ_CHECK(!holds_delimiter(piece, input.delimiters));
    const char* after = start + piece.size();
    if (piece.size() == static_cast<std::size_t>(input.limit) || *after == '\0')
        FUZZ_CHECK(next == after);
    else
        FUZZ_CHECK(is_delimiter(input.delimiters, *after) &&
                   next == skip_run(after, input.delimiters));
    FUZZ_CHECK(next <= text.end());
}

void check_next_token(const Input& input, const ExactText& text, const char* delimiters) {
    std::string tokens;
    std::string token = "untouched";
    for (const char* position = text.begin();;) {
        const char* start = skip_run(position, input.delimiters);
        const char* next = quorvel::next_token(token, position, delimiters, input.limit);
        if (*start == '\0') {
            FUZZ_CHECK(next == nullptr && token.empty());
            break;
        }
        FUZZ_CHECK(next != nullptr);
        if (input.limit <= 0) {
            FUZZ_CHECK(next == start && token.empty());
            return;
        }
        check_piece(token, start, next, input, text);
        FUZZ_CHECK(next > position);
        tokens += token;
        position = next;
    }
    std::string expected;
    for (const char* p = text.begin(); p < text.end(); ++p)
        if (!is_delimiter(input.delimiters, *p)) expected += *p;
    FUZZ_CHECK(tokens == expected);
}

// split_at takes every byte of the set, high ones too, and cuts nothing:
// the pieces, each followed by one separator but the last, are the text.
void check_split_at(const Input& input) {
    const std::vector<std::string> pieces =
        quorvel::split_at(input.text, input.delimiters.c_str());
    FUZZ_CHECK(!pieces.empty());
    std::size_t at = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        FUZZ_CHECK(input.text.compare(at, pieces[i].size(), pieces[i]) == 0);
        FUZZ_CHECK(pieces[i].find_first_of(input.delimiters) == std::string::npos);
        at += pieces[i].size();
        if (i + 1 == pieces.size()) break;
        FUZZ_CHECK(at < input.text.size() &&
                   input.delimiters.find(input.text[at]) != std::string::npos);
        ++at;
    }
    FUZZ_CHECK(at == input.text.size());
}

void check_null_sources(const char* delimiters, int limit) {
    std::string untouched = "untouched";
    FUZZ_CHECK(quorvel::next_token(untouched, nullptr, delimiters, limit) == nullptr);
    FUZZ_CHECK(untouched == "untouched");
    FUZZ_CHECK(quorvel::find_char(nullptr, 'a') == -1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Input input = parse(data, size);
    const ExactText text(input.text);
    const ExactText delimiters(input.delimiters);
    for (int value : {0, 256, -1, size > 0 ? int{data[size - 1]} : 'a',
                      size > 0 ? int{static_cast<std::int8_t>(data[size - 1])} : 'a'})
        check_find_char(text, value);
    check_next_token(input, text, delimiters.begin());
    check_split_at(input);
    check_null_sources(delimiters.begin(), input.limit);
    return 0;
}
