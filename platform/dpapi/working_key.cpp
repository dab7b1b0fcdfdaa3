#include "platform/dpapi/working_key.h"

#include <sodium.h>

#include <string>

#include "platform/dpapi/machine_id.h"
#include "platform/dpapi/working_key_cache.h"
#include "platform/win/kestro_home.h"

namespace {

// Domain separation: the stored key is never used for anything but this.
constexpr char kDerivationLabel[] = "Kestro data protection key v1";

void DeriveWorkingKey(const SecretKey& stored, std::string_view machineId, SecretKey& key) {
    std::string input(kDerivationLabel, sizeof kDerivationLabel);  // label and its terminator
    input += machineId;
    crypto_generichash(key.data(), SecretKey::kBytes,
                       reinterpret_cast<const unsigned char*>(input.data()), input.size(),
                       stored.data(), SecretKey::kBytes);
}

}  // namespace

bool LoadWorkingKey(KeyFileAccess access, KeyFileCheck check, SecretKey& key) {
    std::string_view machineId;
    if (!ReadMachineId(machineId)) return false;
    const HomeEnvironment environment = HomeEnvironment::Current();
    if (FindCachedWorkingKey(environment, machineId, check == KeyFileCheck::Always, key))
        return true;

    SecretKey stored;
    KeyFileStamp stamp;
    if (!LoadKeyFile(KestroHomeDirectory() + "/protection.key", access, stored, stamp))
        return false;
    DeriveWorkingKey(stored, machineId, key);
    CacheWorkingKey(environment, machineId, key, stamp);
    return true;
}
