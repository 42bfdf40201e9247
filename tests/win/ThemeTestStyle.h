#pragma once
// The visual-style state of a theme test run. Under Wine the visual-styles library reads
// whether a style is active from the prefix's registry (ThemeActive) once, when a process
// loads it; the test prefix pins the value to 0 so that no other test depends on a style.
#include <functional>

// True when this run was started with --style and the style is active in this process.
bool StyleActiveRun();
// Runs action with the prefix's ThemeActive value set to value, and puts the value it
// had back at once, so that nothing else in the prefix sees the change.
void WithThemeActiveValue(const wchar_t* value, const std::function<void()>& action);
