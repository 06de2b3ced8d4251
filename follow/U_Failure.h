// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <functional>
#include <optional>
#include <string>

// Runs a handler whose failure must not leave it: the message of what it threw, or nothing
// when it returned. The one place that catches what our handlers throw; the error display
// shows what it returns, the follower tries again later.
std::optional<std::string> FailureOf(const std::function<void()>& handler);
