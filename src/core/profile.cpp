#include "core/profile.h"

#include "core/values.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace lumaris {

namespace {

constexpr size_t kMaxValue = 254;            // what a 255-byte buffer holds
constexpr size_t kValueKeep = kMaxValue + 2; // room for a quote at each end
constexpr size_t kHeadKeep = 64 * 1024;      // longer names never match anything
constexpr size_t kBudget = 32u << 20;        // parsed bytes kept per file
constexpr size_t kMaxFileBytes = 256u << 20; // a huge sparse file must not hang us
constexpr size_t kCachedFiles = 16;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

struct Section {
    std::string name;
    std::unordered_map<std::string, std::string> keys; // upper-cased key -> value
};

struct ParsedFile {
    std::vector<Section> sections;
    std::unordered_map<std::string, size_t> index; // upper-cased name -> position
};

// Splits the bytes into lines as they arrive and keeps only what a lookup can
// return: for each key line the key and the first bytes of its value, so
// neither a huge file nor a huge line is ever held whole.
class Parser {
  public:
    void feed(const char* data, size_t size) {
        const char* end = data + size;
        // memchr is many times faster than a byte loop; each kind of line end
        // is searched again only once passed, so CR-only files stay linear.
        const char* nextCr = nullptr;
        const char* nextLf = nullptr;
        const auto find = [end](const char* from, char c) {
            const void* hit = std::memchr(from, c, static_cast<size_t>(end - from));
            return hit != nullptr ? static_cast<const char*>(hit) : end;
        };
        while (data < end && !full_) {
            if (nextCr == nullptr || nextCr < data)
                nextCr = find(data, '\r');
            if (nextLf == nullptr || nextLf < data)
                nextLf = find(data, '\n');
            const char* eol = std::min(nextCr, nextLf);
            take(data, eol);
            if (eol == end)
                break;
            endLine();
            data = eol + 1;
        }
    }

    void finish() { endLine(); }
    bool full() const { return full_; }
    ParsedFile& result() { return file_; }

  private:
    enum class Phase { Lead, Head, AfterEquals, Value, Skip };

    void take(const char* p, const char* end) {
        while (p < end) {
            switch (phase_) {
            case Phase::Lead:
                while (p < end && isBlank(*p))
                    ++p;
                if (p < end) {
                    bracket_ = *p == '[';
                    phase_ = Phase::Head;
                }
                break;
            case Phase::Head:
                for (; p < end && phase_ == Phase::Head; ++p) {
                    if (head_.size() == kHeadKeep) {
                        phase_ = Phase::Skip;
                        break;
                    }
                    if (bracket_ && *p == ']') {
                        openSection(head_.substr(1));
                        phase_ = Phase::Skip;
                    } else if (!bracket_ && *p == '=') {
                        phase_ = Phase::AfterEquals;
                    } else {
                        head_ += *p;
                    }
                }
                break;
            case Phase::AfterEquals:
                while (p < end && isBlank(*p))
                    ++p;
                if (p < end)
                    phase_ = Phase::Value;
                break;
            case Phase::Value: {
                const size_t n = static_cast<size_t>(end - p);
                value_.append(p, std::min(n, kValueKeep - value_.size()));
                for (const char* q = end; q > p; --q) {
                    if (!isBlank(q[-1])) {
                        lastNonBlank_ = valueLength_ + static_cast<size_t>(q - 1 - p);
                        lastChar_ = q[-1];
                        break;
                    }
                }
                valueLength_ += n;
                p = end;
                break;
            }
            case Phase::Skip:
                p = end;
                break;
            }
        }
    }

    void endLine() {
        switch (phase_) {
        case Phase::Head:
            // "[name" without "]" is an ordinary line that may hold a key.
            if (bracket_) {
                const size_t eq = head_.find('=');
                if (eq != std::string::npos) {
                    const auto value = trimBlanks(std::string_view(head_).substr(eq + 1));
                    addKey(std::string_view(head_).substr(0, eq), value, value.size(),
                           value.empty() ? '\0' : value.back());
                }
            }
            break;
        case Phase::AfterEquals:
            addKey(head_, {}, 0, '\0');
            break;
        case Phase::Value: {
            const size_t length = lastNonBlank_ + 1;
            addKey(head_, std::string_view(value_.data(), std::min(length, value_.size())), length,
                   lastChar_);
            break;
        }
        case Phase::Lead:
        case Phase::Skip:
            break;
        }
        phase_ = Phase::Lead;
        bracket_ = false;
        head_.clear();
        value_.clear();
        valueLength_ = 0;
        lastNonBlank_ = 0;
    }

    void openSection(std::string_view rawName) {
        const std::string_view name = trimBlanks(rawName);
        if (!file_.index.try_emplace(upperAscii(name), file_.sections.size()).second) {
            current_ = kNone; // a repeated section: its first occurrence wins
            return;
        }
        current_ = file_.sections.size();
        file_.sections.push_back({std::string(name), {}});
        charge(2 * name.size() + 160);
    }

