#include "platform/dpapi/working_key.h"

#include <sodium.h>

#include <string>

#include "platform/dpapi/machine_id.h"
#include "platform/win/kestro_home.h"

namespace {

// Domain separation: the stored key is never used for anything but this.
constexpr char kDerivationLabel[] = "Kestro data protection key v1";

}  // namespace

bool LoadWorkingKey(KeyFileAccess access, SecretKey& key) {
    std::string machineId;
    if (!ReadMachineId(machineId)) return false;
    SecretKey stored;
    if (!LoadKeyFile(KestroHomeDirectory() + "/protection.key", access, stored)) return false;

    std::string input(kDerivationLabel, sizeof kDerivationLabel);  // label and its terminator
    input += machineId;
    crypto_generichash(key.data(), SecretKey::kBytes,
                       reinterpret_cast<const unsigned char*>(input.data()), input.size(),
                       stored.data(), SecretKey::kBytes);
    return true;
}
