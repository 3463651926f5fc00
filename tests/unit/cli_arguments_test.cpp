// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <initializer_list>

#include "base/version.h"
#include "cli/argument_values.h"
#include "cli/cli_arguments.h"
#include "cli/cli_command.h"

using namespace pelmora;

namespace {
CliRequest Parsed(std::initializer_list<std::string> args) {
    const auto parsed = ParseCliArguments(args);
    if (const auto* result = std::get_if<CliResult>(&parsed)) {
        ADD_FAILURE() << "refused: " << result->err;
        return {};
    }
    return std::get<CliRequest>(parsed);
}

// The message of a refused command line; fails the test unless the status is 2 and
// nothing went to standard output.
std::string Refusal(std::initializer_list<std::string> args) {
    const auto parsed = ParseCliArguments(args);
    const auto* result = std::get_if<CliResult>(&parsed);
    if (!result) {
        ADD_FAILURE() << "accepted";
        return {};
    }
    EXPECT_EQ(result->status, 2);
    EXPECT_EQ(result->out, "");
    return result->err;
}
}  // namespace

TEST(CliArguments, CommandsWithTheirOperandsAndOptions) {
    const CliRequest pixel = Parsed({"pixel", "-5", "12", "--format", "hsl"});
    EXPECT_EQ(pixel.command->name, "pixel");
    EXPECT_EQ(pixel.point, (ScreenPoint{-5, 12}));  // a negative coordinate is no option
    EXPECT_EQ(pixel.format, ColourFormat::Hsl);
    EXPECT_FALSE(pixel.json);

    const CliRequest atPointer = Parsed({"--json", "pixel", "--format=dec"});
    EXPECT_FALSE(atPointer.point.has_value());
    EXPECT_EQ(atPointer.format, ColourFormat::Decimal);
    EXPECT_TRUE(atPointer.json);
    EXPECT_EQ(Parsed({"pixel"}).format, ColourFormat::Hex);

    EXPECT_EQ(Parsed({"window-at", "0", "7"}).point, (ScreenPoint{0, 7}));
    const CliRequest window = Parsed({"window", "-2147483648"});
    EXPECT_EQ(window.command->name, "window");
    EXPECT_EQ(window.handle, -2147483648);

    EXPECT_FALSE(Parsed({"windows"}).search.has_value());
    EXPECT_EQ(Parsed({"windows", "--search", "--json"}).search, "--json");  // the value, not the flag
    EXPECT_EQ(Parsed({"windows", "--search="}).search, "");
    EXPECT_EQ(Parsed({"cursor-code", "--method", "2"}).method, 2);
    EXPECT_EQ(Parsed({"cursor-code"}).method, 0);
    EXPECT_EQ(Parsed({"pointer", "--json"}).command->name, "pointer");
}

TEST(CliArguments, HelpAndVersionNeedNoCommandAndWinOverBadArguments) {
    for (const auto& args : {std::vector<std::string>{"--help"}, {"pixel", "x", "-h"}, {"--version"}}) {
        const auto parsed = ParseCliArguments(args);
        const auto* result = std::get_if<CliResult>(&parsed);
        ASSERT_NE(result, nullptr) << args.front();
        EXPECT_EQ(result->status, 0);
        EXPECT_EQ(result->err, "");
        EXPECT_FALSE(result->out.empty());
    }
    const auto version = ParseCliArguments({"--version"});
    EXPECT_TRUE(std::get<CliResult>(version).out.starts_with("pelmora-cli 3."));
}

