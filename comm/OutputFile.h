#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orsan {

// One output file written so that readers never see half of it.
//
// A regular file (or a name not yet taken) is written to a temporary file
// beside it and renamed into place by Commit, so a failed or abandoned write
// leaves the earlier file whole. Anything else at the path (a device, a
// FIFO, a socket) is written in place: renaming over it would replace the
// device with a plain file. With StandardOutput, the name "-" means the
// process's standard output.
class OutputFile {
public:
    enum class Dash { FileName, StandardOutput };

    OutputFile() = default;
    ~OutputFile();  // without a Commit the temporary file is removed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool Open(const std::string& path, Dash dash = Dash::FileName);
    bool Write(std::string_view bytes);
    // Flushes; a temporary file is synced and renamed over the target.
    bool Commit();
    // Drops what was written to a temporary file; idempotent.
    void Cancel();

    // Why the last call failed, as the C library says it.
    const std::string& Error() const { return error_; }
    // True when the target is written directly (device, FIFO, standard output).
    bool InPlace() const { return inPlace_; }

private:
    bool WriteAll(std::string_view bytes);
    bool Flush();
    bool Fail(int errnoValue);
    void CloseFd();

    int fd_ = -1;
    bool ownsFd_ = false;
    bool inPlace_ = false;
    std::string target_;
    std::string temp_;
    std::string buffer_;
    std::string error_;
};

// Open, one Write and Commit; on failure error says why.
bool WriteOutputFile(const std::string& path, std::string_view bytes, std::string& error,
                     OutputFile::Dash dash = OutputFile::Dash::FileName);

}  // namespace orsan
