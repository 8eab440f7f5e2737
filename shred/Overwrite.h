#pragma once

#include "shred/OverwriteMethod.h"
#include "shred/RunProgress.h"
#include "shred/StepResult.h"

#include <cstddef>
#include <functional>
#include <string>

// Called after every 1 MiB block with the cumulative share of all passes written so far (percent,
// rounded); 0 asks to stop, anything else goes on.
using OverwriteCallback = std::function<int(int percent)>;

inline constexpr size_t kOverwriteBlockSize = 1024 * 1024;

// Overwrites the data of one file in place with the method's passes, from position 0 over exactly its
// length, flushing every pass to the device. Never renames, truncates, extends or deletes the file.
// Tells the observer each pass, each block and each flushed pass, and overwriteEnded() once the file is
// closed. runErrorCount grows by one when the callback stops a pass. An unknown method code writes
// nothing and gives UnknownMethod after the path checks.
using OverwriteResult = StepResult<OverwriteOutcome>;
OverwriteResult OverwriteFileData(const std::wstring& path,
                                  int methodCode,
                                  const OverwriteCallback& callback,
                                  RunObserver& observer,
                                  int& runErrorCount);

// Fills the buffer with uniform random bytes from the calling thread's generator, which seeds itself
// from the system's random source on first use.
void FillRandom(unsigned char* buffer, size_t size);
