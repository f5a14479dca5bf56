// A pointer for tests on a headless compositor, which has no input devices of its own:
// joins the seat as a virtual pointer (wlroots) or through KWin's fake input, drags from
// one point of the output to another with the left button, and leaves.
// Usage: glyphnab-wl-pointer WIDTH HEIGHT X0 Y0 X1 Y1

#include "fake-input-client.h"
#include "virtual-pointer-client.h"

#include <wayland-client.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <thread>

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
    org_kde_kwin_fake_input* fake = nullptr;
};

void announce(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals->seat == nullptr)
        globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        globals->manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    else if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 3)
        globals->fake = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 3));
}

void withdraw(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener listener{announce, withdraw};

std::uint32_t now() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: glyphnab-wl-pointer WIDTH HEIGHT X0 Y0 X1 Y1\n");
        return 64;
    }
    int v[6];
    for (int i = 0; i < 6; ++i)
        v[i] = std::atoi(argv[i + 1]);
    const auto width = static_cast<std::uint32_t>(v[0]);
    const auto height = static_cast<std::uint32_t>(v[1]);

    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no Wayland display\n");
        return 2;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &globals);
    wl_display_roundtrip(display);
    constexpr std::uint32_t left = 0x110;  // BTN_LEFT
    std::function<void(int, int)> move;
    std::function<void(bool)> button;
    zwlr_virtual_pointer_v1* pointer = nullptr;
    if (globals.seat != nullptr && globals.manager != nullptr) {
        pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager, globals.seat);
        move = [&](int x, int y) {
            zwlr_virtual_pointer_v1_motion_absolute(pointer, now(), static_cast<std::uint32_t>(x),
                                                    static_cast<std::uint32_t>(y), width, height);
            zwlr_virtual_pointer_v1_frame(pointer);
        };
        button = [&](bool down) {
            zwlr_virtual_pointer_v1_button(pointer, now(), left, down ? 1 : 0);
            zwlr_virtual_pointer_v1_frame(pointer);
        };
    } else if (globals.fake != nullptr) {
        org_kde_kwin_fake_input_authenticate(globals.fake, "glyphnab-wl-pointer", "end-to-end tests");
        move = [&](int x, int y) {
            org_kde_kwin_fake_input_pointer_motion_absolute(globals.fake, wl_fixed_from_int(x), wl_fixed_from_int(y));
        };
        button = [&](bool down) { org_kde_kwin_fake_input_button(globals.fake, left, down ? 1 : 0); };
    } else {
        std::fprintf(stderr, "the compositor offers no virtual pointer\n");
        return 3;
    }
    wl_display_roundtrip(display);
    // Clients learn that the seat now has a pointer and take theirs.
    pause(700);
    const auto moveTo = [&](int x, int y) {
        move(x, y);
        wl_display_roundtrip(display);
        pause(60);
    };
    const auto press = [&](bool down) {
        button(down);
        wl_display_roundtrip(display);
        pause(100);
    };
    moveTo(v[2], v[3]);
    moveTo(v[2] + 1, v[3] + 1);
    press(true);
    constexpr int steps = 8;
    for (int i = 1; i <= steps; ++i)
        moveTo(v[2] + (v[4] - v[2]) * i / steps, v[3] + (v[5] - v[3]) * i / steps);
    press(false);
    pause(300);
    if (pointer != nullptr) {
        zwlr_virtual_pointer_v1_destroy(pointer);
        zwlr_virtual_pointer_manager_v1_destroy(globals.manager);
    } else {
        org_kde_kwin_fake_input_destroy(globals.fake);
    }
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
