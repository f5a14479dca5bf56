// A pointer for tests on a headless compositor, which has no input devices of its own:
// joins the seat as a virtual pointer, drags from one point of the output to another with
// the left button, and leaves. Usage: glyphnab-wl-pointer WIDTH HEIGHT X0 Y0 X1 Y1

#include "virtual-pointer-client.h"

#include <wayland-client.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
};

void announce(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals->seat == nullptr)
        globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        globals->manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
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
    if (globals.seat == nullptr || globals.manager == nullptr) {
        std::fprintf(stderr, "the compositor offers no virtual pointer\n");
        return 3;
    }
    zwlr_virtual_pointer_v1* pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager,
                                                                                              globals.seat);
    wl_display_roundtrip(display);
    // Clients learn that the seat now has a pointer and take theirs.
    pause(700);

    const auto move = [&](int x, int y) {
        zwlr_virtual_pointer_v1_motion_absolute(pointer, now(), static_cast<std::uint32_t>(x),
                                                static_cast<std::uint32_t>(y), width, height);
        zwlr_virtual_pointer_v1_frame(pointer);
        wl_display_roundtrip(display);
        pause(60);
    };
    const auto button = [&](bool down) {
        constexpr std::uint32_t left = 0x110;  // BTN_LEFT
        zwlr_virtual_pointer_v1_button(pointer, now(), left, down ? 1 : 0);
        zwlr_virtual_pointer_v1_frame(pointer);
        wl_display_roundtrip(display);
        pause(100);
    };
    move(v[2], v[3]);
    move(v[2] + 1, v[3] + 1);
    button(true);
    constexpr int steps = 8;
    for (int i = 1; i <= steps; ++i)
        move(v[2] + (v[4] - v[2]) * i / steps, v[3] + (v[5] - v[3]) * i / steps);
    button(false);
    pause(300);
    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(globals.manager);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
