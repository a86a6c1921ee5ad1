// A UI Automation client for the Wine tests: reads the element of every visible window of a running
// program, the way a screen reader on Windows asks for it, and prints each element as one JSON line.
// It never navigates from one element to another nor releases one (under Wine either can deadlock the
// program): started with one native window per widget, the program gives every widget a window whose
// element is read.
// Focus events do not reach a client under Wine, so the focus is polled.
//
// Usage: qz_uia_probe PROGRAM.exe SECONDS [TEXT...]
// Waits until an element of PROGRAM.exe has the keyboard focus and its full description or name holds
// every TEXT, then prints every element: exit 0. When that does not happen within SECONDS, prints every
// element and what has the focus: exit 1. A UI Automation call that does not return within its bound
// ends the probe at once with the call named: exit 2.

#include <windows.h>

#include <oleauto.h>
#include <shellapi.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <variant>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// uiautomationcore.dll's node calls, loaded at run time: MinGW-w64 declares none of them.
using HUIANODE = struct HUIANODE__*;
using NodeFromHandle = HRESULT(WINAPI*)(HWND, HUIANODE*);
using GetPropertyValue = HRESULT(WINAPI*)(HUIANODE, int, VARIANT*);

struct Property
{
    const char* name;
    int id;
};
constexpr Property Name{"Name", 30005};
constexpr Property FullDescription{"FullDescription", 30159};
constexpr Property HasKeyboardFocus{"HasKeyboardFocus", 30008};
constexpr Property Properties[] = {
    {"AutomationId", 30011}, {"ClassName", 30012}, {"ControlType", 30003},         Name,
    FullDescription,         HasKeyboardFocus,     {"IsKeyboardFocusable", 30009}, {"IsOffscreen", 30022},
};

// No value (a property the element does not support), a text, a number or a truth value.
using Value = std::variant<std::monostate, std::wstring, long, bool>;