TEST(CliArguments, EachBadArgumentIsNamedWithWhatItWanted) {
    EXPECT_NE(Refusal({}).find("wants a command"), std::string::npos);
    EXPECT_NE(Refusal({"pixels"}).find("unknown command \"pixels\""), std::string::npos);
    EXPECT_NE(Refusal({"pixel", "3"}).find("wants X and Y"), std::string::npos);
    EXPECT_NE(Refusal({"pixel", "1", "2", "3"}).find("extra \"3\""), std::string::npos);
    EXPECT_NE(Refusal({"pixel", "1.5", "2"}).find("X: wants a whole number"), std::string::npos);
    EXPECT_NE(Refusal({"pixel", "1", "2147483648"}).find("Y: wants a whole number"), std::string::npos);
    EXPECT_NE(Refusal({"window-at", "a", "2"}).find("X:"), std::string::npos);
    EXPECT_NE(Refusal({"window"}).find("wants HANDLE"), std::string::npos);
    EXPECT_NE(Refusal({"window", "0x12"}).find("HANDLE: wants a window handle in decimal, got \"0x12\""),
              std::string::npos);
    EXPECT_NE(Refusal({"window", "1", "2"}).find("extra \"2\""), std::string::npos);
    EXPECT_NE(Refusal({"pointer", "5"}).find("takes no operand"), std::string::npos);
    EXPECT_NE(Refusal({"pixel", "--format", "HEX"}).find("--format: wants dec, hex, rgb, hsl or all"),
              std::string::npos);
    EXPECT_NE(Refusal({"pixel", "--format"}).find("--format: wants a value"), std::string::npos);
    EXPECT_NE(Refusal({"cursor-code", "--method", "3"}).find("--method: wants 0, 1 or 2"), std::string::npos);
    EXPECT_NE(Refusal({"cursor-code", "--method", "-1"}).find("--method"), std::string::npos);
    EXPECT_NE(Refusal({"windows", "--format", "hex"}).find("--format: not an option of windows"), std::string::npos);
    EXPECT_NE(Refusal({"pixel", "--search", "a"}).find("--search: not an option of pixel"), std::string::npos);
    EXPECT_NE(Refusal({"pixel", "--tolerance", "3"}).find("--tolerance: not an option of pixel"), std::string::npos);
    EXPECT_NE(Refusal({"pixel", "--colour", "3"}).find("unknown option \"--colour\""), std::string::npos);
    EXPECT_NE(Refusal({"pointer", "--json=1"}).find("--json: takes no value"), std::string::npos);
    EXPECT_NE(Refusal({"pixel", "--client"}).find("--client: only with a window"), std::string::npos);
    EXPECT_NE(Refusal({"pixel", "--window", "1", "--title", "a"}).find("--title: picks the window instead"),
              std::string::npos);
    EXPECT_NE(Refusal({"window-rect", "5", "--title", "a"}).find("--title: picks the window instead"),
              std::string::npos);
    EXPECT_NE(Refusal({"wait-cursor", "1", "--window", "1"}).find("--window: not an option"), std::string::npos);
    for (const std::string& message : {Refusal({"pixel", "z", "1"}), Refusal({"frob"})})
        EXPECT_TRUE(message.starts_with("pelmora-cli: ") && message.ends_with("\n")) << message;
}

TEST(CliArguments, SearchCommandsWithTheirOptions) {
    const CliRequest colour = Parsed({"find-colour", "#FF0000", "--region", "-5,0,10,20", "--tolerance=8", "--all"});
    EXPECT_EQ(colour.command->name, "find-colour");
    EXPECT_EQ(colour.colour, 255);
    EXPECT_EQ(colour.region, (ScreenRegion{-5, 0, 10, 20}));
    EXPECT_EQ(colour.tolerance, 8);
    EXPECT_TRUE(colour.all);
    const CliRequest image = Parsed({"find-image", "a b.bmp", "c.bmp", "--transparent", "FFFFFF"});
    EXPECT_EQ(image.pictures, (std::vector<std::string>{"a b.bmp", "c.bmp"}));
    EXPECT_EQ(image.transparent, 0xFFFFFF);
    EXPECT_FALSE(image.region.has_value());
    EXPECT_EQ(image.tolerance, 0);
    EXPECT_FALSE(image.all);
}

TEST(CliArguments, BadSearchArgumentsAreNamedWithWhatTheyWanted) {
    EXPECT_NE(Refusal({"find-colour"}).find("find-colour: wants COLOUR"), std::string::npos);
    EXPECT_NE(Refusal({"find-colour", "FF0000", "x"}).find("extra \"x\""), std::string::npos);
    EXPECT_NE(
        Refusal({"find-colour", "red"}).find("COLOUR: wants six hexadecimal digits (BGR) or #RRGGBB, got \"red\""),
        std::string::npos);
    EXPECT_NE(Refusal({"find-colour", "FF0000", "--region", "1,2,0,4"}).find("--region: wants L,T,W,H"),
              std::string::npos);
    EXPECT_NE(
        Refusal({"find-image", "a.bmp", "--tolerance", "256"}).find("--tolerance: wants a whole number from 0 to 255"),
        std::string::npos);
    EXPECT_NE(Refusal({"find-image", "a.bmp", "--transparent", "#FFF"}).find("--transparent: wants six"),
              std::string::npos);
    EXPECT_NE(Refusal({"find-colour", "FF0000", "--transparent", "FFFFFF"}).find("not an option of find-colour"),
              std::string::npos);
    EXPECT_NE(Refusal({"find-colour", "FF0000", "--all=yes"}).find("--all: takes no value"), std::string::npos);
    EXPECT_NE(Refusal({"find-image"}).find("find-image: wants FILE"), std::string::npos);
    EXPECT_NE(Refusal({"find-image", "a", ""}).find("FILE: wants a file name"), std::string::npos);
    EXPECT_NE(Refusal({"pixel", "--all"}).find("--all: not an option of pixel"), std::string::npos);
}

