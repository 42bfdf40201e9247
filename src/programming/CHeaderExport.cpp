#include "programming/CHeaderExport.h"

#include "ui/SafeSave.h"
#include "ui/SysUtils.h"

namespace {

constexpr size_t kBytesPerLine = 17;

} // namespace

std::string FormatCHeader(const uint8_t* image, size_t size, int speed)
{
    static const char kHex[] = "0123456789abcdef";
    std::string text = "#define FIXEDSCN\neeprom unsigned char SpeedEE = " + IntToStr(speed) +
                       ";\nflash char TestScnData[] = {\n";
    size_t at = text.size();
    text.resize(at + size * 5 + size / kBytesPerLine);
    char* out = &text[0];
    size_t onLine = 0;
    for (size_t i = 0; i < size; ++i) {
        out[at++] = '0';
        out[at++] = 'x';
        out[at++] = kHex[image[i] >> 4];
        out[at++] = kHex[image[i] & 15];
        out[at++] = ',';
        if (++onLine == kBytesPerLine) {
            out[at++] = '\n';
            onLine = 0;
        }
    }
    text += "\n};";
    return text;
}

void WriteCHeader(const std::string& fileName, const uint8_t* image, size_t size, int speed)
{
    const std::string text = FormatCHeader(image, size, speed);
    SaveFileSafely(fileName, text.data(), text.size());
}

CHeaderSaveDefaults MakeCHeaderSaveDefaults(const std::string& scenarioFileName)
{
    return {ExtractFilePath(scenarioFileName),
            ChangeFileExt(ExtractFileName(scenarioFileName), ".h"), "h",
            "Файл *.h|*.h|Все файлы|*.*"};
}
