// The platform's warning sound, with a seam for tests.
#pragma once
#include <functional>

// Plays the warning sound (the toolkit's beep), or calls the handler set below.
void WarningSound();

// Replaces the sound by a handler (an empty one restores the beep); returns the previous one.
using TWarningSoundHandler = std::function<void()>;
TWarningSoundHandler SetWarningSoundHandler(TWarningSoundHandler handler);
