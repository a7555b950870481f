#include <unistd.h>

unsigned KZGetProcessId() {
    return unsigned(getpid());
}
