#pragma once

#include "shred/OverwriteMethod.h"
#include "shred/RunProgress.h"
#include "win/StopToken.h"

#include <cstddef>
#include <functional>
#include <string>

// Told after every 1 MiB block with the cumulative share of all passes written so far (percent, rounded).
using BlockWritten = std::function<void(int percent)>;

inline constexpr size_t kOverwriteBlockSize = 1024 * 1024;

// Overwrites the data of one file in place with the method's passes, from position 0 over exactly its
// length, flushing every pass to the device. Never renames, truncates, extends or deletes the file.
// Shows its progress (cycles and pattern texts, file-position and overwrite bars) on the display. After
// every block, a safe point, it waits out a pause at the stop token's checkpoint, and a quit request
// (the program is ending) stops the pass there, leaving the file as it is: runErrorCount then grows by one. An unknown
// method code writes nothing and returns kOverwriteEmptyPath after the path checks.
int OverwriteFileData(const std::wstring& path,
                      int methodCode,
                      const win::StopToken& control,
                      RunDisplay& display,
                      int& runErrorCount,
                      const BlockWritten& blockWritten = nullptr);

// Fills the buffer with uniform random bytes from the calling thread's generator, which seeds itself
// from the system's random source on first use.
void FillRandom(unsigned char* buffer, size_t size);
