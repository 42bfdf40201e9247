#pragma once
// The fixed family of controller models, their parameter rows, and the controller
// configuration record that the main window owns and the set-up dialog edits.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

constexpr int kMaxChannels = 640;         // channels a scenario can have
constexpr int kChannelTableSize = 643;    // records kept in the configuration
constexpr int kMaxStepCount = 8000;       // steps the scenario grid holds
constexpr unsigned kModelCount = 9;       // rows before the terminator
constexpr unsigned kUnknownModel = 9;     // index of a name that is in no row
constexpr size_t kConfigNameChars = 49;   // characters a model, channel or device name keeps
constexpr size_t kConfigPathChars = 2000; // characters a file name keeps

struct ControllerModel {
    char name[52];
    uint32_t channels;
    char firmwareFile[52];
    uint32_t paramRow;
    char typeLetter;
    char deviceId[51];
    uint32_t memorySize;     // flash bytes; 0: follows from the firmware header
};

struct ModelParams {
    int32_t minSpeed;
    int32_t maxSpeed;
    int32_t defaultSpeed;
    float speedFactor;        // ms per time unit per unit of speed
    const float* speedTable;  // when set, ms per time unit indexed by the speed
    int32_t minTime;
    int32_t maxTime;
    int32_t levelMax;
    int32_t rampUpAllowed;
    int32_t rampDownAllowed;
    int32_t strobeAllowed;
    int32_t gradientAllowed;
};

// Nine models and a terminator row whose channel count is 0.
extern const ControllerModel ControllerModelTable[kModelCount + 1];
extern const ModelParams ModelParamTable[3];

struct ChannelRecord {
    char name[52];      // at most 49 characters
    uint32_t color;     // 0x00BBGGRR
    uint32_t rgbGroup;  // 1: part of an aligned RGB triple
};

struct ControllerConfig {
    int32_t channels;                              // 1..640
    ChannelRecord channelTable[kChannelTableSize]; // 0..639 used
    char modelName[52];                            // at most 49 characters
    uint32_t modelIndex;                           // 9 when not in the table
    char firmwareFile[2001];                       // at most 2000 characters
    char setupFile[2001];                          // at most 2000 characters
    uint32_t paramRow;
    char deviceId[50];                             // "" or "485": serial; else USB product
    char typeLetter;
    char pictureFile[2001];                        // at most 2000 characters
};

// Copies at most maxChars characters of text into a fixed array, always terminated.
template <size_t N>
void CopyText(char (&dst)[N], const std::string& text, size_t maxChars = N - 1)
{
    size_t n = text.size();
    if (n > maxChars)
        n = maxChars;
    if (n > N - 1)
        n = N - 1;
    std::memset(dst, 0, N);
    std::memcpy(dst, text.data(), n);
}

// Model fields from row 0; the channel table is left alone.
void ResetControllerConfig(ControllerConfig& cfg);
// Names "Кан. N", white, no RGB group, for the 640 used channel records.
void SetChannelDefaults(ControllerConfig& cfg);
// Exact, case-sensitive name search; kUnknownModel when no row has the name.
unsigned FindModelIndex(const char* name);
// Parameter row of the named model; 0 when no row has the name.
unsigned FindModelParamRow(const char* name);
// The first existing file of: the name itself, the program folder's file of that name,
// the given folder's file of that name; else the name unchanged.
std::string FindRomFile(const std::string& fileName, const std::string& folder,
                        const std::string& programFolder);
// The largest step count that fits the controller's memory, at most 8000.
int32_t ComputeMaxSteps(const ControllerConfig& cfg, const std::string& programFolder);
