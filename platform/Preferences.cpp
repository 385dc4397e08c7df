// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Preferences.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <glib.h>
#include <glib/gstdio.h>
#include <mutex>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* DOMAIN_NAME = "com.HKZX.Orvane";
constexpr const char* STRING_GROUP = "String";
constexpr const char* INT_GROUP = "Integer";
constexpr const char* CAPTURE_KEY = "Capture";
constexpr int CONTROLLER_COUNT = 128;
constexpr int NOTHING_DEFERRED = -1;
// A settings file this large is not ours: treat it as unreadable rather than parse it.
constexpr off_t MAX_FILE_SIZE = 1 << 20;

std::string configDirectory() {
    // Relative values of XDG_CONFIG_HOME are invalid by the XDG rules and ignored.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') home = g_get_home_dir();
    return std::string(home) + "/.config";
}

// GKeyFile refuses these in key names; the store ignores such keys instead of warning.
bool isStorableKey(const char* key) {
    if (!key || !*key || key[0] == '#') return false;
    size_t length = std::strlen(key);
    if (g_ascii_isspace(key[0]) || g_ascii_isspace(key[length - 1])) return false;
    if (std::strpbrk(key, "=[]\n\r")) return false;
    return g_utf8_validate(key, length, nullptr);
}

enum class FileState { Absent, Loaded, Unreadable };

FileState readSettingsFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? FileState::Absent : FileState::Unreadable;
    if (!S_ISREG(info.st_mode) || info.st_size > MAX_FILE_SIZE) return FileState::Unreadable;
    gchar* contents = nullptr;
    gsize length = 0;
    if (!g_file_get_contents(path.c_str(), &contents, &length, nullptr))
        return FileState::Unreadable;
    bytes.assign(contents, length);
    g_free(contents);
    return FileState::Loaded;
}

// The file parsed into a new key file; an unreadable or corrupt one gives an empty key file.
GKeyFile* parseSettings(FileState state, const std::string& bytes, bool* corrupt) {
    GKeyFile* file = g_key_file_new();
    bool parsed =
        state == FileState::Loaded &&
        g_key_file_load_from_data(file, bytes.data(), bytes.size(), G_KEY_FILE_NONE, nullptr);
    *corrupt = state == FileState::Unreadable || (state == FileState::Loaded && !parsed);
    if (!parsed) {
        g_key_file_free(file);
        file = g_key_file_new();
    }
    return file;
}

// Moves an unreadable file to a fresh name beside it so that the next write cannot destroy it.
bool keepAside(const std::string& path) {
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".corrupt-%lld",
                  static_cast<long long>(std::time(nullptr)));
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string aside = path + suffix;
        if (attempt > 0) aside += "-" + std::to_string(attempt);
        struct stat info;
        if (lstat(aside.c_str(), &info) == 0) continue;
        return rename(path.c_str(), aside.c_str()) == 0;
    }
    return false;
}

void syncDirectory(const std::string& directory) {
    int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

class FileLock {
public:
    explicit FileLock(const std::string& path)
        : fd(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd < 0) return;
        while (flock(fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                close(fd);
                fd = -1;
                return;
            }
        }
    }
    ~FileLock() {
        if (fd >= 0) close(fd); // releases the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return fd >= 0; }

private:
    int fd;
};

// The process-wide in-memory copy. Dispatcher-side calls serialise on the mutex and refresh the
// copy when the file changed; the processing thread touches only the atomic words.
class Store {
public:
    Store() {
        for (auto& parameter : deferred)
            parameter.store(NOTHING_DEFERRED, std::memory_order_relaxed);
    }
    ~Store() {
        if (memory) g_key_file_free(memory);
    }

    template <typename Read> auto read(Read&& reader) {
        std::lock_guard<std::mutex> guard(mutex);
        writeDeferredLocked();
        refreshLocked();
        return reader(memory);
    }

    void write(const std::function<void(GKeyFile*)>& change) {
        std::lock_guard<std::mutex> guard(mutex);
        writeDeferredLocked();
        writeLocked(change);
    }

    void flushDeferred() {
        std::lock_guard<std::mutex> guard(mutex);
        writeDeferredLocked();
    }

    bool captureEnabled() const { return captureOn.load(std::memory_order_relaxed); }

    void defer(int controller, int parameter) {
        if (controller < 0 || controller >= CONTROLLER_COUNT || parameter < 0) return;
        deferred[controller].store(parameter, std::memory_order_relaxed);
    }

private:
    static std::string filePath(const std::string& directory) {
        return directory + "/" + DOMAIN_NAME;
    }

    void adopt(GKeyFile* file, const std::string& path, const std::string& bytes) {
        if (memory) g_key_file_free(memory);
        memory = file;
        loadedPath = path;
        loadedBytes = bytes;
        gchar* capture = g_key_file_get_string(memory, STRING_GROUP, CAPTURE_KEY, nullptr);
        captureOn.store(capture && std::strcmp(capture, "Y") == 0, std::memory_order_relaxed);
        g_free(capture);
    }

    // Re-reading the small file is cheap and exact (timestamps are too coarse to tell two
    // quick writes apart); it is parsed again only when its bytes changed.
    void refreshLocked() {
        std::string path = filePath(configDirectory());
        std::string bytes;
        FileState state = readSettingsFile(path, bytes);
        if (memory && path == loadedPath && bytes == loadedBytes) return;
        bool corrupt = false;
        adopt(parseSettings(state, bytes, &corrupt), path, bytes);
    }

    void writeLocked(const std::function<void(GKeyFile*)>& change) {
        std::string directory = configDirectory();
        std::string path = filePath(directory);
        g_mkdir_with_parents(directory.c_str(), 0700);
        FileLock lock(path + ".lock");
        std::string bytes;
        FileState state = readSettingsFile(path, bytes);
        bool corrupt = false;
        GKeyFile* file = parseSettings(state, bytes, &corrupt);
        bool writable = lock.held() && (!corrupt || keepAside(path));
        change(file);
        gsize length = 0;
        gchar* data = g_key_file_to_data(file, &length, nullptr);
        auto flags = static_cast<GFileSetContentsFlags>(G_FILE_SET_CONTENTS_CONSISTENT |
                                                        G_FILE_SET_CONTENTS_DURABLE);
        if (writable &&
            g_file_set_contents_full(path.c_str(), data, length, flags, 0600, nullptr)) {
            syncDirectory(directory);
            bytes.assign(data, length);
        }
        g_free(data);
        // Even when the disk refused the change, this process goes on with the new value until
        // the file changes.
        adopt(file, path, bytes);
    }

    void writeDeferredLocked() {
        int learnt[CONTROLLER_COUNT];
        bool any = false;
        for (int controller = 0; controller < CONTROLLER_COUNT; ++controller) {
            learnt[controller] = NOTHING_DEFERRED;
            if (deferred[controller].load(std::memory_order_relaxed) != NOTHING_DEFERRED) {
                learnt[controller] =
                    deferred[controller].exchange(NOTHING_DEFERRED, std::memory_order_relaxed);
                any = true;
            }
        }
        if (!any) return;
        writeLocked([&learnt](GKeyFile* file) {
            for (int controller = 0; controller < CONTROLLER_COUNT; ++controller) {
                if (learnt[controller] == NOTHING_DEFERRED) continue;
                std::string key = std::to_string(controller);
                g_key_file_remove_key(file, STRING_GROUP, key.c_str(), nullptr);
                g_key_file_set_integer(file, INT_GROUP, key.c_str(), learnt[controller]);
            }
        });
    }

    std::mutex mutex;
    GKeyFile* memory = nullptr;
    std::string loadedPath;
    std::string loadedBytes;
    std::atomic<bool> captureOn{false};
    std::atomic<int> deferred[CONTROLLER_COUNT];
    static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
                  "the processing thread must not take a lock");
};

