#pragma once
// Wildcard masks for file names: "*" any run, "?" one character, "[a-z]"
// and "[!0-9]" sets; ASCII letters match without regard to case, and the
// whole name must match. Portable: no Windows headers.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

class TMask {
public:
    // The compiled mask, or the error text "'<mask>' is an invalid mask at (<position>)".
    struct Compiled;
    static Compiled Compile(std::string_view mask);

    bool Matches(std::string_view name) const;
    const std::string& Text() const { return text_; }

    // A mask may hold at most this many positions that follow a "*".
    static constexpr int kMaxStarPositions = 30;

private:
    enum class Kind { Literal, AnyChar, Set, End };
    struct Token {
        Kind kind;
        bool afterStar;      // a run of "*" stands before this position
        char literal;        // upper-cased
        bool negated;
        std::vector<std::pair<char, char>> ranges;  // upper-cased, inclusive
        bool Accepts(char c) const;
    };

    std::string text_;
    std::vector<Token> tokens_;
};

struct TMask::Compiled {
    std::optional<TMask> mask;
    std::string error;
};

struct MaskList {
    std::vector<TMask> masks;
    std::string error;  // non-empty when an element is not a valid mask
    bool Matches(std::string_view name) const;
};

// Splits a list on ";": leading blanks of an element are dropped, trailing
// ones removed; an empty element adds nothing. Compilation stops at the
// first invalid element.
MaskList ParseMaskList(std::string_view files);

}  // namespace tarnwell
