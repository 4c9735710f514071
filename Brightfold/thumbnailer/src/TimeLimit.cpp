#include "TimeLimit.h"

#include <csignal>
#include <unistd.h>

namespace brightfold::thumbnailer {
namespace {

extern "C" void giveUp(int) {
    // Only async-signal-safe calls here.
    constexpr char message[] = "brightfold-thumbnailer: gave up: the model takes too long\n";
    static_cast<void>(::write(STDERR_FILENO, message, sizeof message - 1));
    ::_exit(1);
}

} // namespace

void endProcessAfter(unsigned seconds) {
    std::signal(SIGALRM, giveUp);
    ::alarm(seconds);
}

} // namespace brightfold::thumbnailer
