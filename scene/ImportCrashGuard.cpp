#include "scene/ImportCrashGuard.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <iterator>

namespace common::scene {
namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

// Prepared before the import starts: a signal handler may not format or allocate.
char message[1024];
std::size_t messageLength = 0;
struct sigaction previousActions[std::size(kSignals)];
// A runaway recursion leaves no stack for the handler; it runs on this one.
char handlerStack[64 * 1024];
stack_t previousStack;
// Standard error as it was: the importer's own assertion text goes nowhere, so the player sees
// one line from us.
int savedStderr = -1;

void onCrash(int /*signal*/) {
    const ssize_t written = write(savedStderr >= 0 ? savedStderr : STDERR_FILENO, message, messageLength);
    (void)written;
    _exit(-1);
}

void prepareMessage(const std::string& path) {
    const int length = std::snprintf(message, sizeof(message),
                                     "Could not read '%s': the model importer crashed\n", path.c_str());
    if (length < 0) {
        messageLength = 0;
    } else if (static_cast<std::size_t>(length) >= sizeof(message)) {
        messageLength = sizeof(message) - 1;  // cut short, still one line
        message[messageLength - 1] = '\n';
    } else {
        messageLength = static_cast<std::size_t>(length);
    }
}

}  // namespace

ImportCrashGuard::ImportCrashGuard(const std::string& path) {
    prepareMessage(path);
    stack_t stack = {};
    stack.ss_sp = handlerStack;
    stack.ss_size = sizeof(handlerStack);
    sigaltstack(&stack, &previousStack);
    struct sigaction action = {};
    action.sa_handler = onCrash;
    action.sa_flags = SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], &action, &previousActions[i]);
    }
    std::fflush(stderr);
    savedStderr = dup(STDERR_FILENO);
    const int nowhere = open("/dev/null", O_WRONLY);
    if (savedStderr >= 0 && nowhere >= 0) {
        dup2(nowhere, STDERR_FILENO);
    }
    if (nowhere >= 0) {
        close(nowhere);
    }
}

ImportCrashGuard::~ImportCrashGuard() {
    if (savedStderr >= 0) {
        dup2(savedStderr, STDERR_FILENO);
        close(savedStderr);
        savedStderr = -1;
    }
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], &previousActions[i], nullptr);
    }
    sigaltstack(&previousStack, nullptr);
}

}  // namespace common::scene
