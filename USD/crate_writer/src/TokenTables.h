#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace usd::crate {

// The interned strings of a file, each stored once, indexed in the order they
// were first added.
class TokenTable {
  public:
    // Token 0 can never name a property in a path (properties are stored as
    // negated token indexes), so it is taken by text that is no property name.
    TokenTable() { add(";-)"); }

    std::uint32_t add(std::string_view text);
    const std::vector<std::string>& tokens() const { return tokens_; }

  private:
    std::vector<std::string> tokens_;
    std::unordered_map<std::string, std::uint32_t> indexes_;
};

// String values, dictionary keys and asset paths in arrays are stored as
// indexes into this table, whose entries are token indexes.
class StringTable {
  public:
    explicit StringTable(TokenTable& tokens) : tokens_(tokens) {}

    std::uint32_t add(std::string_view text);
    const std::vector<std::uint32_t>& tokenIndexes() const { return tokenIndexes_; }

  private:
    TokenTable& tokens_;
    std::vector<std::uint32_t> tokenIndexes_;
    std::unordered_map<std::uint32_t, std::uint32_t> byToken_;
};

} // namespace usd::crate
