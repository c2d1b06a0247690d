// A small UI Automation client, as a Windows screen reader reads a window:
// through UIA's flat client API in uiautomationcore.dll. It prints one JSON
// object per line on its output.
//
//   uia-client walk <title>         every element of the window whose title
//                                   holds <title>, depth first
//   uia-client abandon <n> <title>  n elements of that walk, then ends at once,
//                                   holding what it asked for (a client that
//                                   disconnects mid-walk)
//   uia-client hold <name> <title>  finds the list named <name> (an open
//                                   popup) and its first item, says "held",
//                                   waits for a line on its input, then asks
//                                   both again and says what came back
//
// MinGW-w64's headers before release 12 do not declare the flat client API,
// so the few functions used are declared here and looked up at run time.

#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

using Node = void *;

// The layouts of UiaCondition and UiaCacheRequest.
struct Condition {
    int type; // ConditionType_True = 0
};
struct CacheRequest {
    Condition *viewCondition;
    int scope; // TreeScope_Element = 1
    int *properties;
    int propertyCount;
    int *patterns;
    int patternCount;
    int elementMode; // AutomationElementMode_Full = 1
};

enum Direction { Parent = 0, NextSibling = 1, FirstChild = 3 };
enum Property {
    ControlType = 30003, Name = 30005, HasKeyboardFocus = 30008, AutomationId = 30011,
    ValueValue = 30045, ToggleState = 30086, FullDescription = 30159,
};

struct Api {
    HRESULT(WINAPI *nodeFromHandle)(HWND, Node *);
    HRESULT(WINAPI *navigate)(Node, int, Condition *, CacheRequest *, SAFEARRAY **, BSTR *);
    HRESULT(WINAPI *getPropertyValue)(Node, int, VARIANT *);
    HRESULT(WINAPI *nodeFromVariant)(VARIANT *, Node *);
    BOOL(WINAPI *nodeRelease)(Node);
};
Api api;
Condition trueCondition{0};
CacheRequest elementOnly{&trueCondition, 1, nullptr, 0, nullptr, 0, 1};

template<typename F>
void lookUp(HMODULE dll, F &function, const char *name)
{
    function = reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(dll, name)));
    if (!function) {
        std::fprintf(stderr, "uia-client: uiautomationcore.dll has no %s\n", name);
        std::exit(2);
    }
}

std::string utf8(const wchar_t *text, int length)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

