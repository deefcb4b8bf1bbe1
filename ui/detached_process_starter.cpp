#include "ui/detached_process_starter.h"

#include <signal.h>
#include <spawn.h>

extern char** environ;

namespace pk10 {

bool DetachedProcessStarter::start(const std::filesystem::path& program,
                                   const std::vector<std::string>& arguments) {
    std::string path = program.string();
    std::vector<std::string> texts = arguments;
    std::vector<char*> argv;
    argv.reserve(texts.size() + 2);
    argv.push_back(path.data());
    for (std::string& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // The toolkit may block signals in its threads; the new program starts with none blocked.
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    // Sockets and files of this program must not stay open in one that outlives it.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif
    pid_t child = 0;
    const int rc = ::posix_spawn(&child, path.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return rc == 0;
}

}  // namespace pk10
