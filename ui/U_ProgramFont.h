#pragma once

// Makes the windows' font, "ＭＳ Ｐゴシック" at 12 pixels, the application's font, resolved
// through a substitution to a Japanese family that is installed.
void UseProgramFont();
