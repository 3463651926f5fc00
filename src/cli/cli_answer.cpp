// SPDX-License-Identifier: MIT
#include "cli/cli_answer.h"

#include "cli/json_text.h"
#include "cli/shown_text.h"

namespace pelmora {

namespace {
std::string Joined(const std::vector<std::string>& parts, const std::string& between) {
    std::string joined;
    for (const std::string& part : parts) {
        if (!joined.empty()) joined += between;
        joined += part;
    }
    return joined;
}

std::string PointMembers(ScreenPoint point) {
    return "\"x\":" + std::to_string(point.x) + ",\"y\":" + std::to_string(point.y);
}

std::string Shown(const std::string& text, CliShown shown) {
    return shown == CliShown::kEscaped ? ShownText(text, true) : text;
}

// The field's lines in plain output, each ending with a line feed.
std::string PlainLines(const CliField& field) {
    struct Lines {
        const CliField& field;
        std::string operator()(const CliNumber& number) const { return field.caption + number.digits + "\n"; }
        std::string operator()(const std::string& text) const {
            return field.caption + Shown(text, field.shown) + "\n";
        }
        std::string operator()(const CliNumbers& numbers) const {
            return field.caption + Joined(numbers.digits, ",") + "\n";
        }
        std::string operator()(const CliTexts& texts) const {
            std::string lines;
            for (const std::string& text : texts.texts) lines += field.caption + Shown(text, field.shown) + "\n";
            return lines;
        }
        std::string operator()(ScreenPoint point) const { return field.caption + PointText(point) + "\n"; }
        std::string operator()(const ScreenRegion& region) const { return field.caption + RegionText(region) + "\n"; }
    };
    return std::visit(Lines{field}, field.value);
}

// The field as the members of a JSON object: "name":value, or a point's "x":..,"y":...
std::string JsonMembers(const CliField& field) {
    const std::string name = JsonString(field.name) + ":";
    struct Members {
        const std::string& name;
        std::string operator()(const CliNumber& number) const { return name + number.digits; }
        std::string operator()(const std::string& text) const { return name + JsonString(text); }
        std::string operator()(const CliNumbers& numbers) const {
            return name + "[" + Joined(numbers.digits, ",") + "]";
        }
        std::string operator()(const CliTexts& texts) const {
            std::vector<std::string> quoted;
            quoted.reserve(texts.texts.size());
            for (const std::string& text : texts.texts) quoted.push_back(JsonString(text));
            return name + "[" + Joined(quoted, ",") + "]";
        }
        std::string operator()(ScreenPoint point) const { return PointMembers(point); }
        std::string operator()(const ScreenRegion& region) const {
            return "\"left\":" + std::to_string(region.left) + ",\"top\":" + std::to_string(region.top) +
                   ",\"width\":" + std::to_string(region.width) + ",\"height\":" + std::to_string(region.height);
        }
    };
    return std::visit(Members{name}, field.value);
}
}  // namespace

std::string PointText(ScreenPoint point) { return std::to_string(point.x) + "," + std::to_string(point.y); }

std::string RegionText(const ScreenRegion& region) {
    return std::to_string(region.left) + "," + std::to_string(region.top) + "," + std::to_string(region.width) + "," +
           std::to_string(region.height);
}

CliNumber Number(std::int64_t value) { return {std::to_string(value)}; }

std::string AnswerText(const std::vector<CliField>& fields, bool json) {
    if (json) {
        std::vector<std::string> members;
        members.reserve(fields.size());
        for (const CliField& field : fields) members.push_back(JsonMembers(field));
        return "{" + Joined(members, ",") + "}\n";
    }
    std::string text;
    for (const CliField& field : fields)
        if (field.shown != CliShown::kNo) text += PlainLines(field);
    return text;
}

std::string PlaceInList(const std::vector<CliField>& place, bool json, bool first) {
    std::string text = AnswerText(place, json);
    if (!json) return text;
    text.pop_back();  // the object's line feed: the list goes on
    return (first ? "{\"points\":[" : ",") + text;
}

std::string PlaceListEnd(bool json) { return json ? "]}\n" : ""; }

}  // namespace pelmora
