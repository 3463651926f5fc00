// SPDX-License-Identifier: MIT
// Start-up and shut-down run statement by statement: a statement that fails (a value
// that does not convert, a setting a control refuses) is skipped and the next one runs.
#pragma once

#include <optional>
#include <stdexcept>

namespace pelmora {

// What a statement of start-up or shut-down throws when it cannot be done.
struct StatementFailed : std::runtime_error {
    StatementFailed() : std::runtime_error("statement failed") {}
};

// The value, or a failure of the statement that needs it.
template <typename T>
T Require(const std::optional<T>& value) {
    if (!value) throw StatementFailed();
    return *value;
}

// Runs statement; an exception from it is swallowed, so the sequence goes on.
template <typename Statement>
void SkipIfFailing(Statement&& statement) noexcept {
    try {
        statement();
    } catch (const std::exception&) {
        // skipped: the sequence carries on with the next statement
    }
}

}  // namespace pelmora
