// SPDX-License-Identifier: MIT
// The titles the soak run's churn client gives its windows: what other programs put into
// _NET_WM_NAME and WM_NAME in practice and in error. Long titles of several kilobytes,
// Chinese UTF-8, UTF-8 with ill-formed sequences, Latin-1 in WM_NAME, titles holding NUL
// bytes, and windows with no title at all. Drawn from a seeded generator, so that a run
// can be repeated.
#pragma once

#include <optional>
#include <random>
#include <string>

namespace pelmora::soak {

// The two title properties of one window; an empty optional means the property is
// deleted. _NET_WM_NAME is always typed UTF8_STRING, WM_NAME always STRING.
struct WindowTitles {
    std::optional<std::string> netWmName;
    std::optional<std::string> wmName;
};

class TitleGenerator {
public:
    explicit TitleGenerator(std::mt19937& random) : random_(random) {}
    WindowTitles Next();

private:
    std::string Chinese(std::size_t characters);
    std::string AsciiWords(std::size_t words);
    // Text of about bytes bytes mixing ASCII words, Chinese, 4-byte characters and
    // combining marks, so that every kind of character meets any cut point.
    std::string LongUtf8(std::size_t bytes);
    // Valid text with ill-formed UTF-8 sequences in between.
    std::string IllFormedUtf8();
    // Printable Latin-1 bytes, the upper half included.
    std::string Latin1(std::size_t bytes);
    std::size_t Between(std::size_t low, std::size_t high);

    std::mt19937& random_;
};

}  // namespace pelmora::soak
