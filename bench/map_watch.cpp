// Starts a program and times how long it takes until a top-level window of that program is mapped on the
// X display, then reads the program's peak resident memory and kills it.
//
// Usage: map_watch [--settle MS] [--timeout MS] TITLE PROGRAM [ARGS...]
// Prints one line: "<milliseconds from fork to MapNotify> <VmHWM in kB> <CPU milliseconds to MapNotify>".
//
// The watcher listens for MapNotify on the root window (SubstructureNotify), so the time comes from the
// X server's own event, with no polling interval in it. Without a window manager a top-level window is
// mapped directly as a child of the root. A window counts when its _NET_WM_PID is the child's and its
// title contains TITLE. After the map it waits --settle milliseconds (the first paint) before reading
// VmHWM. The CPU time is that of the program's threads alive at the map (schedstat), which a busy
// machine stretches far less than the time to the map.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <dirent.h>

#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

double nowMs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

long cardinalProperty(Display* d, Window w, Atom property)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    long value = -1;
    if (XGetWindowProperty(d, w, property, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data) ==
            Success &&
        data && format == 32 && count == 1)
        value = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    if (data)
        XFree(data);
    return value;
}

bool titleContains(Display* d, Window w, Atom netWmName, Atom utf8, const char* wanted)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(d, w, netWmName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) ==
            Success &&
        data && format == 8)
        found = std::strstr(reinterpret_cast<const char*>(data), wanted) != nullptr;
    if (data)
        XFree(data);
    return found;
}

long peakResidentKb(pid_t pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/status", static_cast<int>(pid));
    FILE* f = fopen(path, "r");
    if (!f)
        return -1;
    char line[256];
    long kb = -1;
    while (fgets(line, sizeof line, f)) {
        if (strncmp(line, "VmHWM:", 6) == 0) {
            kb = std::strtol(line + 6, nullptr, 10);
            break;
        }
    }
    fclose(f);
    return kb;
}

// CPU time so far of every thread of the process, in milliseconds.
double cpuMs(pid_t pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/task", static_cast<int>(pid));
    DIR* tasks = opendir(path);
    if (!tasks)
        return -1;
    double ns = 0;
    while (const dirent* task = readdir(tasks)) {
        if (task->d_name[0] == '.')
            continue;
        char stat[400];
        std::snprintf(stat, sizeof stat, "%s/%s/schedstat", path, task->d_name);
        if (FILE* f = fopen(stat, "r")) {
            unsigned long long runNs = 0;
            if (fscanf(f, "%llu", &runNs) == 1)
                ns += static_cast<double>(runNs);
            fclose(f);
        }
    }
    closedir(tasks);
    return ns / 1e6;
}

// A window can be destroyed between its MapNotify and the reading of its properties.
int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    int settleMs = 200;
    int timeoutMs = 20000;
    int i = 1;
    for (; i + 1 < argc && argv[i][0] == '-'; i += 2) {
        if (strcmp(argv[i], "--settle") == 0)
            settleMs = atoi(argv[i + 1]);
        else if (strcmp(argv[i], "--timeout") == 0)
            timeoutMs = atoi(argv[i + 1]);
        else
            break;
    }
    if (argc - i < 2) {
        fprintf(stderr, "usage: map_watch [--settle MS] [--timeout MS] TITLE PROGRAM [ARGS...]\n");
        return 2;
    }
    const char* title = argv[i];
    char** command = argv + i + 1;

    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        fprintf(stderr, "map_watch: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    const Atom netWmPid = XInternAtom(d, "_NET_WM_PID", False);
    const Atom netWmName = XInternAtom(d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, False);

    const double start = nowMs();
    const pid_t pid = fork();
    if (pid < 0) {
        perror("map_watch: fork");
        return 2;
    }
    if (pid == 0) {
        close(ConnectionNumber(d));
        execvp(command[0], command);
        perror("map_watch: exec");
        _exit(127);
    }

    double mappedAt = -1;
    double cpuAtMap = -1;
    const double deadline = start + static_cast<double>(timeoutMs);
    while (mappedAt < 0) {
        while (XPending(d) > 0) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type != MapNotify)
                continue;
            const double at = nowMs();
            const Window w = e.xmap.window;
            if (cardinalProperty(d, w, netWmPid) == pid && titleContains(d, w, netWmName, utf8, title)) {
                mappedAt = at;
                cpuAtMap = cpuMs(pid);
                break;
            }
        }
        if (mappedAt >= 0)
            break;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            fprintf(stderr, "map_watch: %s ended before its window was mapped\n", command[0]);
            return 1;
        }
        const double left = deadline - nowMs();
        if (left <= 0) {
            fprintf(stderr, "map_watch: no window titled '%s' within %d ms\n", title, timeoutMs);
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return 1;
        }
        pollfd p = {ConnectionNumber(d), POLLIN, 0};
        poll(&p, 1, left < 50 ? static_cast<int>(left) + 1 : 50);
    }

    if (settleMs > 0) {
        timespec t = {settleMs / 1000, static_cast<long>(settleMs % 1000) * 1000000L};
        while (nanosleep(&t, &t) != 0 && errno == EINTR) {
        }
    }
    const long hwm = peakResidentKb(pid);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(d);
    printf("%.2f %ld %.2f\n", mappedAt - start, hwm, cpuAtMap);
    return 0;
}
