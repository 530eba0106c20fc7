#include <cstdio>

int main() {
    std::puts("korvana-sim");
    return 0;
}
