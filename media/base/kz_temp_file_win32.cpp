#include <windows.h>

unsigned KZGetProcessId() {
    return unsigned(GetCurrentProcessId());
}
