// Reading an input file whole (the pack, the music, shader files) without ever blocking on it.
// Owns: readInputFile and the words that say why a read was refused.
// Does NOT print anything or know what the bytes mean.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class InputFileStatus { ok, missing, folder, notRegular, unreadable, tooLarge };

// Reads up to `length` bytes from `offset` of `path` (length 0: to the end) into `out`.
// The file is opened without blocking, so a FIFO or a device is refused as notRegular instead
// of waiting for a writer. A file over maxBytes is tooLarge. `out` is empty
// unless the result is ok.
InputFileStatus readInputFile(const std::string& path, uint64_t offset, uint64_t length, uint64_t maxBytes,
                              std::vector<unsigned char>& out);

// Why the read failed, for a message ("it is not a regular file"); empty for ok.
std::string inputFileProblem(InputFileStatus status, uint64_t maxBytes);
