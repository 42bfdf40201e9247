#include "programming/BurnTexts.h"

const char kBurnBoxCaption[] = "Программирование контроллера";
const char kStatusSearching[] = "Поиск контроллера...";
const char kStatusLoading[] = "Загрузка...";
const char kStatusEeprom[] = "Настройка...";
const char kStatusClosing[] = "Завершение...";
const char kWrongControllerText[] = "Несоответствующий контроллер!";
const char kLinkErrorText[] = "Невозможно загрузить сценарий!\nОшибка связи с контроллером.";
const char kNoMemoryText[] = "Не хватает памяти контроллера для записи сценария!";

namespace {

const std::string kPad18(18, ' ');
const std::string kPad22(22, ' ');

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

} // namespace

std::string MissingFirmwareText(const std::string& romFileName)
{
    return "Невозможно загрузить сценарий!\nНе найден файл " + Quoted(romFileName);
}

std::string CutScenarioQuestion(int maxSteps, int loopCount, int labelCount)
{
    std::string suffix;
    if (loopCount > 0)
        suffix += " (с учетом " + std::to_string(loopCount) + " циклов";
    if (labelCount > 0)
        suffix += (suffix.empty() ? " (с учетом " : " и ") + std::to_string(labelCount) + " меток";
    suffix += suffix.empty() ? "." : ").";
    return kNoMemoryText + kPad22 + "\nСценарий должен содержать не более " + std::to_string(maxSteps) +
           " шагов" + suffix + kPad22 + "\n\nИзменить максимальное количество шагов в программе?";
}

std::string TimeoutText(bool usb, const std::string& modelName)
{
    if (usb)
        return "Ошибка загрузки!" + kPad18 + "\n\n1. Убедитесь, что подключен контроллер " + Quoted(modelName) +
               kPad18 + "\n2. Отключите и снова подключите кабель USB";
    return "Ошибка загрузки!" + kPad18 + "\n\n1. Проверьте правильность подключения кабеля" + kPad18 +
           "\n2. Выключите и снова включите питание контроллера";
}
