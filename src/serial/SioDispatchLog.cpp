#include "serial/SioDispatchLog.h"

#include <cstdio>
#include <ctime>

#include "serial/SioByteText.h"
#include "serial/SioClock.h"
#include "serial/SioMessageTable.h"
#include "serial/SioTextFile.h"
#include "ui/SysUtils.h"

namespace {

constexpr int WrapColumn = 78;
constexpr int DataColumn = 45;
const std::string continuation(44, ' ');

std::atomic<std::string (*)()> systemDescription{nullptr};

std::string Cut80(std::string text)
{
    if (text.size() > 80)
        text.resize(80);
    return text;
}

std::string TimeText(uint32_t ms)
{
    char digits[16];
    std::snprintf(digits, sizeof(digits), "%07u", static_cast<unsigned>(ms));
    std::string text = digits;
    text.insert(text.size() - 3, ".");
    return text;
}

const char* const statusTriggerKinds[] = {
    "(Not active)", "(Modem status)", "(Line status)", "(Output buffer free)", "(Output buffer used)", "(Output sent)",
};

} // namespace

const char* SioCompilerText()
{
#if defined(__GNUC__) && !defined(__clang__)
    return "GNU C++ " __VERSION__;
#else
    return "Unknown";
#endif
}

void SetSioSystemDescription(std::string (*describe)()) { systemDescription = describe; }

std::string SioSystemDescriptionText()
{
    auto describe = systemDescription.load();
    return describe ? describe() : "Unknown";
}

std::string SioLocalDateTimeText()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[32];
    std::strftime(text, sizeof(text), "%d/%m/%y, %H:%M:%S", &local);
    return text;
}

SioDispatchLog::SioDispatchLog(std::recursive_mutex& dataSection)
    : SystemText(&SioSystemDescriptionText), DateTimeText(&SioLocalDateTimeText), lock_(dataSection)
{
}

void SioDispatchLog::InitDispatchLogging(int32_t queueSize)
{
    ClearDispatchLogging();
    max_ = queueSize;
    on_ = true;
}

void SioDispatchLog::AbortDispatchLogging()
{
    on_ = false;
    queue_.Clear();
}

uint32_t SioDispatchLog::GetDispatchTime() const { return SioTimeGetTime() - timeBase_; }

void SioDispatchLog::AddDispatchEntry(TDispatchType type, TDispatchSubType subType, uint32_t data,
                                      const void* buffer, int32_t bufferLen)
{
    if (!on_)
        return;
    std::lock_guard<std::recursive_mutex> guard(lock_);
    int32_t limit = max_;
    while (limit > 0 && queue_.Count() > 0 && queue_.BytesQueued() > limit)
        queue_.Pop();
    queue_.Push(std::make_unique<TLogBuffer>(type, subType, GetDispatchTime(), data, buffer, bufferLen));
}

int32_t SioDispatchLog::DumpDispatchLog(const std::string& fileName, bool inHex, bool allHex)
{
    return DumpDispatchLogPrim(fileName, false, inHex, allHex);
}

int32_t SioDispatchLog::AppendDispatchLog(const std::string& fileName, bool inHex, bool allHex)
{
    return DumpDispatchLogPrim(fileName, true, inHex, allHex);
}

int32_t SioDispatchLog::DumpDispatchLogPrim(const std::string& fileName, bool appendFile, bool inHex, bool allHex)
{
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (queue_.Count() == 0)
        return 0;
    SioTextFile file;
    if (int error = file.Open(fileName, appendFile))
        return -error;
    file.WriteLn("SIO v1.00");
    file.WriteLn(std::string("Compiler : ") + SioCompilerText());
    file.WriteLn("Operating System : " + Cut80(SystemText()));
    file.WriteLn("Device: " + DeviceName);
    file.WriteLn("Date/time: " + Cut80(DateTimeText()));
    file.WriteLn(MessageNumberToString(15501));
    file.WriteLn(MessageNumberToString(15502));
    while (auto entry = queue_.Pop())
        WriteRecord(file, static_cast<const TLogBuffer&>(*entry), inHex, allHex);
    return -file.Close();
}

void SioDispatchLog::WriteRecord(SioTextFile& file, const TLogBuffer& record, bool inHex, bool allHex)
{
    char head[160];
    std::snprintf(head, sizeof(head), "%8s  %-8s  %-12s  %08X  ", TimeText(record.Time).c_str(),
                  MessageNumberToString(static_cast<int16_t>(15001 + record.Type)).c_str(),
                  MessageNumberToString(static_cast<int16_t>(15100 + record.SubType)).c_str(),
                  static_cast<unsigned>(record.Data));
    file.Write(head);

    if (record.GetMoreData() == 0) {
        if (record.Type == dtTelnet) {
            std::string option = record.Data <= 42 ? MessageNumberToString(static_cast<int16_t>(15700 + record.Data)) : "";
            file.Write(Trim(Cut80(" [" + option)) + "]");
        }
        file.WriteLn();
        return;
    }

    const uint8_t* bytes = record.Bytes();
    if (record.SubType == dstStatusTrigger && (record.Type == dtTriggerAlloc || record.Type == dtTriggerDispose)) {
        if (bytes[0] < 6)
            file.Write(statusTriggerKinds[bytes[0]]);
    } else {
        bool hexAll = allHex && record.Type != dtUser;
        int column = DataColumn;
        for (int32_t i = 0; i < record.GetMoreData(); ++i) {
            std::string piece = SioByteText(bytes[i], inHex, hexAll);
            int width = static_cast<int>(piece.size());
            column += width;
            if (column > WrapColumn) {
                file.WriteLn();
                file.Write(continuation);
                column = width + DataColumn;
            }
            file.Write(piece);
        }
    }
    if (record.SubType == dstModemStatus) {
        std::string names;
        for (int bit = 0; bit < 8; ++bit)
            if (record.Data & (1u << bit))
                names += MessageNumberToString(static_cast<int16_t>(15601 + bit));
        file.Write(Trim(Cut80(" (" + names)) + ")");
    }
    file.WriteLn();
}
