#include "ui/SafeSave.h"

#include "ui/Exceptions.h"
#include "ui/PlatformFile.h"
#include "ui/Streams.h"
#include "ui/SysUtils.h"

void SaveStreamSafely(const std::string& fileName, const std::function<void(TStream& out)>& write)
{
    const std::string temp = fileName + ".tmp~";
    try {
        TFileStream stream(temp, fmCreate);
        write(stream);
        // On the disk before it replaces the old file: a crash or power loss after the
        // replacement must not leave an empty or partial file in place of the old one.
        stream.Flush();
    } catch (const EFCreateError&) {
        RemoveFile(temp);
        throw EFCreateError("Cannot create file \"" + fileName + "\"");
    } catch (const EStreamError&) {
        RemoveFile(temp);
        throw EWriteError("Cannot write file \"" + fileName + "\"");
    } catch (...) {
        RemoveFile(temp);
        throw;
    }
    std::string error;
    if (!PlatformFile::Replace(temp, fileName, error)) {
        RemoveFile(temp);
        throw EWriteError("Cannot write file \"" + fileName + "\". " + error);
    }
}

void SaveFileSafely(const std::string& fileName, const void* data, size_t size)
{
    SaveStreamSafely(fileName, [&](TStream& out) { out.WriteBuffer(data, static_cast<int64_t>(size)); });
}
