// SPDX-License-Identifier: MIT
// The X11 hotkey service on a connection of its own, another client to type keys and
// hold grabs, and the ids the service delivered.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "other_client.h"
#include "backends/x11/x11_hotkeys.h"

namespace pelmora::testing {

class HotkeyFixture : public ::testing::Test {
protected:
    void SetUp() override {
        connection = X11Connection::Open();
        ASSERT_NE(connection, nullptr) << "no X server; run under scripts/xvfb-session";
        ASSERT_NE(other.display(), nullptr);
        service.emplace(*connection);
        service->SetReceiver([this](int id) { fired.push_back(id); });
    }

    // Polls the service for up to 2 s until count ids have arrived.
    bool WaitForFired(std::size_t count);
    // Lets every event the other client caused reach the service: the other client's
    // requests are done, so a round trip here reads in whatever the server sent before.
    void Settle();

    std::unique_ptr<X11Connection> connection;
    std::optional<X11HotkeyService> service;
    OtherClient other;
    std::vector<int> fired;
};

}  // namespace pelmora::testing
