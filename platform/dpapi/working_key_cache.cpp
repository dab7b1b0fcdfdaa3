#include "platform/dpapi/working_key_cache.h"

#include <pthread.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

namespace {

std::string_view Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

class Cache;
Cache* g_cache = nullptr;  // set once, before any fork or exit handler can run

class Cache {
public:
    static Cache& Instance() {
        // Never destroyed: a thread may still protect a value while the
        // program exits. The key is wiped at exit instead.
        static Cache* cache = [] {
            g_cache = new Cache;
            pthread_atfork(LockForFork, UnlockAfterFork, ForgetInChild);
            std::atexit(ForgetAtExit);
            return g_cache;
        }();
        return *cache;
    }

    bool Find(const HomeEnvironment& environment, std::string_view machineId, bool checkKeyFile,
              SecretKey& key) {
        const std::lock_guard<std::mutex> hold(m_lock);
        if (!m_valid || environment.kestroHome != m_kestroHome ||
            environment.configHome != m_configHome || environment.home != m_home ||
            machineId != m_machineId) {
            return false;
        }
        if (checkKeyFile && !m_stamp.Unchanged()) {
            Forget();
            return false;
        }
        std::memcpy(key.data(), m_key.data(), SecretKey::kBytes);
        return true;
    }

    void Keep(const HomeEnvironment& environment, std::string_view machineId, const SecretKey& key,
              KeyFileStamp& stamp) {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_kestroHome = environment.kestroHome;
        m_configHome = environment.configHome;
        m_home = environment.home;
        m_machineId = machineId;
        std::memcpy(m_key.data(), key.data(), SecretKey::kBytes);
        m_stamp = std::move(stamp);
        m_valid = true;
    }

private:
    void Forget() {
        m_valid = false;
        sodium_memzero(m_key.data(), SecretKey::kBytes);
        m_stamp.Reset();
    }

    // The lock is held across fork, so the child never inherits it taken
    // by a thread that does not exist there.
    static void LockForFork() { g_cache->m_lock.lock(); }
    static void UnlockAfterFork() { g_cache->m_lock.unlock(); }
    static void ForgetInChild() {
        g_cache->Forget();
        g_cache->m_lock.unlock();
    }
    static void ForgetAtExit() {
        const std::lock_guard<std::mutex> hold(g_cache->m_lock);
        g_cache->Forget();
    }

    std::mutex m_lock;
    bool m_valid = false;
    std::string m_kestroHome, m_configHome, m_home, m_machineId;
    SecretKey m_key;
    KeyFileStamp m_stamp;
};

}  // namespace

HomeEnvironment HomeEnvironment::Current() {
    HomeEnvironment current{Variable("KESTRO_HOME"), {}, {}};
    // The others count only when KESTRO_HOME names no directory.
    if (current.kestroHome.empty()) {
        current.configHome = Variable("XDG_CONFIG_HOME");
        current.home = Variable("HOME");
    }
    return current;
}

bool FindCachedWorkingKey(const HomeEnvironment& environment, std::string_view machineId,
                          bool checkKeyFile, SecretKey& key) {
    return Cache::Instance().Find(environment, machineId, checkKeyFile, key);
}

void CacheWorkingKey(const HomeEnvironment& environment, std::string_view machineId,
                     const SecretKey& key, KeyFileStamp& stamp) {
    Cache::Instance().Keep(environment, machineId, key, stamp);
}