TEST(CliArguments, SnapshotWithItsOptions) {
    const CliRequest snapshot = Parsed({"snapshot", "--rect", "-1,2,16384,4", "--cursor", "out.bmp"});
    EXPECT_EQ(snapshot.command->name, "snapshot");
    EXPECT_EQ(snapshot.region, (ScreenRegion{-1, 2, 16384, 4}));
    EXPECT_TRUE(snapshot.cursor);
    EXPECT_EQ(snapshot.file, "out.bmp");
    EXPECT_FALSE(Parsed({"snapshot", "out.bmp"}).cursor);
    EXPECT_NE(Refusal({"snapshot"}).find("snapshot: wants FILE"), std::string::npos);
    EXPECT_NE(Refusal({"snapshot", "a", "b"}).find("extra \"b\""), std::string::npos);
    EXPECT_NE(Refusal({"snapshot", "--rect", "0,0,16385,1", "a"}).find("--rect: wants L,T,W,H"), std::string::npos);
    EXPECT_NE(Refusal({"snapshot", "--rect", "0,0,1", "a"}).find("--rect"), std::string::npos);
    EXPECT_NE(Refusal({"snapshot", "--region", "0,0,1,1", "a"}).find("--region: not an option of snapshot"),
              std::string::npos);
    EXPECT_NE(Refusal({"find-colour", "FF0000", "--cursor"}).find("--cursor: not an option of find-colour"),
              std::string::npos);
}

TEST(CliArguments, WaitsWithTheirOperandsAndOptions) {
    const CliRequest colour = Parsed({"wait-colour", "-3", "4", "#00FF00", "--timeout", "0", "--interval=1"});
    EXPECT_EQ(colour.command->name, "wait-colour");
    EXPECT_EQ(colour.point, (ScreenPoint{-3, 4}));
    EXPECT_EQ(colour.colour, 0x00FF00);
    EXPECT_EQ(colour.timeoutMs, 0u);
    EXPECT_EQ(colour.intervalMs, 1u);
    const CliRequest image = Parsed({"wait-image", "a.bmp", "--region", "0,0,9,9", "--transparent", "FFFFFF"});
    EXPECT_EQ(image.timeoutMs, 10000u);
    EXPECT_EQ(image.intervalMs, 50u);
    EXPECT_EQ(image.transparent, 0xFFFFFF);
    const CliRequest cursor = Parsed({"wait-cursor", "2147483647", "--method", "2"});
    EXPECT_EQ(cursor.code, 2147483647u);
    EXPECT_EQ(cursor.method, 2);
    EXPECT_NE(Refusal({"wait-cursor", "2147483648"}).find("from 0 to 2147483647"), std::string::npos);

    EXPECT_NE(Refusal({"wait-colour", "1", "2"}).find("wait-colour: wants X, Y and COLOUR"), std::string::npos);
    EXPECT_NE(Refusal({"wait-colour", "1", "2", "FF", "x"}).find("extra \"x\""), std::string::npos);
    EXPECT_NE(Refusal({"wait-colour", "1", "b", "FF0000"}).find("Y: wants a whole number"), std::string::npos);
    EXPECT_NE(Refusal({"wait-colour", "1", "2", "FF00"}).find("COLOUR: wants six"), std::string::npos);
    EXPECT_NE(Refusal({"wait-cursor", "4294967296"}).find("CODE: wants a feature code"), std::string::npos);
    EXPECT_NE(Refusal({"wait-cursor", "-1"}).find("CODE:"), std::string::npos);
    EXPECT_NE(Refusal({"wait-cursor", "1e3"}).find("CODE:"), std::string::npos);
    EXPECT_NE(Refusal({"wait-cursor"}).find("wait-cursor: wants CODE"), std::string::npos);
    EXPECT_NE(Refusal({"wait-image", "a", "--timeout", "-1"}).find("--timeout: wants milliseconds"), std::string::npos);
    EXPECT_NE(Refusal({"wait-image", "a", "--timeout", "2147483648"}).find("--timeout"), std::string::npos);
    EXPECT_NE(
        Refusal({"wait-image", "a", "--interval", "0"}).find("--interval: wants milliseconds, a whole number from 1"),
        std::string::npos);
    EXPECT_NE(Refusal({"wait-image", "a", "--all"}).find("--all: not an option of wait-image"), std::string::npos);
    EXPECT_NE(Refusal({"wait-colour", "1", "2", "FF0000", "--region", "0,0,1,1"}).find("--region: not an option"),
              std::string::npos);
    EXPECT_NE(Refusal({"find-image", "a", "--timeout", "5"}).find("--timeout: not an option of find-image"),
              std::string::npos);
}

