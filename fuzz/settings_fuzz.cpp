// The settings file's reader on any bytes: values stay in their ranges, and what is
// written back reads back the same.
#include <cmath>
#include <cstring>

#include "DefaultConfig.h"
#include "FuzzFile.h"
#include "setup/CtrFile.h"
#include "setup/StoredOptions.h"
#include "ui/IniFiles.h"
#include "ui/SysUtils.h"

namespace {

const std::string kFolder = "C:\\Pelvor\\";

bool SamePath(const std::string& a, const std::string& b) { return AnsiUpperCase(a) == AnsiUpperCase(b); }

bool SameZoom(double a, double b)
{
    if (a != a || b != b)
        return a != a && b != b;
    return a == b || std::fabs(a - b) <= 1e-14 * std::fabs(a);
}

bool Same(const StoredOptions& a, const StoredOptions& b)
{
    return a.maxSteps == b.maxSteps && SamePath(a.lastOpenFile, b.lastOpenFile) && SamePath(a.ctrFile, b.ctrFile) &&
           a.ctrType == b.ctrType && a.timesLock == b.timesLock && a.timeInSec == b.timeInSec &&
           a.channels == b.channels && SamePath(a.picName, b.picName) && SameZoom(a.zoom, b.zoom);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ControllerConfig* config = &FreshDefaultConfig();

    const std::string file = FuzzFile(".ini", data, size);
    TIniFile ini(file);
    StoredOptions options;
    ReadStoredOptions(ini, options, kFolder);
    FUZZ_CHECK(options.maxSteps >= 1 && options.maxSteps <= kMaxStepCount);
    FUZZ_CHECK(options.channels >= 1 && options.channels <= kMaxChannels);
    FUZZ_CHECK(options.ctrType.size() <= 49);
    config->channels = options.channels;
    ReadChannelKeys(ini, *config, false);
    for (int i = 0; i < kChannelTableSize; ++i) {
        FUZZ_CHECK(std::memchr(config->channelTable[i].name, 0, 50) != nullptr);
        FUZZ_CHECK(config->channelTable[i].rgbGroup <= 1);
    }

    // Written back and read again: the same options.
    WriteStoredOptions(ini, options, kFolder);
    const std::string text = ini.Text();
    TIniFile again(FuzzFile(".ini", reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    StoredOptions back = options;
    ReadStoredOptions(again, back, kFolder);
    FUZZ_CHECK(Same(options, back));
    return 0;
}
