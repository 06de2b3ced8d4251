// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_Failure.h"

#include <exception>

std::optional<std::string> FailureOf(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "";
    }
    return std::nullopt;
}
