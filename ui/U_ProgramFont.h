// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// Makes the windows' font, "ＭＳ Ｐゴシック" at 12 pixels, the application's font, resolved
// through a substitution to a Japanese family that is installed.
void UseProgramFont();
