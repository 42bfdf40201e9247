// The set-up file reader on any bytes: the record it fills is always within its limits.
#include <cstring>

#include "DefaultConfig.h"
#include "FuzzFile.h"
#include "setup/CtrFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ControllerConfig* config = &FreshDefaultConfig();

    const std::string file = FuzzFile(".ctr", data, size);
    FUZZ_CHECK(ReadCtrFile(file, *config));
    FUZZ_CHECK(config->channels >= 1 && config->channels <= kMaxChannels);
    FUZZ_CHECK(config->modelIndex <= kUnknownModel);
    FUZZ_CHECK(std::strcmp(config->setupFile, file.c_str()) == 0);
    FUZZ_CHECK(std::memchr(config->modelName, 0, 50) != nullptr);
    FUZZ_CHECK(std::memchr(config->pictureFile, 0, 2001) != nullptr);
    for (int i = 0; i < config->channels; ++i) {
        FUZZ_CHECK(std::memchr(config->channelTable[i].name, 0, 50) != nullptr);
        FUZZ_CHECK(config->channelTable[i].rgbGroup <= 1);
    }
    return 0;
}
