#pragma once
// Byte streams of the class library: the abstract stream, file streams over the
// platform's files and memory streams. Portable; the file primitive is per platform.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    virtual ~TStream() = default;
    // Reads or writes at most count bytes; returns how many were moved.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t pos) { Seek(pos, TSeekOrigin::soBeginning); }
    int64_t Size();
    // Move exactly count bytes or raise EReadError / EWriteError.
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
};

// Open modes, combinable as in the class library: one access mode, one share mode.
enum : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00,
};

class PlatformFile;

// A file opened by name (Windows-1251). Raises EFOpenError or EFCreateError with the
// platform's reason when the file cannot be opened or created.
class TFileStream : public TStream {
public:
    TFileStream(const std::string& fileName, unsigned mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    // Writes the data through to the disk; EWriteError when the system cannot.
    void Flush();
    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
    std::unique_ptr<PlatformFile> file_;
};

class TMemoryStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    const std::vector<uint8_t>& Bytes() const { return data_; }
    void Clear() { data_.clear(); pos_ = 0; }

private:
    std::vector<uint8_t> data_;
    int64_t pos_ = 0;
};
