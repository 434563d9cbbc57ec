#include <cstdio>

// Until the window exists the program only says which version it is.
int main() {
    std::printf("Tavrino %s\n", TAVRINO_VERSION);
    return 0;
}
