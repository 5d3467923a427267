#include "engine/mask.h"

#include <cctype>

namespace tarnwell {

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

std::string MaskError(std::string_view mask, size_t position) {
    return "'" + std::string(mask) + "' is an invalid mask at (" + std::to_string(position) + ")";
}

}  // namespace

bool TMask::Token::Accepts(char c) const {
    switch (kind) {
        case Kind::Literal: return Upper(c) == literal;
        case Kind::AnyChar: return true;
        case Kind::Set: {
            const char u = Upper(c);
            bool inside = false;
            for (const auto& [low, high] : ranges) inside = inside || (u >= low && u <= high);
            return inside != negated;
        }
        case Kind::End: return false;
    }
    return false;
}

TMask::Compiled TMask::Compile(std::string_view text) {
    TMask mask;
    mask.text_ = std::string(text);
    bool star = false;
    int starPositions = 0;
    size_t i = 0;
    auto addToken = [&](Token token, size_t position) -> std::optional<std::string> {
        token.afterStar = star;
        if (star && ++starPositions > kMaxStarPositions) return MaskError(text, position);
        star = false;
        mask.tokens_.push_back(std::move(token));
        return std::nullopt;
    };
    while (i < text.size()) {
        const char c = text[i];
        const size_t position = i + 1;
        if (c == '*') {
            star = true;
            ++i;
            // A "?" right after "*" is absorbed by it.
            while (i < text.size() && (text[i] == '*' || text[i] == '?')) ++i;
            continue;
        }
        Token token{Kind::Literal, false, Upper(c), false, {}};
        if (c == '?') {
            token.kind = Kind::AnyChar;
            ++i;
        } else if (c == '[') {
            token.kind = Kind::Set;
            ++i;
            if (i < text.size() && text[i] == '!') {
                token.negated = true;
                ++i;
            }
            while (i < text.size() && text[i] != ']') {
                if (text[i] == '-') return {std::nullopt, MaskError(text, i + 1)};
                const char low = Upper(text[i]);
                char high = low;
                if (i + 2 < text.size() && text[i + 1] == '-' && text[i + 2] != ']') {
                    high = Upper(text[i + 2]);
                    i += 2;
                }
                token.ranges.emplace_back(low, high);
                ++i;
            }
            if (i >= text.size()) return {std::nullopt, MaskError(text, text.size() + 1)};
            if (token.ranges.empty()) return {std::nullopt, MaskError(text, i + 1)};
            ++i;  // the closing "]"
        } else {
            ++i;
        }
        if (auto error = addToken(std::move(token), position)) return {std::nullopt, *error};
    }
    if (star) {
        if (auto error = addToken(Token{Kind::End, false, 0, false, {}}, text.size())) return {std::nullopt, *error};
    }
    return {std::move(mask), {}};
}

// Each position takes exactly one character, so a star only needs to
// remember where to retry from: the latest star wins, and a mismatch lets
// it swallow one more character (no exponential backtracking).
bool TMask::Matches(std::string_view name) const {
    const size_t count = tokens_.size();
    size_t t = 0, n = 0;
    size_t starToken = std::string::npos, starName = 0;
    for (;;) {
        if (t < count && tokens_[t].afterStar && starToken != t) {
            if (tokens_[t].kind == Kind::End) return true;  // a trailing star takes the rest
            starToken = t;
            starName = n;
        }
        if (t < count && n < name.size() && tokens_[t].Accepts(name[n])) {
            ++t;
            ++n;
            continue;
        }
        if (t == count && n == name.size()) return true;
        if (starToken == std::string::npos || starName >= name.size()) return false;
        t = starToken;
        n = ++starName;
    }
}

bool MaskList::Matches(std::string_view name) const {
    for (const TMask& mask : masks)
        if (mask.Matches(name)) return true;
    return false;
}

MaskList ParseMaskList(std::string_view files) {
    MaskList list;
    std::string element;
    auto flush = [&]() -> bool {
        while (!element.empty() && element.back() == ' ') element.pop_back();
        if (element.empty()) return true;
        TMask::Compiled compiled = TMask::Compile(element);
        element.clear();
        if (!compiled.mask) {
            list.error = compiled.error;
            return false;
        }
        list.masks.push_back(std::move(*compiled.mask));
        return true;
    };
    for (char c : files) {
        if (c == ';') {
            if (!flush()) return list;
        } else if (c != ' ' || !element.empty()) {
            element += c;
        }
    }
    flush();
    return list;
}

}  // namespace tarnwell
