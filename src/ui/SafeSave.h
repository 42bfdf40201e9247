#pragma once
// Writing a whole file so that a failure never leaves a half-written file in place of
// the old one: the bytes go to a temporary file beside it, which then replaces it.
#include <cstddef>
#include <string>

// Raises EFCreateError when the temporary file cannot be made, EWriteError when the
// bytes cannot be written or the file cannot be replaced; the old file then stays.
void SaveFileSafely(const std::string& fileName, const void* data, size_t size);
