#pragma once

#include "shred/OverwriteMethod.h"
#include "shred/RunProgress.h"
#include "shred/StepResult.h"
#include "win/StopToken.h"

#include <windows.h>

#include <cstddef>
#include <string>

inline constexpr size_t kOverwriteBlockSize = 1024 * 1024;

// Overwrites the data of one file in place with the method's passes, from position 0 over exactly its
// length, flushing every pass to the device. Never renames, truncates, extends or deletes the file.
// Tells the observer each pass, each block and each flushed pass, and overwriteEnded() once the writes are
// over. After every block, a safe point, it waits out a pause at the stop token's checkpoint, and a quit
// request (the program is ending) stops the pass there, leaving the file as it is: runErrorCount then grows
// by one and the outcome is Stopped. An unknown method code writes nothing and gives UnknownMethod after
// the path checks.
// The file is opened as itself (QueuedFile): a link, or a path that leads elsewhere through one, is
// CannotOpen and nothing is written.
using OverwriteResult = StepResult<OverwriteOutcome>;
OverwriteResult OverwriteFileData(const std::wstring& path,
                                  int methodCode,
                                  const win::StopToken& control,
                                  RunObserver& observer,
                                  int& runErrorCount);

// The same passes through a file the caller opened (and checked) with read and write access, from position 0
// over the length it has now, whatever its file pointer. The file stays open: overwriteEnded() then means
// that its overwrite is over. EmptyFile when it holds nothing, CannotOpen when its size cannot be read.
OverwriteResult OverwriteOpenFile(HANDLE file,
                                  const OverwriteMethod& method,
                                  const win::StopToken& control,
                                  RunObserver& observer,
                                  int& runErrorCount);

// Fills the buffer with uniform random bytes from the calling thread's generator, which seeds itself
// from the system's random source on first use.
void FillRandom(unsigned char* buffer, size_t size);
