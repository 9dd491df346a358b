#include "core/profile.h"

#include "core/values.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

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

} // namespace

// Splits the bytes into lines as they arrive and keeps only what a lookup can
// return: for each key line the key and the first bytes of its value, so
// neither a huge file nor a huge line is ever held whole.
class ProfileParser {
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
    ProfileSnapshot& result() { return file_; }

  private:
    // LongHead: a line that began with "[" and grew past kHeadKeep bytes.
    enum class Phase { Lead, Head, LongHead, AfterEquals, Value, Skip };

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
                        phase_ = bracket_ ? Phase::LongHead : Phase::Skip;
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
            case Phase::LongHead:
                // A section name too long to keep still starts a section: its
                // keys must not be taken for keys of the section before.
                if (std::memchr(p, ']', static_cast<size_t>(end - p)) != nullptr) {
                    current_ = kNone;
                    phase_ = Phase::Skip;
                }
                p = end;
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
        case Phase::LongHead:
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
        if (!file_.index_.try_emplace(upperAscii(name), file_.sections_.size()).second) {
            current_ = kNone; // a repeated section: its first occurrence wins
            return;
        }
        current_ = file_.sections_.size();
        file_.sections_.push_back({std::string(name), {}});
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
        if (file_.sections_[current_].keys.try_emplace(key, value).second)
            charge(cost);
    }

    // A pathological file (millions of distinct keys) would need gigabytes of
    // tables; past the budget the rest of the file is not read.
    void charge(size_t bytes) {
        used_ += bytes;
        full_ = used_ > kBudget;
    }

    ProfileSnapshot file_;
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

namespace {

// A file is taken to be unchanged while all of these are. The change time
// moves with every write, rename, link or utimensat, so a rewrite at the same
// size with its old modification time put back (cp -p, tar) is noticed too.
struct Identity {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    timespec ctime{};

    explicit Identity(const struct stat& st)
        : dev(st.st_dev), ino(st.st_ino), size(st.st_size), mtime(st.st_mtim), ctime(st.st_ctim) {}
    bool operator==(const Identity& o) const {
        const auto same = [](const timespec& a, const timespec& b) {
            return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
        };
        return dev == o.dev && ino == o.ino && size == o.size && same(mtime, o.mtime) &&
               same(ctime, o.ctime);
    }
};

// File times have the granularity of the file system (often a clock tick or
// a whole second), so a file changed twice within that span can show the
// same times both times. A file whose change time is this close to the
// moment it was read is parsed again at its next use, like git's racy index.
constexpr long long kSettleNs = 1'000'000'000;

bool settled(const timespec& changed, const timespec& readAt) {
    const auto ns = [](const timespec& t) {
        return static_cast<long long>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
    };
    return ns(readAt) - ns(changed) >= kSettleNs;
}

// Parses the file behind fd (already known to be a regular file).
std::shared_ptr<const ProfileSnapshot> parseFile(int fd) {
    ProfileParser parser;
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
    return std::make_shared<const ProfileSnapshot>(std::move(parser.result()));
}

struct CacheEntry {
    std::string path;
    Identity identity;
    bool settled = false;
    uint64_t lastUse = 0;
    std::shared_ptr<const ProfileSnapshot> file;
};

std::mutex gCacheMutex;
std::vector<CacheEntry> gCache;
uint64_t gUseClock = 0;

struct Pinned {
    std::string path;
    std::shared_ptr<const ProfileSnapshot> file;
};
thread_local std::vector<Pinned> tPins;

const Pinned* findPin(const std::string& path) {
    for (auto it = tPins.rbegin(); it != tPins.rend(); ++it)
        if (it->path == path)
            return &*it;
    return nullptr;
}

// The snapshot an operation on path reads from: its pin's, else the file now.
std::shared_ptr<const ProfileSnapshot> current(const std::string& path) {
    if (const Pinned* pin = findPin(path))
        return pin->file;
    return profileSnapshot(path);
}

} // namespace

std::string ProfileSnapshot::lookup(std::string_view section, std::string_view key) const {
    const auto s = index_.find(upperAscii(section));
    if (s == index_.end())
        return {};
    const auto& keys = sections_[s->second].keys;
    const auto k = keys.find(upperAscii(key));
    return k == keys.end() ? std::string() : k->second;
}

std::vector<std::string> ProfileSnapshot::sectionNames() const {
    std::vector<std::string> names;
    names.reserve(sections_.size());
    for (const auto& section : sections_)
        names.push_back(section.name);
    return names;
}

std::shared_ptr<const ProfileSnapshot> profileSnapshot(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return nullptr;
    {
        std::lock_guard lock(gCacheMutex);
        const auto entry = std::find_if(gCache.begin(), gCache.end(),
                                        [&](const CacheEntry& e) { return e.path == path; });
        if (entry != gCache.end() && entry->settled && entry->identity == Identity(st)) {
            entry->lastUse = ++gUseClock;
            return entry->file;
        }
    }

    // Parsed outside the lock: one slow file must not hold up readers of
    // others. The snapshot and its identity both come from this one fd.
    timespec readAt{};
    ::clock_gettime(CLOCK_REALTIME, &readAt);
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

    std::lock_guard lock(gCacheMutex);
    auto entry = std::find_if(gCache.begin(), gCache.end(),
                              [&](const CacheEntry& e) { return e.path == path; });
    if (entry == gCache.end()) {
        if (gCache.size() < kCachedFiles) {
            entry =
                gCache.insert(gCache.end(), CacheEntry{path, Identity(opened), false, 0, nullptr});
        } else {
            entry =
                std::min_element(gCache.begin(), gCache.end(), [](const auto& a, const auto& b) {
                    return a.lastUse < b.lastUse;
                });
            entry->path = path;
        }
    }
    entry->identity = Identity(opened);
    entry->settled = settled(opened.st_ctim, readAt);
    entry->lastUse = ++gUseClock;
    entry->file = file;
    return file;
}

ProfilePin::ProfilePin(std::string path) : path_(std::move(path)) {
    const Pinned* outer = findPin(path_);
    snapshot_ = outer ? outer->file : profileSnapshot(path_);
    tPins.push_back({path_, snapshot_});
}

ProfilePin::~ProfilePin() {
    // Pins live on the stack, so this is the last one of the path.
    for (auto it = tPins.rbegin(); it != tPins.rend(); ++it)
        if (it->path == path_) {
            tPins.erase(std::next(it).base());
            break;
        }
}

std::string readProfileString(const std::string& path, std::string_view section,
                              std::string_view key) {
    const auto file = current(path);
    return file ? file->lookup(section, key) : std::string();
}

std::vector<std::string> profileSectionNames(const std::string& path) {
    const auto file = current(path);
    return file ? file->sectionNames() : std::vector<std::string>();
}

void clearProfileCache() {
    std::lock_guard lock(gCacheMutex);
    gCache.clear();
}

} // namespace lumaris
