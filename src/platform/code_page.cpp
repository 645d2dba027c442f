#include "platform/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace qavo {
namespace {

// U+FFFD REPLACEMENT CHARACTER, in UTF-8.
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// What the console can offer, in menu order; Choices() keeps those the C
// library converts.
constexpr CodePage::Choice kCandidates[] = {
    {CodePage::kDefaultId, "Western European (Windows-1252)"},
    {"gbk", "Chinese Simplified (GBK)"},
    {"big5", "Chinese Traditional (Big5)"},
    {"shift_jis", "Japanese (Shift-JIS)"},
    {"windows-1251", "Cyrillic (Windows-1251)"},
};

// One conversion descriptor for one call. A descriptor carries conversion
// state, so it is never shared: every call opens its own, and a CodePage
// can be copied and used from any thread.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts what it can of [*in, *in + *left) and appends it to `out`.
    // 0 when all of it was converted, else the errno that stopped it
    // (EILSEQ or EINVAL), with *in at the sequence that stopped it.
    int Run(char** in, size_t* left, std::string& out) {
        char buffer[256];
        while (true) {
            char* o = buffer;
            size_t room = sizeof buffer;
            const size_t r = iconv(cd_, in, left, &o, &room);
            out.append(buffer, static_cast<size_t>(o - buffer));
            if (r != static_cast<size_t>(-1)) return 0;
            if (errno != E2BIG) return errno;
        }
    }
    // Ends the output in the initial shift state; false when it cannot.
    bool Flush(std::string& out) {
        char buffer[16];
        char* o = buffer;
        size_t room = sizeof buffer;
        const size_t r = iconv(cd_, nullptr, nullptr, &o, &room);
        out.append(buffer, static_cast<size_t>(o - buffer));
        return r != static_cast<size_t>(-1);
    }
    void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

  private:
    iconv_t cd_;
};

bool SameId(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool Converts(const char* id) {
    return Converter("UTF-8", id).ok() && Converter(id, "UTF-8").ok();
}

// The length of the UTF-8 character that `text` starts with (1 for a byte
// that starts none), and whether it is a well-formed character.
size_t Utf8CharLength(std::string_view text, bool* valid) {
    const auto lead = static_cast<unsigned char>(text[0]);
    size_t length = 1;
    uint32_t code = lead;
    uint32_t least = 0;
    if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07u, least = 0x10000;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0Fu, least = 0x800;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1Fu, least = 0x80;
    } else {
        *valid = lead < 0x80;
        return 1;
    }
    for (size_t i = 1; i < length; ++i) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            *valid = false;
            return i;
        }
        code = (code << 6) | (static_cast<unsigned char>(text[i]) & 0x3Fu);
    }
    *valid = code >= least && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
    return length;
}

// Without a converter for the code page (a C library without its tables),
// only ASCII reads and writes as itself.
std::string DecodeAscii(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x80) {
            out += c;
        } else {
            out += kReplacement;
        }
    }
    return out;
}

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

}  // namespace

std::span<const CodePage::Choice> CodePage::Choices() {
    static const std::vector<Choice> choices = [] {
        std::vector<Choice> found;
        for (const Choice& c : kCandidates) {
            // The default is always offered: it is what every profile falls back to.
            if (found.empty() || Converts(c.id)) found.push_back(c);
        }
        return found;
    }();
    return choices;
}

CodePage::CodePage(std::string_view id) : id_(kDefaultId) {
    for (const Choice& c : Choices()) {
        if (SameId(c.id, id)) id_ = c.id;
    }
}

std::string CodePage::Decode(std::string_view bytes) const {
    Converter converter("UTF-8", id_.c_str());
    if (!converter.ok()) return DecodeAscii(bytes);
    std::string out;
    out.reserve(bytes.size());
    char* in = const_cast<char*>(bytes.data());
    size_t left = bytes.size();
    while (left > 0) {
        if (converter.Run(&in, &left, out) == 0) break;
        // A byte sequence the code page does not define (EILSEQ), or a
        // character cut off by the end of the bytes (EINVAL): its first
        // byte reads as U+FFFD and reading goes on after it.
        out += kReplacement;
        ++in;
        --left;
        converter.Reset();
    }
    converter.Flush(out);
    return out;
}

std::string CodePage::DecodeName(std::span<const uint8_t> field) const {
    size_t length = 0;
    while (length < field.size() && field[length] != 0)
        ++length;
    return Decode(std::string_view(reinterpret_cast<const char*>(field.data()), length));
}

std::optional<std::string> CodePage::Encode(std::string_view utf8) const {
    Converter converter(id_.c_str(), "UTF-8");
    if (!converter.ok()) {
        if (!IsAscii(utf8)) return std::nullopt;
        return std::string(utf8);
    }
    std::string out;
    out.reserve(utf8.size());
    char* in = const_cast<char*>(utf8.data());
    size_t left = utf8.size();
    // No transliteration: a character without a place in the code page
    // (or a byte that is not UTF-8) fails the whole text.
    if (converter.Run(&in, &left, out) != 0) return std::nullopt;
    if (!converter.Flush(out)) return std::nullopt;
    return out;
}

std::string CodePage::FirstUnencodable(std::string_view utf8) const {
    // Character by character: the one that fails is known exactly.
    Converter converter(id_.c_str(), "UTF-8");
    std::string scratch;
    size_t at = 0;
    while (at < utf8.size()) {
        bool valid = false;
        const size_t length = Utf8CharLength(utf8.substr(at), &valid);
        const std::string_view character = utf8.substr(at, length);
        if (!valid) return std::string(kReplacement);
        bool held;
        if (converter.ok()) {
            char* in = const_cast<char*>(character.data());
            size_t left = character.size();
            held = converter.Run(&in, &left, scratch) == 0;
            converter.Reset();
        } else {
            held = IsAscii(character);
        }
        if (!held) return std::string(character);
        at += length;
    }
    return {};
}

std::string CodePage::Truncate(std::string_view encoded, size_t limit) const {
    if (encoded.size() <= limit) return std::string(encoded);
    Converter converter("UTF-8", id_.c_str());
    if (!converter.ok()) return std::string(encoded.substr(0, limit));
    // Reads the first `limit` bytes: the converter stops before a character
    // that the limit cuts in two.
    char* const begin = const_cast<char*>(encoded.data());
    char* in = begin;
    size_t left = limit;
    std::string scratch;
    while (left > 0) {
        const int stopped = converter.Run(&in, &left, scratch);
        if (stopped == 0 || stopped == EINVAL) break;
        // A byte that starts no character counts as one, as Decode shows it.
        ++in;
        --left;
        converter.Reset();
    }
    return std::string(begin, static_cast<size_t>(in - begin));
}

}  // namespace qavo
