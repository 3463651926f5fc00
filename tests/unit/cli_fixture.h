// SPDX-License-Identifier: MIT
// pelmora-cli's commands run as a script runs them, on the fake desktop: files in memory, a
// clock that moves on when a wait sleeps, and standard output kept for the test.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "backends/fake/fake_desktop.h"
#include "backends/fake/fake_services.h"
#include "cli/cli_arguments.h"
#include "cli/cli_run.h"

namespace pelmora::testing {
// Files by path, in memory.
struct MemoryFiles : CliFiles {
    FileStart ReadFileStart(const std::string& path, std::uint64_t maxBytes) override {
        const auto file = contents.find(path);
        if (file == contents.end()) return {FileStart::Problem::kNotAFile, {}, 0, "No such file or directory"};
        largestRead = std::max<std::uint64_t>(largestRead, std::min<std::uint64_t>(maxBytes, file->second.size()));
        return {FileStart::Problem::kNone, file->second.substr(0, maxBytes), file->second.size(), {}};
    }
    std::string WriteFileWhole(const std::string& path, const std::string& bytes) override {
        if (!writable) return "Read-only file system";
        contents[path] = bytes;
        return {};
    }
    // The settings file's places: the program in /opt/pelmora, the user's own folder.
    std::string ExecutableDirectory() override { return "/opt/pelmora"; }
    char Separator() override { return '/'; }
    bool FileExists(const std::string& path) override { return contents.contains(path); }
    bool DirectoryWritable(const std::string& path) override { return !unwritableFolders.contains(path); }
    bool FileReadOnly(const std::string& path) override { return !writable && contents.contains(path); }
    bool InstalledForAllUsers() override { return installed; }
    std::string UserConfigDirectory() override { return "/home/user/.config/Pelmora"; }
    std::uint64_t largestRead = 0;  // the most bytes one read returned
    std::map<std::string, std::string> contents;
    bool writable = true;
    std::set<std::string> unwritableFolders;
    bool installed = false;
};

struct CliCommandTest : ::testing::Test {
    FakeDesktop desktop{100, 50, 0x808080};
    MemoryFiles files;
    FakeClock clock;
    std::vector<std::uint32_t>& sleeps = clock.sleeps;      // every sleep of a wait, in milliseconds
    std::function<void()>& afterSleep = clock.duringSleep;  // what changes on the desktop meanwhile
    std::string written;                                    // what went to standard output during the command
    std::string writeFailure;  // the reason every write to standard output fails with, if set
    CliServices services{desktop, files, clock,
                         [this](std::string_view bytes) {
                             if (writeFailure.empty()) written += bytes;
                             return writeFailure;
                         },
                         false};
    CliCommandTest() {
        desktop.screen.SetPixel(10, 20, 0x123456);  // red 56, green 34, blue 12
        desktop.screen.SetPixel(99, 49, 255);
        desktop.pointer = {10, 20};
    }
    CliResult Run(std::initializer_list<std::string> args) {
        const auto parsed = ParseCliArguments(args);
        if (const auto* refused = std::get_if<CliResult>(&parsed)) {
            ADD_FAILURE() << "refused: " << refused->err;
            return *refused;
        }
        written.clear();
        CliResult result = RunCliCommand(std::get<CliRequest>(parsed), services);
        result.out = written + result.out;  // in the order the program writes them
        return result;
    }
    // Standard output of a command that must succeed with nothing on standard error.
    std::string Out(std::initializer_list<std::string> args) {
        const CliResult result = Run(args);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        return result.out;
    }
    // The message of a command that must find nothing, with nothing on standard output.
    std::string NotFound(std::initializer_list<std::string> args) {
        const CliResult result = Run(args);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        return result.err;
    }
};
}  // namespace pelmora::testing
