// SPDX-License-Identifier: MIT
// libFuzzer target for what the clipboard's paste buttons make of a pasted text. Whatever
// the bytes: a coordinate pair comes out exactly when the text holds one comma, and then its
// x and y are the texts before and after that comma without the spaces at their ends; a
// handle comes out exactly when the leading number is finite, written as a number that reads
// back as that number (whole numbers below 10^15 exactly, digits only; others to fifteen
// significant digits) and that pastes again as the same text. Any broken promise aborts,
// which libFuzzer reports.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "base/number_text.h"
#include "records/clipboard_paste.h"

namespace {

std::string WithoutEndSpaces(std::string_view piece) {
    std::size_t begin = 0;
    std::size_t end = piece.size();
    while (begin < end && piece[begin] == ' ') ++begin;
    while (end > begin && piece[end - 1] == ' ') --end;
    return std::string(piece.substr(begin, end - begin));
}

void CheckPoint(std::string_view text) {
    const std::optional<pelmora::PointTexts> point = pelmora::PointFromPastedText(text);
    if (std::count(text.begin(), text.end(), ',') != 1) {
        if (point) std::abort();
        return;
    }
    const std::size_t comma = text.find(',');
    const pelmora::PointTexts expected{WithoutEndSpaces(text.substr(0, comma)),
                                       WithoutEndSpaces(text.substr(comma + 1))};
    if (point != expected) std::abort();
}

void CheckHandle(std::string_view text) {
    const std::optional<std::string> handle = pelmora::HandleFromPastedText(text);
    const double leading = pelmora::ParseLeadingNumber(text);
    if (handle.has_value() != std::isfinite(leading)) std::abort();
    if (!handle) return;

    const std::optional<double> readBack = pelmora::ParseStrictNumber(*handle);
    if (!readBack) std::abort();
    if (leading == std::trunc(leading) && std::fabs(leading) < 1e15) {
        if (*readBack != leading || handle->find_first_not_of("-0123456789") != std::string::npos) std::abort();
    } else {
        // Half a unit of the fifteenth significant digit, and the rounding of that text read
        // back into a double.
        const double tolerance = (5e-15 + std::numeric_limits<double>::epsilon()) * std::fabs(leading) +
                                 std::numeric_limits<double>::denorm_min();
        if (!(std::fabs(*readBack - leading) <= tolerance)) std::abort();
    }
    if (pelmora::HandleFromPastedText(*handle) != handle) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The fuzzer's own buffer, exactly as long as the input: a read past its end is seen.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckPoint(text);
    CheckHandle(text);
    return 0;
}
