#pragma once
// Writing a whole file so that a failure never leaves a half-written file in place of
// the old one: the bytes go to a temporary file beside it, which then replaces it.
#include <cstddef>
#include <functional>
#include <string>

class TStream;

// Raises EFCreateError when the temporary file cannot be made, EWriteError when the
// bytes cannot be written or the file cannot be replaced; the old file then stays.
void SaveFileSafely(const std::string& fileName, const void* data, size_t size);
// The same with the bytes written by write into the temporary file's stream. Whatever
// write raises removes the temporary file and passes on (a stream error as EWriteError).
void SaveStreamSafely(const std::string& fileName, const std::function<void(TStream& out)>& write);
