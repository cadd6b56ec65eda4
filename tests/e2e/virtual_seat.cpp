// Holds a pointer and a keyboard on the seat of the Wayland compositor named by WAYLAND_DISPLAY
// until it is ended. A compositor without input devices (sway's headless back end) offers its
// clients neither, and a click or key then reaches no one; with these two, sway's own cursor
// commands move and press the pointer, and wtype's keys reach a client that has had a keyboard
// with a layout from its start. The protocols' two requests used here are declared by hand: no
// Debian package carries their descriptions.
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const wl_interface kPointerInterface = {"zwlr_virtual_pointer_v1", 1, 0, nullptr, 0, nullptr};
const wl_interface* kPointerTypes[] = {&wl_seat_interface, &kPointerInterface};
const wl_message kPointerManagerRequests[] = {{"create_virtual_pointer", "?on", kPointerTypes}};
const wl_interface kPointerManagerInterface = {"zwlr_virtual_pointer_manager_v1", 1, 1,
                                               kPointerManagerRequests,           0, nullptr};

const wl_interface* kNoTypes[] = {nullptr, nullptr, nullptr};
const wl_message kKeyboardRequests[] = {{"keymap", "uhu", kNoTypes}};
const wl_interface kKeyboardInterface = {"zwp_virtual_keyboard_v1", 1, 1,
                                         kKeyboardRequests,         0, nullptr};
const wl_interface* kKeyboardTypes[] = {&wl_seat_interface, &kKeyboardInterface};
const wl_message kKeyboardManagerRequests[] = {{"create_virtual_keyboard", "on", kKeyboardTypes}};
const wl_interface kKeyboardManagerInterface = {"zwp_virtual_keyboard_manager_v1", 1, 1,
                                                kKeyboardManagerRequests,          0, nullptr};

constexpr std::uint32_t kXkbKeymapFormat = 1;

struct Globals {
    wl_seat* seat = nullptr;
    wl_proxy* pointers = nullptr;
    wl_proxy* keyboards = nullptr;
};

void Announce(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t) {
    auto& globals = *static_cast<Globals*>(data);
    const auto bind = [&](const wl_interface& wanted) {
        return static_cast<wl_proxy*>(wl_registry_bind(registry, name, &wanted, 1));
    };
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals.seat == nullptr) {
        globals.seat = reinterpret_cast<wl_seat*>(bind(wl_seat_interface));
    } else if (std::strcmp(interface, kPointerManagerInterface.name) == 0) {
        globals.pointers = bind(kPointerManagerInterface);
    } else if (std::strcmp(interface, kKeyboardManagerInterface.name) == 0) {
        globals.keyboards = bind(kKeyboardManagerInterface);
    }
}

void Withdraw(void*, wl_registry*, std::uint32_t) {}

// The default layout's keymap as text, in a file the compositor can map.
int KeymapFile(std::uint32_t& size) {
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    xkb_keymap* keymap =
        context ? xkb_keymap_new_from_names(context, nullptr, XKB_KEYMAP_COMPILE_NO_FLAGS)
                : nullptr;
    char* text = keymap ? xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1) : nullptr;
    int file = -1;
    if (text != nullptr) {
        size = static_cast<std::uint32_t>(std::strlen(text) + 1);
        file = memfd_create("keymap", MFD_CLOEXEC);
        if (file >= 0 && write(file, text, size) != static_cast<ssize_t>(size)) {
            close(file);
            file = -1;
        }
    }
    std::free(text);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    return file;
}

}  // namespace

int main() {
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "virtual_seat: no compositor to connect to\n");
        return 1;
    }
    Globals globals;
    const wl_registry_listener listener{Announce, Withdraw};
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &globals);
    wl_display_roundtrip(display);
    if (globals.seat == nullptr || globals.pointers == nullptr || globals.keyboards == nullptr) {
        std::fprintf(stderr,
                     "virtual_seat: the compositor offers no virtual pointer or keyboard\n");
        return 1;
    }
    std::uint32_t size = 0;
    const int keymap = KeymapFile(size);
    if (keymap < 0) {
        std::fprintf(stderr, "virtual_seat: no keymap\n");
        return 1;
    }
    wl_proxy_marshal_constructor(globals.pointers, 0, &kPointerInterface, globals.seat, nullptr);
    wl_proxy* keyboard = wl_proxy_marshal_constructor(globals.keyboards, 0, &kKeyboardInterface,
                                                      globals.seat, nullptr);
    wl_proxy_marshal(keyboard, 0, kXkbKeymapFormat, keymap, size);
    close(keymap);
    while (wl_display_dispatch(display) != -1) {
    }
    return 0;
}
