// The updater: `更新器 TITLE VERSION NEW_VERSION ADDRESS PROGRAM`, started by the program beside
// it just before the program ends.
#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "service/codec.h"
#include "updater/system_update_environment.h"
#include "updater/update_public_key.h"

int main(int argc, char** argv) {
    if (argc != 6) {
        std::cerr << "usage: 更新器 TITLE VERSION NEW_VERSION ADDRESS PROGRAM\n";
        return 2;
    }
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        self = std::filesystem::absolute(argv[0]);
    }
    const std::filesystem::path dir = self.parent_path();
    const pk10::UpdateRequest request{argv[1], argv[2], argv[3], argv[4], argv[5]};
    pk10::SystemUpdateEnvironment environment(dir / "更新器.log");
    pk10::UpdateInstaller installer(dir, pk10::hexToBytes(pk10::kUpdatePublicKeyHex), environment);
    return installer.run(request).installed ? 0 : 1;
}
