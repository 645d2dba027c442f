#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qavo {

// The 8-bit code page the console reads and writes names in (key names,
// group names): the host stores them as bytes, the console shows them as
// Unicode. A setting of the console, kept in the user profile. A small
// value: copy it freely, use it from any thread.
class CodePage {
  public:
    struct Choice {
        const char* id;     // the name stored in the profile and given to the converter
        const char* label;  // the text of its View menu entry
    };
    // The code pages the console offers (those the C library converts);
    // the first one is the default.
    static std::span<const Choice> Choices();
    static constexpr const char* kDefaultId = "windows-1252";

    // An unknown id falls back to the default; ids match in any case.
    explicit CodePage(std::string_view id = kDefaultId);

    const std::string& id() const { return id_; }

    // The bytes as UTF-8 text; a byte sequence the code page does not
    // define reads as U+FFFD, never as nothing.
    std::string Decode(std::string_view bytes) const;
    // The bytes of a stored name: those before its first NUL (all of them
    // when there is none).
    std::string DecodeName(std::span<const uint8_t> field) const;

    // UTF-8 text as bytes of the code page; nullopt when a character of the
    // text has no place in it, or the text is not UTF-8 (nothing is stored
    // as something else).
    std::optional<std::string> Encode(std::string_view utf8) const;
    // The first character (UTF-8) of `utf8` the code page cannot hold, or
    // empty when it holds them all. A byte that starts no UTF-8 character
    // is named as U+FFFD.
    std::string FirstUnencodable(std::string_view utf8) const;

    // Encoded text cut to at most `limit` bytes without splitting a
    // character of the code page.
    std::string Truncate(std::string_view encoded, size_t limit) const;

  private:
    std::string id_;
};

}  // namespace qavo
