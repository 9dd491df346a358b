#include "core/hexblock.h"

#include "core/fileio.h"
#include "core/values.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace lumaris {

namespace {

constexpr size_t kBytesPerLine = 64;

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Reads a source line by line and keeps the bytes of the named block.
class Decoder {
  public:
    explicit Decoder(std::string_view name)
        : mStart(upperAscii(">--> " + std::string(name) + " >-->")),
          mEnd(upperAscii("<--< " + std::string(name) + " <--<")) {}

    bool finished() const { return mFinished; }

    void line(std::string_view raw, std::string& out) {
        if (mFinished)
            return;
        // The end line counts only exactly as written: with a blank around
        // it, it is data.
        if (mInside && raw.size() == mEnd.size() && upperAscii(raw) == mEnd) {
            mFinished = true;
            return;
        }
        const std::string line = trimmed(raw);
        if (mInside) {
            // Each pair (a lone digit at the end of an odd line) is read as far
            // as it holds hex digits; none gives 0.
            for (size_t i = 0; i < line.size(); i += 2) {
                int value = hexDigit(line[i]);
                if (value < 0) {
                    value = 0;
                } else if (i + 1 < line.size()) {
                    const int low = hexDigit(line[i + 1]);
                    if (low >= 0)
                        value = value * 16 + low;
                }
                out.push_back(char(value));
            }
        } else if (line.size() == mStart.size() && upperAscii(line) == mStart) {
            mInside = true;
        }
    }

  private:
    std::string mStart;
    std::string mEnd;
    bool mInside = false;
    bool mFinished = false;
};

// Splits text into lines at CR LF, CR or LF, carrying a partial line over
// between calls. A CR at the end of one chunk and an LF at the start of the
// next still make one line end.
class LineSplitter {
  public:
    template <typename F> void feed(std::string_view chunk, F&& onLine) {
        for (char c : chunk) {
            if (mAfterCr && c == '\n') {
                mAfterCr = false;
                continue;
            }
            mAfterCr = c == '\r';
            if (c == '\r' || c == '\n') {
                onLine(std::string_view(mLine));
                mLine.clear();
            } else {
                mLine.push_back(c);
            }
        }
    }
    template <typename F> void finish(F&& onLine) {
        if (!mLine.empty())
            onLine(std::string_view(mLine));
        mLine.clear();
    }

  private:
    std::string mLine;
    bool mAfterCr = false;
};

bool isFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

// stdio rather than streams: a stream's buffer iterator throws on a read error.
struct File {
    std::FILE* f = nullptr;
    File(const std::string& path, const char* mode) : f(std::fopen(path.c_str(), mode)) {}
    ~File() {
        if (f)
            std::fclose(f);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    explicit operator bool() const { return f != nullptr; }
    bool write(std::string_view data) {
        return data.empty() || std::fwrite(data.data(), 1, data.size(), f) == data.size();
    }
    // Closes now, so that a failed flush is seen.
    bool close() {
        const bool ok = std::fclose(f) == 0;
        f = nullptr;
        return ok;
    }
};

} // namespace

std::string hexBlockText(std::string_view bytes, std::string_view name) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2 + bytes.size() / kBytesPerLine * 2 + 2 * name.size() + 24);
    text += ">--> ";
    text += name;
    text += " >-->\r\n";
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        text.push_back(kDigits[b >> 4]);
        text.push_back(kDigits[b & 15]);
        if ((i + 1) % kBytesPerLine == 0 || i + 1 == bytes.size())
            text += "\r\n";
    }
    text += "<--< ";
    text += name;
    text += " <--<\r\n";
    return text;
}

bool appendFileAsHexBlock(const std::string& source, const std::string& target,
                          std::string_view name) {
    if (!isFile(source))
        return true;
    const std::optional<std::string> bytes = readWholeFile(source);
    if (!bytes)
        return false;
    File out(target, "ab");
    if (!out)
        return false;
    const bool written = out.write(hexBlockText(*bytes, name));
    return out.close() && written;
}

std::string decodeHexBlock(std::string_view text, std::string_view name) {
    Decoder decoder(name);
    LineSplitter lines;
    std::string out;
    auto onLine = [&](std::string_view line) { decoder.line(line, out); };
    lines.feed(text, onLine);
    lines.finish(onLine);
    return out;
}

bool extractHexBlock(const std::string& source, const std::string& target, std::string_view name) {
    if (!isFile(source))
        return true;
    std::error_code ec;
    std::filesystem::remove(target, ec);
    File in(source, "rb");
    File out(target, "wb");
    if (!in || !out)
        return false;

    Decoder decoder(name);
    LineSplitter lines;
    std::string bytes;
    auto onLine = [&](std::string_view line) { decoder.line(line, bytes); };
    char chunk[1 << 16];
    bool ok = true;
    size_t n;
    while (ok && !decoder.finished() && (n = std::fread(chunk, 1, sizeof chunk, in.f)) > 0) {
        lines.feed(std::string_view(chunk, n), onLine);
        ok = out.write(bytes);
        bytes.clear();
    }
    ok = ok && !std::ferror(in.f);
    if (ok && !decoder.finished())
        lines.finish(onLine);
    ok = out.write(bytes) && ok;
    return out.close() && ok;
}

} // namespace lumaris
