#include "shred/Overwrite.h"

#include "shred/QueuedFile.h"
#include "win/Paths.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

// RtlGenRandom: the system's random source, exported by advapi32 since Windows XP.
extern "C" BOOLEAN NTAPI SystemFunction036(PVOID buffer, ULONG length);

namespace {

// xoshiro256**: fast, uniform, small per-thread state. Not for cryptography, which overwriting does not
// need: what matters is that the old data is gone.
class RandomBytes {
public:
    RandomBytes() {
        if (!SystemFunction036(state_, sizeof(state_))) {
            uint64_t seed = (uint64_t{::GetCurrentThreadId()} << 32) ^ ::GetTickCount64();
            for (uint64_t& word : state_)
                word = seed = SplitMix(seed);
        }
        if (!(state_[0] | state_[1] | state_[2] | state_[3]))
            state_[0] = 1;  // the all-zero state would stay zero
    }

    void fill(unsigned char* buffer, size_t size) {
        size_t i = 0;
        for (; i + 8 <= size; i += 8) {
            uint64_t word = next();
            std::memcpy(buffer + i, &word, 8);
        }
        if (i < size) {
            uint64_t word = next();
            std::memcpy(buffer + i, &word, size - i);
        }
    }

private:
    static uint64_t SplitMix(uint64_t x) {
        x += 0x9E3779B97F4A7C15ull;
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
        return x ^ (x >> 31);
    }
    static uint64_t Rotate(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    uint64_t next() {
        const uint64_t result = Rotate(state_[1] * 5, 7) * 9;
        const uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = Rotate(state_[3], 45);
        return result;
    }

    uint64_t state_[4];
};

bool WriteAll(HANDLE file, const unsigned char* data, size_t size) {
    DWORD written = 0;
    return ::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

}  // namespace

void FillRandom(unsigned char* buffer, size_t size) {
    static thread_local RandomBytes generator;
    generator.fill(buffer, size);
}

OverwriteResult OverwriteFileData(const std::wstring& path,
                                  int methodCode,
                                  const win::StopToken& control,
                                  RunObserver& observer,
                                  int& runErrorCount) {
    if (path.empty())
        return {OverwriteOutcome::EmptyPath};
    const long long size = win::FileSizeOrKind(path);
    if (size == 0)
        return {OverwriteOutcome::EmptyFile};
    if (size == win::kPathMissing)
        return {OverwriteOutcome::Missing};
    if (size == win::kPathIsFolder)
        return {OverwriteOutcome::Folder};
    const OverwriteMethod* method = MethodByCode(methodCode);
    if (!method)
        return {OverwriteOutcome::UnknownMethod};

    // A link's data belongs to its target, which the user did not queue: only the file itself is written.
    // A file that vanished since the size query is reported, never created anew.
    QueuedFile file(path, QueuedFile::Purpose::Overwrite);
    switch (file.identity()) {
        case FileIdentity::Itself:
            break;
        case FileIdentity::Missing:
            return {OverwriteOutcome::Missing, file.error()};
        case FileIdentity::Folder:
            return {OverwriteOutcome::Folder};
        case FileIdentity::LinkItself:
        case FileIdentity::Elsewhere:
        case FileIdentity::Replaced:
        case FileIdentity::CannotOpen:
            return {OverwriteOutcome::CannotOpen, file.error()};
    }
    return OverwriteOpenFile(file.handle(), *method, control, observer, runErrorCount);
}

OverwriteResult OverwriteOpenFile(HANDLE file,
                                  const OverwriteMethod& method,
                                  const win::StopToken& control,
                                  RunObserver& observer,
                                  int& runErrorCount) {
    LARGE_INTEGER length64 = {};
    const LARGE_INTEGER start = {};
    if (!::GetFileSizeEx(file, &length64) || !::SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        return {OverwriteOutcome::CannotOpen, ::GetLastError()};
    const unsigned long long length = static_cast<unsigned long long>(length64.QuadPart);
    if (length == 0)
        return {OverwriteOutcome::EmptyFile};

    const unsigned long long blocks = length / kOverwriteBlockSize;
    const size_t tail = static_cast<size_t>(length % kOverwriteBlockSize);
    const double step = 100.0 / (static_cast<double>(length) / kOverwriteBlockSize * method.passes);
    double cumulative = 0;
    bool stopped = false;
    DWORD failure = ERROR_SUCCESS;  // the reason of the first write, flush or seek refused
    auto fail = [&failure] {
        failure = ::GetLastError();
        if (failure == ERROR_SUCCESS)
            failure = ERROR_WRITE_FAULT;  // a short write without a reason of its own
    };
    // One buffer for every pass, no larger than the file: a small file does not cost a megabyte of memory
    // to allocate and fill.
    std::vector<unsigned char> buffer(static_cast<size_t>(std::min<unsigned long long>(length, kOverwriteBlockSize)));

    for (int pass = 1; pass <= method.passes && !stopped && failure == ERROR_SUCCESS; ++pass) {
        const int passByte = method.passBytes[pass - 1];
        observer.passStarted(pass, method.passes, passByte);
        if (passByte == OverwriteMethod::Random)
            FillRandom(buffer.data(), buffer.size());
        else
            std::memset(buffer.data(), passByte, buffer.size());

        unsigned long long position = 0;
        for (unsigned long long block = 0; block < blocks; ++block) {
            if (!WriteAll(file, buffer.data(), buffer.size())) {
                fail();
                break;
            }
            position += kOverwriteBlockSize;
            cumulative += step;
            observer.blockWritten(position, length, cumulative);
            control.checkpoint();
            if (control.quitRequested()) {
                ++runErrorCount;
                stopped = true;
                break;
            }
        }
        if (failure == ERROR_SUCCESS && tail && !WriteAll(file, buffer.data(), tail))
            fail();
        // The pass must reach the device before the name is wiped and the file deleted.
        if (failure == ERROR_SUCCESS && !::FlushFileBuffers(file))
            fail();
        if (failure == ERROR_SUCCESS)
            observer.passFlushed(pass, method.passes);
        if (method.passes > 1 && failure == ERROR_SUCCESS && !::SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
            fail();
    }
    observer.overwriteEnded();
    if (failure != ERROR_SUCCESS)
        return {OverwriteOutcome::WriteFailed, failure};
    return {stopped ? OverwriteOutcome::Stopped : OverwriteOutcome::Done};
}
