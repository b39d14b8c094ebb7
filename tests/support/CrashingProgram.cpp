// A program that crashes at once. The test prefix must let such a program
// end, failing, rather than hold it for a debugger that nobody answers: a
// test that crashes then fails in a moment instead of at its timeout.
#include <cstdio>

int main()
{
    std::fputs("crashing on purpose\n", stderr);
    std::fflush(stderr);
    *static_cast<volatile int*>(nullptr) = 1;
    return 0;
}