int integerIn(GKeyFile* file, const char* key) {
    GError* error = nullptr;
    int value = g_key_file_get_integer(file, INT_GROUP, key, &error);
    if (!error) return value;
    g_error_free(error);
    return 0;
}

Store& store() {
    static Store instance;
    return instance;
}

} // namespace

void loadStringFromPrefs(const char* key, char* out, int capacity) {
    if (!out || capacity <= 0) return;
    out[0] = '\0';
    if (!isStorableKey(key)) return;
    store().read([&](GKeyFile* file) {
        gchar* value = g_key_file_get_string(file, STRING_GROUP, key, nullptr);
        if (value) g_strlcpy(out, value, static_cast<gsize>(capacity));
        g_free(value);
    });
}

void saveStringToPrefs(const char* key, const char* value) {
    if (!isStorableKey(key) || !value || !g_utf8_validate(value, -1, nullptr)) return;
    store().write([&](GKeyFile* file) {
        g_key_file_remove_key(file, INT_GROUP, key, nullptr);
        g_key_file_set_string(file, STRING_GROUP, key, value);
    });
}

int loadIntFromPrefs(const char* key) {
    if (!isStorableKey(key)) return 0;
    return store().read([&](GKeyFile* file) { return integerIn(file, key); });
}

void saveIntToPrefs(const char* key, int value) {
    if (!isStorableKey(key)) return;
    store().write([&](GKeyFile* file) {
        g_key_file_remove_key(file, STRING_GROUP, key, nullptr);
        g_key_file_set_integer(file, INT_GROUP, key, value);
    });
}

bool prefIsYes(const char* key) {
    char value[8];
    loadStringFromPrefs(key, value, sizeof value);
    return std::strcmp(value, "Y") == 0;
}

bool prefIsNotNo(const char* key) {
    char value[8];
    loadStringFromPrefs(key, value, sizeof value);
    return std::strcmp(value, "N") != 0;
}

int getMidiCC(int controller) {
    return loadIntFromPrefs(std::to_string(controller).c_str());
}

void setMidiCC(int controller, int parameter) {
    saveIntToPrefs(std::to_string(controller).c_str(), parameter);
}

void getAllMidiCC(int (&parameters)[CONTROLLER_COUNT]) {
    store().read([&](GKeyFile* file) {
        for (int controller = 0; controller < CONTROLLER_COUNT; ++controller) {
            parameters[controller] = integerIn(file, std::to_string(controller).c_str());
        }
    });
}

void setAllMidiCC(const int (&parameters)[CONTROLLER_COUNT]) {
    store().write([&](GKeyFile* file) {
        for (int controller = 0; controller < CONTROLLER_COUNT; ++controller) {
            std::string key = std::to_string(controller);
            g_key_file_remove_key(file, STRING_GROUP, key.c_str(), nullptr);
            g_key_file_set_integer(file, INT_GROUP, key.c_str(), parameters[controller]);
        }
    });
}

void flushDeferredMidiCC() {
    store().flushDeferred();
}

bool captureEnabledInMemory() {
    return store().captureEnabled();
}

void deferMidiCC(int controller, int parameter) {
    store().defer(controller, parameter);
}