TEST(CliValues, ColourIsSixDigitsInBlueGreenRedOrOnTheWebInRedGreenBlue) {
    EXPECT_EQ(ParseColourArgument("0000FF"), 255);  // red, as the window writes it
    EXPECT_EQ(ParseColourArgument("#FF0000"), 255);
    EXPECT_EQ(ParseColourArgument("#123456"), 0x563412);
    EXPECT_EQ(ParseColourArgument("123456"), 0x123456);
    EXPECT_EQ(ParseColourArgument("abcdef"), 0xABCDEF);
    EXPECT_EQ(ParseColourArgument("#ffffff"), 16777215);
    for (const char* bad : {"", "#", "FF", "0000FF0", "#0000F", "##00FF00", "12345G", "#12345G", " 0000FF", "-00001"})
        EXPECT_FALSE(ParseColourArgument(bad).has_value()) << bad;
}

TEST(CliValues, ToleranceIsAWholeNumberFrom0To255) {
    EXPECT_EQ(ParseToleranceArgument("0"), 0);
    EXPECT_EQ(ParseToleranceArgument("255"), 255);
    for (const char* bad : {"", "-1", "256", "2.5", "ten", "1e9"})
        EXPECT_FALSE(ParseToleranceArgument(bad).has_value()) << bad;
}

TEST(CliValues, RegionIsFourNumbersWithAPositiveSize) {
    EXPECT_EQ(ParseRegionArgument("-10,-20,30,40"), (ScreenRegion{-10, -20, 30, 40}));
    EXPECT_EQ(ParseRegionArgument("0,0,1,1"), (ScreenRegion{0, 0, 1, 1}));
    for (const char* bad : {"", "1,2,3", "1,2,3,4,5", "1,2,0,4", "1,2,3,-4", "1,,3,4", "1,2,3,4,", "a,2,3,4"})
        EXPECT_FALSE(ParseRegionArgument(bad).has_value()) << bad;
}

TEST(CliValues, DecimalsAreTheNearestDoubleAndSlotListsKeepTheirOrder) {
    // Each the double a C++ literal gives, so a scale prints back as it was written.
    EXPECT_EQ(ParseScalesArgument("0.667,1.1,.95,4"), (std::vector<double>{0.667, 1.1, 0.95, 4}));
    EXPECT_EQ(ParseSimilarityArgument("0.9"), 0.9);
    EXPECT_FALSE(ParseDecimalArgument("1234567890.123456").has_value());  // beyond 15 digits
    EXPECT_EQ(ParseSlotListArgument("3,1-2,10"), (std::vector<int>{3, 1, 2, 10}));
    for (const char* bad : {"", "0", "11", "2-1", "1,1-3", "1,", "1-", "a"})
        EXPECT_FALSE(ParseSlotListArgument(bad).has_value()) << bad;
}

TEST(CliArguments, OperandsAfterTheEndOfOptionsAndTheFilesNoCommandCanTake) {
    EXPECT_EQ(Parsed({"pixel", "--", "-5", "10"}).point, (ScreenPoint{-5, 10}));
    EXPECT_EQ(Parsed({"snapshot", "--", "--json"}).file, "--json");
    EXPECT_EQ(Parsed({"snapshot", "-"}).file, "-");
    EXPECT_NE(Refusal({"snapshot", ""}).find("FILE: wants a file name"), std::string::npos);
    EXPECT_NE(Refusal({"--json", "snapshot", "-"}).find("--json"), std::string::npos);
    EXPECT_NE(Refusal({"find-image", "-"}).find("snapshot's"), std::string::npos);
    EXPECT_NE(Refusal({"--version", "extra"}).find("\"extra\""), std::string::npos);
    EXPECT_NE(Refusal({"window", "1\n\x1b[2J"}).find("\"1\\n\\e[2J\""), std::string::npos) << "shown, not sent";
}

