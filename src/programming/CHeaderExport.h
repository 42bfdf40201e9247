#pragma once
// The controller image written as a C header for a firmware build (port "FILE").
#include <cstddef>
#include <cstdint>
#include <string>

// The header text: the FIXEDSCN define, the speed in decimal, then the image bytes as
// "0x%02x," entries, 17 to a line, and "\n};" without a final line break.
std::string FormatCHeader(const uint8_t* image, size_t size, int speed);

// Creates (truncates) fileName and writes FormatCHeader's text to it. Raises the
// stream errors (EFCreateError, EWriteError) when the file cannot be created or written.
void WriteCHeader(const std::string& fileName, const uint8_t* image, size_t size, int speed);

// Settings of the save dialog for the header, from the current scenario file name.
struct CHeaderSaveDefaults {
    std::string initialDir;  // the scenario's folder
    std::string fileName;    // the scenario's name with ".h" for its extension
    std::string defaultExt;  // "h"
    std::string filter;      // "Файл *.h|*.h|Все файлы|*.*"
};
CHeaderSaveDefaults MakeCHeaderSaveDefaults(const std::string& scenarioFileName);
