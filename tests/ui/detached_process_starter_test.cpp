#include "ui/detached_process_starter.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace pk10 {
namespace {

// A real process: it reports its session, whether it sees a descriptor this process left
// open, and its arguments.
TEST(DetachedProcessStarter, StartsInASessionOfItsOwnWithTheArgumentsAndNoDescriptors) {
    std::string pattern = (std::filesystem::temp_directory_path() / "pk10-start-XXXXXX").string();
    const std::filesystem::path folder = ::mkdtemp(pattern.data());
    const std::filesystem::path marker = folder / "report";
    const int leftOpen = ::open(folder.c_str(), O_RDONLY);  // no O_CLOEXEC on purpose
    ASSERT_GE(leftOpen, 0);
    const std::string script =
        "read -r pid comm state ppid pgrp session rest < /proc/$$/stat; "
        "if [ -e /proc/$$/fd/" +
        std::to_string(leftOpen) +
        " ]; then fd=open; else fd=closed; fi; "
        "echo \"$session $$ $fd $1|$2\" > \"$0.tmp\"; mv \"$0.tmp\" \"$0\"";

    DetachedProcessStarter starter;
    ASSERT_TRUE(starter.start("/bin/sh", {"-c", script, marker.string(), "a b", "澜星.exe"}));
    ::close(leftOpen);
    for (int i = 0; i < 200 && !std::filesystem::exists(marker); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    std::ifstream in(marker);
    long session = 0;
    long pid = -1;
    std::string fd;
    std::string arguments;
    in >> session >> pid >> fd;
    std::getline(in >> std::ws, arguments);
    EXPECT_EQ(session, pid) << "the program leads a session of its own";
    EXPECT_NE(session, ::getsid(0));
    EXPECT_EQ(fd, "closed");
    EXPECT_EQ(arguments, "a b|澜星.exe");
    EXPECT_FALSE(starter.start(folder / "missing", {}));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace pk10