    // kept holds the first bytes of the trimmed value, which is length bytes
    // long and ends in last.
    void addKey(std::string_view rawKey, std::string_view kept, size_t length, char last) {
        if (current_ == kNone)
            return;
        std::string_view value = kept;
        if (length >= 2 && (value.front() == '"' || value.front() == '\'') &&
            last == value.front()) {
            if (kept.size() == length)
                value.remove_suffix(1);
            value.remove_prefix(1);
        }
        value = value.substr(0, std::min(value.find('\0'), kMaxValue));
        const std::string key = upperAscii(trimBlanks(rawKey));
        const size_t cost = key.size() + value.size() + 96;
        if (file_.sections[current_].keys.try_emplace(key, value).second)
            charge(cost);
    }

    // A pathological file (millions of distinct keys) would need gigabytes of
    // tables; past the budget the rest of the file is not read.
    void charge(size_t bytes) {
        used_ += bytes;
        full_ = used_ > kBudget;
    }

    ParsedFile file_;
    static constexpr size_t kNone = SIZE_MAX;
    size_t current_ = kNone; // none before the first section and in repeats
    Phase phase_ = Phase::Lead;
    bool bracket_ = false;
    std::string head_;  // the line up to "=" (or the section line)
    std::string value_; // the first kValueKeep bytes of the value
    size_t valueLength_ = 0;
    size_t lastNonBlank_ = 0; // offset in the value of its last non-blank byte
    char lastChar_ = '\0';
    size_t used_ = 0;
    bool full_ = false;
};

struct Identity {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};

    explicit Identity(const struct stat& st)
        : dev(st.st_dev), ino(st.st_ino), size(st.st_size), mtime(st.st_mtim) {}
    bool operator==(const Identity& o) const {
        return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec;
    }
};

// Parses the file behind fd (already known to be a regular file).
std::shared_ptr<const ParsedFile> parseFile(int fd) {
    Parser parser;
    constexpr size_t kChunk = 256 * 1024;
    std::unique_ptr<char[]> buffer(new char[kChunk]);
    for (size_t total = 0; !parser.full() && total < kMaxFileBytes;) {
        const ssize_t n = ::read(fd, buffer.get(), kChunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        parser.feed(buffer.get(), static_cast<size_t>(n));
        total += static_cast<size_t>(n);
    }
    parser.finish();
    return std::make_shared<const ParsedFile>(std::move(parser.result()));
}

struct CacheEntry {
    std::string path;
    Identity identity;
    uint64_t lastUse = 0;
    std::shared_ptr<const ParsedFile> file;
};

std::mutex gCacheMutex;
std::vector<CacheEntry> gCache;
uint64_t gUseClock = 0;

// The parsed file at path, parsed again when the file changed; null when it
// is not a readable regular file.
std::shared_ptr<const ParsedFile> loadProfile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return nullptr;
    const Identity identity(st);

    std::lock_guard lock(gCacheMutex);
    auto entry = std::find_if(gCache.begin(), gCache.end(),
                              [&](const CacheEntry& e) { return e.path == path; });
    if (entry != gCache.end() && entry->identity == identity) {
        entry->lastUse = ++gUseClock;
        return entry->file;
    }

    // O_NONBLOCK: a FIFO swapped in after the stat must not block the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    auto file = parseFile(fd);
    ::close(fd);

    if (entry == gCache.end()) {
        if (gCache.size() < kCachedFiles) {
            entry = gCache.insert(gCache.end(), CacheEntry{path, Identity(opened), 0, nullptr});
        } else {
            entry =
                std::min_element(gCache.begin(), gCache.end(), [](const auto& a, const auto& b) {
                    return a.lastUse < b.lastUse;
                });
            entry->path = path;
        }
    }
    entry->identity = Identity(opened);
    entry->lastUse = ++gUseClock;
    entry->file = file;
    return file;
}

} // namespace

std::string readProfileString(const std::string& path, std::string_view section,
                              std::string_view key) {
    const auto file = loadProfile(path);
    if (!file)
        return {};
    const auto s = file->index.find(upperAscii(section));
    if (s == file->index.end())
        return {};
    const auto& keys = file->sections[s->second].keys;
    const auto k = keys.find(upperAscii(key));
    return k == keys.end() ? std::string() : k->second;
}

std::vector<std::string> profileSectionNames(const std::string& path) {
    std::vector<std::string> names;
    if (const auto file = loadProfile(path)) {
        names.reserve(file->sections.size());
        for (const auto& section : file->sections)
            names.push_back(section.name);
    }
    return names;
}

void clearProfileCache() {
    std::lock_guard lock(gCacheMutex);
    gCache.clear();
}

} // namespace lumaris
