#pragma once
// The section OPTIONS of the settings file: the editor's options and the controller
// set-up's model, files and channel count.
#include <string>

class TIniFile;

struct StoredOptions {
    int maxSteps = 8000;
    std::string lastOpenFile;  // the scenario file
    std::string ctrFile;       // the configuration's set-up file
    std::string ctrType;       // the model name
    std::string comPort = "COM1";
    bool timesLock = false;
    bool timeInSec = false;
    int channels = 18;
    double zoom = 1.0;
    std::string picName;       // the show window's layout picture
};

// Reads every key over the value options already holds, except ComPort ("COM1" when
// missing) and Zoom (1.0). MaxSteps is clamped to 1..8000 and Channels to 1..640;
// CtrType is cut to 49 characters and the file names to 2000. Relative file names are
// taken as lying in programFolder.
void ReadStoredOptions(const TIniFile& ini, StoredOptions& options, const std::string& programFolder);
// Writes the keys in the order of the struct, file names inside programFolder relative to
// it, and ComPort only when it is not "FILE".
void WriteStoredOptions(TIniFile& ini, const StoredOptions& options, const std::string& programFolder);
