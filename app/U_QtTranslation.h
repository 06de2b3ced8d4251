// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// Puts Qt's own texts (the open dialog, the message box's buttons) into Japanese, whatever the
// locale, to match the rest of the interface.
void UseQtTranslation();
