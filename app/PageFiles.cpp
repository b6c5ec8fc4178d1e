#include "app/PageFiles.h"
#include "toolkit/Exceptions.h"

#include <windows.h>
#include <algorithm>
#include <cstdio>

namespace {

long long gWriteLimit = -1;

// Closes a file handle on scope exit.
class FileHandle {
public:
    explicit FileHandle(HANDLE h) : FHandle(h) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }
    HANDLE Get() const { return FHandle; }
    bool Valid() const { return FHandle != INVALID_HANDLE_VALUE; }
    bool Close()
    {
        bool ok = true;
        if (Valid())
            ok = CloseHandle(FHandle) != 0;
        FHandle = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE FHandle;
};

} // namespace

std::string PageFileName(int page)
{
    char name[16];
    std::snprintf(name, sizeof name, "Page%02d.txt", page);
    return name;
}

std::string PageTempFileName(const std::string& name)
{
    return name + ".saving";
}

std::string NormalizeLineBreaks(const std::string& bytes)
{
    // Most files already have CR LF throughout: hand them back untouched.
    bool lone = false;
    for (size_t i = 0; i < bytes.size() && !lone; ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (IsDBCSLeadByte(c) && i + 1 < bytes.size()) {
            ++i;
            continue;
        }
        if (c == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            else
                lone = true;
        } else if (c == '\n') {
            lone = true;
        }
    }
    if (!lone)
        return bytes;

    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16 + 2);
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (IsDBCSLeadByte(static_cast<unsigned char>(c)) && i + 1 < bytes.size()) {
            out += c;
            out += bytes[++i];
        } else if (c == '\r') {
            out += "\r\n";
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

bool PageFileExists(const std::string& name)
{
    DWORD attr = GetFileAttributesA(name.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadPageFile(const std::string& name)
{
    FileHandle file(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        throw EFileError(FormatMessage1("Cannot open file %s", name));
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF)
        throw EFileError("Stream read error");
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        if (!ReadFile(file.Get(), bytes.data() + done, want, &got, nullptr))
            throw EFileError("Stream read error");
        if (got == 0)
            break; // the file shrank while we read it: keep what was there
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

void WritePageFile(const std::string& name, const std::string& bytes)
{
    const std::string temp = PageTempFileName(name);
    // A page file that is a directory can never be replaced; say so before
    // leaving a temporary file beside it.
    DWORD attr = GetFileAttributesA(name.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY))
        throw EFileError(FormatMessage1("Cannot create file %s", name));

    FileHandle file(CreateFileA(temp.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        throw EFileError(FormatMessage1("Cannot create file %s", name));
    size_t done = 0;
    bool ok = true;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        if (gWriteLimit >= 0)
            want = static_cast<DWORD>(std::min<long long>(want, std::max<long long>(0, gWriteLimit - static_cast<long long>(done))));
        if (want == 0 || !WriteFile(file.Get(), bytes.data() + done, want, &wrote, nullptr) || wrote == 0) {
            ok = false;
            break;
        }
        done += wrote;
    }
    if (ok)
        ok = FlushFileBuffers(file.Get()) != 0;
    ok = file.Close() && ok;
    if (!ok) {
        DeleteFileA(temp.c_str());
        throw EFileError("Stream write error");
    }
    if (!MoveFileExA(temp.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temp.c_str());
        throw EFileError(FormatMessage1("Cannot create file %s", name));
    }
}

void SetPageWriteLimitForTesting(long long bytes)
{
    gWriteLimit = bytes;
}
