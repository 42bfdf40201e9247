#pragma once
// The programming window's texts: status lines, the title of its message boxes and the
// boxes' texts.
#include <string>

extern const char kBurnBoxCaption[];       // "Программирование контроллера"
extern const char kStatusSearching[];      // "Поиск контроллера..."
extern const char kStatusLoading[];        // "Загрузка..."
extern const char kStatusEeprom[];         // "Настройка..."
extern const char kStatusClosing[];        // "Завершение..."
extern const char kWrongControllerText[];  // "Несоответствующий контроллер!"
extern const char kLinkErrorText[];        // no flash, boot-loader or block size known
extern const char kNoMemoryText[];         // the image cannot be placed at all

// The missing-firmware box: the file name between double quotes.
std::string MissingFirmwareText(const std::string& romFileName);

// The question whether to cut the scenario to maxSteps, naming the loops and labels
// that the maximum makes room for.
std::string CutScenarioQuestion(int maxSteps, int loopCount, int labelCount);

// The box after 10 s without an answer that moves the transfer on.
std::string TimeoutText(bool usb, const std::string& modelName);