TEST(CliArguments, PatternPointsAndWhatIsWrongWithABadOne) {
    const CliRequest points = Parsed({"find-points", "#FF0000", "-3,2147483647,!#00FF00~7", "0,-1,123456"});
    EXPECT_EQ(points.pattern.first, 0x0000FF);
    ASSERT_EQ(points.pattern.others.size(), 2u);
    const PatternPoint& absent = points.pattern.others[0];
    EXPECT_EQ(absent.dx, -3);
    EXPECT_EQ(absent.dy, 2147483647);
    EXPECT_TRUE(absent.absent);
    EXPECT_EQ(absent.tolerance, 7);
    EXPECT_EQ(absent.colour, 0x00FF00);
    EXPECT_EQ(points.pattern.others[1].colour, 0x123456);
    EXPECT_FALSE(points.pattern.others[1].tolerance.has_value());
    EXPECT_EQ(Parsed({"wait-points", "--slots", "3,1-2", "--file", "a.ini"}).slots, (std::vector<int>{3, 1, 2}));

    for (const auto& [point, message] :
         {std::pair<std::string, std::string>{"3,x,FF0000", "\"3,x,FF0000\": DY wants a whole number"},
          {"3,4", "\"3,4\": wants DX, DY and COLOUR"},
          {"3,4,5,FF0000", "\"3,4,5,FF0000\": wants DX, DY and COLOUR"},
          {"3,4,GG", "\"3,4,GG\": COLOUR wants six hexadecimal digits"},
          {"3,4,FF0000~", "~N wants a tolerance from 0 to 255, got \"\""},
          {"3,4,!FF0000~300", "~N wants a tolerance from 0 to 255, got \"300\""},
          {"2147483648,0,FF0000", "DX wants a whole number"}})
        EXPECT_NE(Refusal({"find-points", "0000FF", point}).find(message), std::string::npos) << point;
    EXPECT_NE(Refusal({"wait-points", "0000FF"}).find("at least one DX,DY,COLOUR after COLOUR"), std::string::npos);
    EXPECT_NE(Refusal({"find-points", "!0000FF", "1,1,00FF00"}).find("COLOUR: the first colour"), std::string::npos);
    EXPECT_NE(Refusal({"find-points", "0000FF", "1,1,00FF00", "--similarity", "0"}).find("--similarity"),
              std::string::npos);
    EXPECT_NE(Refusal({"slots", "1"}).find("takes no operand"), std::string::npos);
}

TEST(CliArguments, BackendIsChosenAnywhereBeforeTheEndOfOptionsAndNamedByVersionAndHelp) {
    const CliBackends linux{{{"x11", "the X server"}, {"wayland", "the portal"}}, 1};
    const auto parse = [&](std::initializer_list<std::string> args) { return ParseCliArguments(args, linux); };
    EXPECT_EQ(std::get<CliRequest>(parse({"pixel", "1", "2"})).backend, "wayland") << "the program's own choice";
    EXPECT_EQ(std::get<CliRequest>(parse({"pixel", "--backend", "x11", "1", "2"})).backend, "x11");
    EXPECT_EQ(std::get<CliResult>(parse({"--backend=x11", "--version"})).out.find("backend: x11 (the X server)\n"),
              std::string("pelmora-cli " PELMORA_VERSION_TEXT "\n").size());
    EXPECT_NE(std::get<CliResult>(parse({"--help"})).out.find("In use: wayland (the portal)"), std::string::npos);
    const auto bad = std::get<CliResult>(parse({"pixel", "--backend", "mir"}));
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("--backend: wants x11 or wayland, got \"mir\""), std::string::npos) << bad.err;
    EXPECT_EQ(std::get<CliResult>(parse({"pixel", "--backend"})).status, 2);
    // After "--" it is an operand; where no backend is offered (Windows) it is no option.
    EXPECT_EQ(std::get<CliResult>(parse({"pixel", "--", "--backend", "x11"})).status, 2);
    EXPECT_NE(Refusal({"pixel", "--backend", "x11"}).find("unknown option \"--backend\""), std::string::npos);
    EXPECT_EQ(Parsed({"pixel", "1", "2"}).backend, "");
}
