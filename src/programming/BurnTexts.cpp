#include "programming/BurnTexts.h"

const char kBurnBoxCaption[] = "Программирование контроллера";
const char kStatusSearching[] = "Поиск контроллера...";
const char kStatusLoading[] = "Загрузка...";
const char kStatusEeprom[] = "Настройка...";
const char kStatusClosing[] = "Завершение...";
const char kWrongControllerText[] = "Несоответствующий контроллер!";
const char kNoMemoryText[] = "Не хватает памяти контроллера для записи сценария!";

namespace {

const std::string kPad18(18, ' ');

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

} // namespace

std::string MissingFirmwareText(const std::string& romFileName)
{
    return "Невозможно загрузить сценарий!\nНе найден файл " + Quoted(romFileName);
}

std::string UnreadableFirmwareText(const std::string& romFileName)
{
    return "Невозможно загрузить сценарий!\nНе удается прочитать файл " + Quoted(romFileName);
}

std::string PortFailureText(const std::string& portName, const std::string& reason)
{
    std::string text = "Невозможно загрузить сценарий!\nНе удается открыть порт " + portName + ".";
    if (!reason.empty())
        text += "\n" + reason;
    return text;
}

std::string TimeoutText(bool usb, const std::string& modelName)
{
    if (usb)
        return "Ошибка загрузки!" + kPad18 + "\n\n1. Убедитесь, что подключен контроллер " + Quoted(modelName) +
               kPad18 + "\n2. Отключите и снова подключите кабель USB";
    return "Ошибка загрузки!" + kPad18 + "\n\n1. Проверьте правильность подключения кабеля" + kPad18 +
           "\n2. Выключите и снова включите питание контроллера";
}