std::string utf8(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

std::string json(const Value& value)
{
    if (const auto* flag = std::get_if<bool>(&value))
        return *flag ? "true" : "false";
    if (const auto* number = std::get_if<long>(&value))
        return std::to_string(*number);
    const auto* text = std::get_if<std::wstring>(&value);
    if (!text)
        return "null";
    std::string quoted = "\"";
    for (const char c : utf8(*text)) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

// Ends the process, naming the call, when a watched call has not returned within its bound: a hung
// UI Automation call becomes a failure with a message instead of a stuck test.
class Watchdog
{
public:
    explicit Watchdog(std::chrono::seconds bound) : bound_(bound), thread_([this] { run(); }) {}

    ~Watchdog()
    {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

    template <typename Call> auto watch(const std::string& what, Call call)
    {
        arm(what);
        auto result = call();
        arm({});
        return result;
    }

private:
    void arm(const std::string& what)
    {
        {
            const std::lock_guard lock(mutex_);
            pending_ = what;
            started_ = Clock::now();
            ++call_;
        }
        wake_.notify_one();
    }

    void run()
    {
        std::unique_lock lock(mutex_);
        while (!stop_) {
            if (pending_.empty()) {
                wake_.wait(lock);
                continue;
            }
            const unsigned call = call_;
            if (!wake_.wait_until(lock, started_ + bound_, [&] { return stop_ || call_ != call; })) {
                std::fprintf(stderr, "qz_uia_probe: %s did not return within %lld s\n", pending_.c_str(),
                             static_cast<long long>(bound_.count()));
                std::fflush(stdout);
                std::fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 2);
            }
        }
    }

    const std::chrono::seconds bound_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::string pending_;
    Clock::time_point started_;
    unsigned call_ = 0;
    bool stop_ = false;
    std::thread thread_;
};

template <typename Function> Function entry(HMODULE module, const char* name)
{
    // Through void(*)(), the one function pointer type that converts to every other without a warning.
    const auto address = reinterpret_cast<void (*)()>(GetProcAddress(module, name));
    if (!address) {
        std::fprintf(stderr, "qz_uia_probe: uiautomationcore.dll has no %s\n", name);
        std::exit(3);
    }
    return reinterpret_cast<Function>(address);
}

class Client
{
public:
    Client(HMODULE core, Watchdog& watchdog)
        : nodeFromHandle_(entry<NodeFromHandle>(core, "UiaNodeFromHandle")),
          getPropertyValue_(entry<GetPropertyValue>(core, "UiaGetPropertyValue")), watchdog_(watchdog)
    {
    }

    // The element of a window, made once and kept for the probe's life: under Wine, releasing an
    // element can deadlock the program as navigating does. Null where the window has gone.
    HUIANODE node(HWND window)
    {
        const auto known = nodes_.find(window);
        if (known != nodes_.end())
            return known->second;
        HUIANODE node = nullptr;
        const HRESULT result = watchdog_.watch("UiaNodeFromHandle(" + hex(window) + ")",
                                               [&] { return nodeFromHandle_(window, &node); });
        if (FAILED(result))
            return nullptr;
        nodes_.emplace(window, node);
        return node;
    }

    // The property of a window's element; no value where the window has gone.
    Value value(HWND window, const Property& property)
    {
        HUIANODE node = this->node(window);
        if (!node)
            return {};
        VARIANT variant;
        VariantInit(&variant);
        const HRESULT result =
            watchdog_.watch("UiaGetPropertyValue(" + hex(window) + ", " + property.name + ")",
                            [&] { return getPropertyValue_(node, property.id, &variant); });
        Value value;
        if (SUCCEEDED(result)) {
            if (variant.vt == VT_BSTR)
                value = std::wstring(variant.bstrVal ? variant.bstrVal : L"");
            else if (variant.vt == VT_I4)
                value = static_cast<long>(variant.lVal);
            else if (variant.vt == VT_BOOL)
                value = variant.boolVal != VARIANT_FALSE;
        }
        VariantClear(&variant);
        return value;
    }

    static std::string hex(HWND window)
    {
        char text[24];
        std::snprintf(text, sizeof text, "0x%llx",
                      static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
        return text;
    }

private:
    NodeFromHandle nodeFromHandle_;
    GetPropertyValue getPropertyValue_;
    Watchdog& watchdog_;
    std::map<HWND, HUIANODE> nodes_;
};

bool isProgram(HWND window, const std::wstring& image)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return false;
    wchar_t path[MAX_PATH];
    DWORD size = MAX_PATH;
    const bool named = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    if (!named)
        return false;
    const std::wstring full(path, size);
    return _wcsicmp(full.substr(full.find_last_of(L"\\/") + 1).c_str(), image.c_str()) == 0;
}

struct Search
{
    const std::wstring& image;
    std::vector<HWND> found;
};

BOOL CALLBACK collectVisible(HWND window, LPARAM search)
{
    if (IsWindowVisible(window))
        reinterpret_cast<Search*>(search)->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK collectProgram(HWND top, LPARAM search)
{
    if (IsWindowVisible(top) && isProgram(top, reinterpret_cast<Search*>(search)->image)) {
        reinterpret_cast<Search*>(search)->found.push_back(top);
        EnumChildWindows(top, collectVisible, search);
    }
    return TRUE;
}

// Every visible window of the program, top-level windows and all their descendants.
std::vector<HWND> programWindows(const std::wstring& image)
{
    Search search{image, {}};
    EnumWindows(collectProgram, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool holdsAll(const Value& value, const std::vector<std::wstring>& texts)
{
    const auto* text = std::get_if<std::wstring>(&value);
    if (!text)
        return false;
    for (const std::wstring& wanted : texts)
        if (text->find(wanted) == std::wstring::npos)
            return false;
    return true;
}

// Whether an element that has the keyboard focus holds every text in its name or description; focused
// gets the names and descriptions of the focused elements, for the message when the wait fails.
bool focusHolds(Client& client, const std::vector<HWND>& windows, const std::vector<std::wstring>& texts,
                std::string& focused)
{
    focused.clear();
    bool holds = false;
    for (HWND window : windows) {
        const Value focus = client.value(window, HasKeyboardFocus);
        if (std::get_if<bool>(&focus) && std::get<bool>(focus)) {
            const Value name = client.value(window, Name);
            const Value description = client.value(window, FullDescription);
            focused += " {\"Name\": " + json(name) + ", \"FullDescription\": " + json(description) + "}";
            holds = holds || holdsAll(name, texts) || holdsAll(description, texts);
        }
    }
    return holds;
}

void printElements(Client& client, const std::vector<HWND>& windows)
{
    for (HWND window : windows) {
        std::string line = "{\"hwnd\": \"" + Client::hex(window) + "\"";
        if (client.node(window)) {
            for (const Property& property : Properties)
                line += std::string(", \"") + property.name + "\": " + json(client.value(window, property));
        } else {
            line += ", \"gone\": true";
        }
        std::printf("%s}\n", line.c_str());
    }
    std::fflush(stdout);
}

} // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 3) {
        std::fprintf(stderr, "usage: qz_uia_probe PROGRAM.exe SECONDS [TEXT...]\n");
        return 3;
    }
    const std::wstring image = argv[1];
    const auto deadline = Clock::now() + std::chrono::seconds(_wtoi(argv[2]));
    const std::vector<std::wstring> texts(argv + 3, argv + argc);

    // The nodes' calls into the program are marshalled by COM; a free-threaded client needs no message loop.
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    HMODULE core = LoadLibraryW(L"uiautomationcore.dll");
    if (!core) {
        std::fprintf(stderr, "qz_uia_probe: no uiautomationcore.dll\n");
        return 3;
    }
    Watchdog watchdog(std::chrono::seconds(10));
    Client client(core, watchdog);
    std::string focused;
    while (!focusHolds(client, programWindows(image), texts, focused)) {
        if (Clock::now() > deadline) {
            printElements(client, programWindows(image));
            std::fprintf(stderr, "qz_uia_probe: no focused element held the texts; focused:%s\n",
                         focused.empty() ? " none" : focused.c_str());
            return 1;
        }
        Sleep(100);
    }
    printElements(client, programWindows(image));
    return 0;
}
