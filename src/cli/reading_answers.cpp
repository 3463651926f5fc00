// SPDX-License-Identifier: MIT
#include "cli/reading_answers.h"

#include <vector>

#include "cli/cli_answer.h"
#include "cursor/feature_code.h"
#include "sampling/colour_forms.h"
#include "sampling/screen_reading.h"

namespace pelmora {

CliResult PixelAnswer(const CliRequest& request, Desktop& desktop) {
    const ScreenPoint point = PointOrPointer(desktop, request.point);
    const Colour colour = GetScreenPixel(desktop, point.x, point.y);
    if (colour == kColourNoPixel) return Refusal(kCliNotFound, "no screen pixel at " + PointText(point));
    const ColourForms forms = ColourFormsOf(colour);
    const ColourFormat format = request.format;
    const bool all = format == ColourFormat::All;
    auto shownFor = [all, format](ColourFormat own) { return all || format == own ? CliShown::kAsIs : CliShown::kNo; };
    const std::vector<CliField> fields{
        {"point", point},
        {"decimal", CliNumber{forms.decimal}, shownFor(ColourFormat::Decimal), all ? kDecimalCaption : ""},
        {"hex", forms.hex, shownFor(ColourFormat::Hex), all ? kHexCaption : ""},
        {"rgb", CliNumbers{{forms.red, forms.green, forms.blue}}, shownFor(ColourFormat::Rgb), all ? "RGB：" : ""},
        {"hsl", CliNumbers{{forms.hue, forms.saturation, forms.lightness}}, shownFor(ColourFormat::Hsl),
         all ? "HSL：" : ""},
    };
    return Answered(AnswerText(fields, request.json));
}

CliResult CursorCodeAnswer(const CliRequest& request, Desktop& desktop) {
    const std::uint32_t code = CursorFeatureCode(desktop, request.method);
    return Answered(
        AnswerText({{"method", Number(request.method)}, {"code", Number(code), CliShown::kAsIs}}, request.json));
}

}  // namespace pelmora