std::string json(const std::string &text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

// A property as JSON: a string, a number or a truth; null for what the
// element does not answer.
std::string property(Node node, int id)
{
    VARIANT value;
    VariantInit(&value);
    if (FAILED(api.getPropertyValue(node, id, &value)))
        return "null";
    std::string out = "null";
    if (value.vt == VT_BSTR)
        out = json(utf8(value.bstrVal, int(SysStringLen(value.bstrVal))));
    else if (value.vt == VT_I4)
        out = std::to_string(value.lVal);
    else if (value.vt == VT_BOOL)
        out = value.boolVal ? "true" : "false";
    VariantClear(&value);
    return out;
}

std::string describe(Node node, int depth)
{
    return "{\"depth\": " + std::to_string(depth) + ", \"name\": " + property(node, Name)
        + ", \"type\": " + property(node, ControlType) + ", \"id\": " + property(node, AutomationId)
        + ", \"description\": " + property(node, FullDescription)
        + ", \"focused\": " + property(node, HasKeyboardFocus) + ", \"toggle\": " + property(node, ToggleState)
        + ", \"value\": " + property(node, ValueValue) + "}";
}

// The element a navigation reaches; null where there is none.
Node navigate(Node from, Direction direction)
{
    SAFEARRAY *found = nullptr;
    BSTR tree = nullptr;
    Node node = nullptr;
    if (SUCCEEDED(api.navigate(from, direction, &trueCondition, &elementOnly, &found, &tree)) && found) {
        LONG at[2] = {0, 0};
        VARIANT value;
        VariantInit(&value);
        if (SUCCEEDED(SafeArrayGetElement(found, at, &value)))
            api.nodeFromVariant(&value, &node);
        VariantClear(&value);
        SafeArrayDestroy(found);
    }
    SysFreeString(tree);
    return node;
}

void say(const std::string &line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

struct Walk {
    long limit = -1; // elements to walk before the client ends at once
    const wchar_t *held = nullptr; // the list to hold, in "hold"
    long seen = 0;

    // Depth first; true once the list to hold was found and held.
    bool visit(Node node, int depth)
    {
        if (limit >= 0 && seen == limit)
            TerminateProcess(GetCurrentProcess(), 0); // every node still held
        ++seen;
        if (!held)
            say(describe(node, depth));
        else if (property(node, Name) == json(utf8(held, int(wcslen(held)))) && property(node, ControlType) == "50008")
            return hold(node);
        for (Node child = navigate(node, FirstChild); child;) {
            if (visit(child, depth + 1))
                return true;
            Node next = navigate(child, NextSibling);
            api.nodeRelease(child);
            child = next;
        }
        return false;
    }

    // Holds the popup and its first item while the popup closes, then asks
    // both again: the program must answer, with an error if it must.
    bool hold(Node popup)
    {
        Node item = navigate(popup, FirstChild);
        say("{\"held\": " + (item ? property(item, Name) : std::string("null")) + "}");
        char line[16];
        std::fgets(line, sizeof line, stdin);
        for (Node node : {popup, item}) {
            if (!node)
                continue;
            Node parent = navigate(node, Parent);
            say("{\"after\": " + describe(node, 0) + ", \"parent\": " + std::to_string(parent != nullptr) + "}");
            if (parent)
                api.nodeRelease(parent);
        }
        if (item)
            api.nodeRelease(item);
        return true;
    }
};

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    const std::wstring mode = argc > 2 ? argv[1] : L"";
    const int titleAt = mode == L"walk" ? 2 : 3;
    if ((mode != L"walk" && mode != L"abandon" && mode != L"hold") || argc != titleAt + 1) {
        std::fprintf(stderr, "usage: uia-client walk|abandon <n>|hold <name> <window title>\n");
        return 2;
    }
    HMODULE dll = LoadLibraryW(L"uiautomationcore.dll");
    if (!dll) {
        std::fprintf(stderr, "uia-client: no uiautomationcore.dll\n");
        return 2;
    }
    lookUp(dll, api.nodeFromHandle, "UiaNodeFromHandle");
    lookUp(dll, api.navigate, "UiaNavigate");
    lookUp(dll, api.getPropertyValue, "UiaGetPropertyValue");
    lookUp(dll, api.nodeFromVariant, "UiaHUiaNodeFromVariant");
    lookUp(dll, api.nodeRelease, "UiaNodeRelease");
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);

    struct Search {
        const wchar_t *title;
        HWND found;
    } search{argv[titleAt], nullptr};
    EnumWindows([](HWND window, LPARAM data) -> BOOL {
        auto *search = reinterpret_cast<Search *>(data);
        wchar_t title[256];
        if (IsWindowVisible(window) && GetWindowTextW(window, title, 256) && wcsstr(title, search->title))
            search->found = window;
        return !search->found;
    }, reinterpret_cast<LPARAM>(&search));
    HWND window = search.found;
    Node root = nullptr;
    if (!window || FAILED(api.nodeFromHandle(window, &root))) {
        std::fprintf(stderr, "uia-client: no window with such a title\n");
        return 1;
    }
    Walk walk;
    if (mode == L"abandon")
        walk.limit = std::wcstol(argv[2], nullptr, 10);
    if (mode == L"hold")
        walk.held = argv[2];
    const bool held = walk.visit(root, 0);
    api.nodeRelease(root);
    if (mode == L"hold" && !held) {
        std::fprintf(stderr, "uia-client: no open list of that name\n");
        return 1;
    }
    return 0;
}
