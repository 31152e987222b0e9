// Saves the password given as its argument into the machine prefix of RAVELGARD_PREFIX and exits
// 0, or 1 when the save raised. Run by password_kill_test under strace, which kills it at a
// chosen system call.
#include <cstdio>

#include "services/run_error.h"
#include "startup/globals.h"
#include "startup/password_store.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    rg::InitPaths();
    try {
        rg::SavePassword(argv[1]);
    } catch (const rg::RunError& error) {
        std::fprintf(stderr, "save failed: %d\n", error.number());
        return 1;
    }
    return 0;
}
