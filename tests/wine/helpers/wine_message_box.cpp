// wine_message_box CAPTION TEXT [TYPE]
// Shows a message box (TYPE: MessageBox flags in decimal or 0x hex, default MB_OKCANCEL) and exits
// with the id of the button that closed it, which it also prints; the harness self-test closes it
// by its caption and checks the answer.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: wine_message_box CAPTION TEXT [TYPE]\n");
        return 255;
    }
    UINT type = argc > 3 ? UINT(std::strtoul(argv[3], nullptr, 0)) : UINT(MB_OKCANCEL);
    int answer = MessageBoxA(nullptr, argv[2], argv[1], type);
    std::printf("%d\n", answer);
    std::fflush(stdout);
    return answer;
}
