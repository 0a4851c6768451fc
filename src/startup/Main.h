#pragma once

#include <functional>

// The windows start-up opens after the data file, given by the program so that start-up does
// not depend on them (and tests can watch what is opened).
struct StartupWindows
{
    // Shows frm_PersonalInformation modally for a new personal record.
    std::function<void()> personalInformation;
    // Shows frm_Main without waiting; from then on the main window runs the program.
    std::function<void()> mainWindow;
};

// What became of the start.
enum class StartupResult {
    Running, // the main window is up: run the event loop
    Ended    // the program ends now, having shown what it had to say
};

// Runs first of all: no core file is written and no other process of the user may attach to this
// one or read its memory; either would find the password and the decrypted records there.
void HardenProcess();
// Whether every block the program frees is wiped first (not in a sanitizer build).
bool HeapWipedOnFree();

// The start-up routine: refuses a second copy, shows the splash when the user wants it, opens
// the data file (asking for its password until it opens or the user gives up), makes sure the
// personal record exists and shows the main window.
StartupResult Main(const StartupWindows& windows);
