// SPDX-License-Identifier: MIT
#include "editor/editor_pictures.h"

#include <array>
#include <string_view>

namespace pelmora {

namespace {

using Pattern = std::array<std::string_view, 16>;

// '.' transparent, '#' black, 'w' white, 'y' yellow, 'p' pink, 'k' dark grey, 'b' blue,
// 'g' grey.
std::int32_t PatternColour(char c) {
    switch (c) {
        case '#': return 0;
        case 'w': return 16777215;
        case 'y': return 4259839;   // (255, 255, 64)
        case 'p': return 12615935;  // (255, 128, 192)
        case 'k': return 4210752;   // (64, 64, 64)
        case 'b': return 16744448;  // (0, 128, 255)
        case 'g': return 12632256;  // (192, 192, 192)
        default: return -1;
    }
}

Surface Draw(const Pattern& pattern) {
    Surface picture(16, 16, -1);
    for (int y = 0; y < 16; ++y) {
        const std::string_view row = pattern[static_cast<std::size_t>(y)];
        for (int x = 0; x < 16; ++x) picture.SetPixel(x, y, PatternColour(row[static_cast<std::size_t>(x)]));
    }
    return picture;
}

constexpr Pattern kPencil = {
    "............##..", "...........#pp#.", "..........#pppp#", ".........#yypp#.",
    "........#yyyy#..", ".......#yyyy#...", "......#yyyy#....", ".....#yyyy#.....",
    "....#yyyy#......", "...#yyyy#.......", "..#wyyy#........", "..#wwy#.........",
    ".#www#..........", ".#kw#...........", "#kk#............", "##..............",
};

constexpr Pattern kDropper = {
    "............##..", "...........####.", "..........######", "........########",
    ".........######.", "........#g####..", ".......#www#.#..", "......#www#.....",
    ".....#www#......", "....#www#.......", "...#www#........", "..#wbw#.........",
    ".#bbb#..........", ".#bb#...........", "#.#.............", "#...............",
};

constexpr Pattern kBucket = {
    "......##........", ".....#..#.......", ".....#..##......", "....#.##ww#.....",
    "...#.#wwwww#....", "..#.#wwwwwww#...", ".#.#wwwwwwwww#..", "#bbbwwwwwwwwww#.",
    "#bbb#wwwwwwww#..", "#bbb.#wwwwww#...", "#bbb..#wwww#....", "#bbb...#ww#.....",
    ".bb.....##......", ".bb.............", ".b..............", "................",
};

constexpr Pattern kCrosshair = {
    "......www.......", "......w#w.......", "......w#w.......", "......w#w.......",
    "......w#w.......", "......www.......", "wwwwww...wwwwww.", "w#####.#.#####w.",
    "wwwwww...wwwwww.", "......www.......", "......w#w.......", "......w#w.#####.",
    "......w#w.#...#.", "......w#w.#...#.", "......www.#####.", "................",
};

constexpr Pattern kDottedFrame = {
    "................", "................", ".#.#.#.#.#.#.#..", "................",
    ".#...........#..", "................", ".#...........#..", "................",
    ".#...........#..", "................", ".#...........#..", "................",
    ".#.#.#.#.#.#.#..", "................", "................", "................",
};

constexpr Pattern kFolder = {
    "................", "................", "..#####.........", ".#yyyyy#........",
    "#yyyyyyy#######.", "#yyyyyyyyyyyyy#.", "#yyy############", "#yy#wwwwwwwwwww#",
    "#yy#wwwwwwwwww#.", "#y#wwwwwwwwwww#.", "#y#wwwwwwwwww#..", "##wwwwwwwwwww#..",
    "##############..", "................", "................", "................",
};

constexpr Pattern kDisk = {
    "................", ".##############.", ".#bb#wwwwww#bb#.", ".#bb#wwwwww#bb#.",
    ".#bb#wwwwww#bb#.", ".#bb#wwwwww#bb#.", ".#bbb######bbb#.", ".#bbbbbbbbbbbb#.",
    ".#bb########bb#.", ".#bb#gggggg#bb#.", ".#bb#g##ggg#bb#.", ".#bb#g##ggg#bb#.",
    ".#bb#gggggg#bb#.", ".##############.", "................", "................",
};

constexpr Pattern kMonitor = {
    "................", "##############..", "#kkkkkkkkkkkk#..", "#kbbbbbbbbbbk#..",
    "#kbbbbbbbbbbk#..", "#kbbbbbbbbbbk#..", "#kbbbbbbbbbbk#..", "#kbbbbbbbbbbk#..",
    "#kbbbbbbbbbbk#..", "#kkkkkkkkkkkk#..", "##############..", "......##........",
    "......##........", "...########.....", "................", "................",
};

constexpr Pattern kClipboard = {
    "......###.......", "..####.w.####...", ".#yyy#####yyy#..", ".#yyyyyyyyyyy#..",
    ".#yy##########..", ".#yy#wwwwwwww#..", ".#yy#w####www#..", ".#yy#wwwwwwww#..",
    ".#yy#w######w#..", ".#yy#wwwwwwww#..", ".#yy#w#####ww#..", ".#yy#wwwwwwww#..",
    ".#yy#w######w#..", ".#yy#wwwwwwww#..", ".#############..", "................",
};

constexpr Pattern kBack = {
    "................", "................", "................", "......#.........",
    ".....##.........", "....#b#.........", "...#bb#########.", "..#bbbbbbbbbbb#.",
    "..#bbbbbbbbbbb#.", "...#bb#########.", "....#b#.........", ".....##.........",
    "......#.........", "................", "................", "................",
};

constexpr Pattern kForward = {
    "................", "................", "................", ".........#......",
    ".........##.....", ".........#b#....", ".#########bb#...", ".#bbbbbbbbbbb#..",
    ".#bbbbbbbbbbb#..", ".#########bb#...", ".........#b#....", ".........##.....",
    ".........#......", "................", "................", "................",
};

constexpr bool Square(const Pattern& pattern) {
    for (std::string_view row : pattern)
        if (row.size() != 16) return false;
    return true;
}
static_assert(Square(kPencil) && Square(kDropper) && Square(kBucket) && Square(kCrosshair) && Square(kDottedFrame) &&
              Square(kFolder) && Square(kDisk) && Square(kMonitor) && Square(kClipboard) && Square(kBack) &&
              Square(kForward));

}  // namespace

PointerImage ToolPointer(int index) {
    switch (index) {
        case 0: return {Draw(kPencil), 0, 15};
        case 1: return {Draw(kDropper), 0, 15};
        case 2: return {Draw(kBucket), 1, 14};
        default: return {Draw(kCrosshair), 7, 7};
    }
}

Surface FileButtonPicture(int index) {
    switch (index) {
        case 0: return Draw(kFolder);
        case 1: return Draw(kDisk);
        case 2: return Draw(kMonitor);
        default: return Draw(kClipboard);
    }
}

Surface HistoryButtonPicture(int index) { return Draw(index == 0 ? kBack : kForward); }

Surface ToolButtonPicture(int index) {
    switch (index) {
        case 0: return Draw(kDottedFrame);
        case 1: return Draw(kPencil);
        case 2: return Draw(kBucket);
        default: return Draw(kDropper);
    }
}

}  // namespace pelmora
