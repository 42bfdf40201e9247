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
extern const char kNoMemoryText[];         // "Не хватает памяти контроллера для записи сценария!"

// The missing-firmware box: the file name between double quotes.
std::string MissingFirmwareText(const std::string& romFileName);
// The box for a firmware file that is there but cannot be read.
std::string UnreadableFirmwareText(const std::string& romFileName);
// The box for a port that cannot be opened: its name ("COM7") and the serial library's
// text for the failure.
std::string PortFailureText(const std::string& portName, const std::string& reason);

// The box after 10 s without an answer that moves the transfer on.
std::string TimeoutText(bool usb, const std::string& modelName);
