#include "CCrashNote.h"

#include <csignal>
#include <cstring>
#include <initializer_list>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace KV {

namespace {

volatile const char* g_what = nullptr;
volatile bool g_hasSeed = false;
volatile std::uint32_t g_seed = 0;
volatile int g_event = 0;
bool g_installed = false;

void Write(const char* text)
{
    const ssize_t ignored = write(STDERR_FILENO, text, std::strlen(text));
    static_cast<void>(ignored);
}

void WriteNumber(unsigned long long value)
{
    char digits[24];
    int length = 0;
    do {
        digits[length++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    char text[24];
    for (int i = 0; i < length; ++i)
        text[i] = digits[length - 1 - i];
    text[length] = '\0';
    Write(text);
}

void OnFatalSignal(int signal)
{
    CCrashNote::Print();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void CCrashNote::Install()
{
    if (g_installed)
        return;
    g_installed = true;
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer owns the fatal signals; it calls back before it ends the process.
    __sanitizer_set_death_callback(&CCrashNote::Print);
#else
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        std::signal(signal, &OnFatalSignal);
#endif
}

void CCrashNote::Enter(const char* what, bool hasSeed, std::uint32_t seed)
{
    g_what = what;
    g_hasSeed = hasSeed;
    g_seed = seed;
    g_event = 0;
}

void CCrashNote::SetEvent(int event)
{
    g_event = event;
}

void CCrashNote::Leave()
{
    g_what = nullptr;
}

void CCrashNote::Print()
{
    const char* what = const_cast<const char*>(g_what);
    if (what == nullptr)
        return;
    Write("korvel-plugincheck: the process is dying during ");
    Write(what);
    if (g_hasSeed) {
        Write(", seed ");
        WriteNumber(g_seed);
        Write(", event ");
        WriteNumber(static_cast<unsigned long long>(g_event));
    }
    Write("\n");
}

} // namespace KV
