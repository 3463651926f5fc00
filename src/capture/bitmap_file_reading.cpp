// SPDX-License-Identifier: MIT
#include "capture/bitmap_file_reading.h"

#include <algorithm>
#include <utility>

#include "capture/bitmap_file.h"

namespace pelmora {

namespace {
LoadedBitmap FileProblem(const FileStart& start) {
    return {std::nullopt,
            start.problem == FileStart::Problem::kNotAFile ? LoadedBitmap::Problem::kNotAFile
                                                           : LoadedBitmap::Problem::kUnreadable,
            {},
            start.reason};
}

LoadedBitmap NotReadable(std::string error, std::string englishError) {
    return {std::nullopt, LoadedBitmap::Problem::kNotReadable, std::move(error), std::move(englishError)};
}
}  // namespace

LoadedBitmap LoadBitmapFile(const std::function<FileStart(std::uint64_t maxBytes)>& readStart, std::int64_t maxPixels) {
    FileStart head = readStart(kBitmapHeadBytes);
    if (head.problem != FileStart::Problem::kNone) return FileProblem(head);
    const BitmapExtent extent = MeasureBitmapFile(head.bytes, head.size, maxPixels);
    if (extent.tooLarge) return {std::nullopt, LoadedBitmap::Problem::kTooLarge, extent.error, extent.englishError};
    if (extent.bytes == 0) return NotReadable(extent.error, extent.englishError);

    FileStart whole = extent.bytes <= head.bytes.size() ? std::move(head) : readStart(extent.bytes);
    if (whole.problem != FileStart::Problem::kNone) return FileProblem(whole);
    whole.bytes.resize(std::min<std::uint64_t>(whole.bytes.size(), extent.bytes));
    DecodedBitmap decoded = DecodeBitmap(whole.bytes, maxPixels);
    if (!decoded.picture) return NotReadable(std::move(decoded.error), std::move(decoded.englishError));
    return {std::move(decoded.picture), LoadedBitmap::Problem::kNone, {}, {}};
}

}  // namespace pelmora
