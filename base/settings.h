// setting.ini beside the executable: section MAIN, key SKIN, the skin's name.
#pragma once

#define SETTINGS_FILE "setting.ini"
#define SETTINGS_SECTION "MAIN"
#define SETTINGS_KEY "SKIN"

// setting.ini in the install directory: read at start, written by teardown and the skin switch.
const char kSettingsPathPattern[] = "%s" SETTINGS_FILE;

// Reads the current skin's name from setting.ini ("default" when file, section or key is missing).
// A name too long for currentSkin is kept cut there and marked in settingTooLong.
void LoadSettings();

// Writes the current skin's name to setting.ini. Returns 1 if the write succeeded.
int SaveSettings();
