// Times a program from the X server's side, for bench/xvfb_timing.sh.
//
//   bench_xwatch start [--keep] [--quiet MS] -- PROGRAM [ARGS...]
//       starts the program and waits for the MapNotify of its top-level window (the one whose
//       _NET_WM_PID is the program's), then for the screen to stop changing. Prints
//       "pid P window W map_ms M paint_ms D": launch to mapped, launch to the last damage before
//       MS milliseconds (default 300) without any. Then ends the program with SIGTERM, unless
//       --keep.
//   bench_xwatch clicks [--quiet MS] WINDOW X1 Y1 X2 Y2 COUNT
//       clicks at (X1, Y1) and (X2, Y2) of the window in turn, COUNT clicks, each once the
//       screen has been still for MS milliseconds (default 150). Prints one line a click:
//       "click N ms T rects R bottom B": press to the last damage, damage rectangles, and
//       whether one reached the window's bottom 19 pixels (the status bar).
//
// Damage is watched on the root window, so every pixel any client draws counts.
#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

[[noreturn]] void die(const char* what)
{
    std::fprintf(stderr, "bench_xwatch: %s\n", what);
    std::exit(1);
}

struct Reply {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Owned = std::unique_ptr<T, Reply>;

class Display {
public:
    Display()
    {
        m_conn = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_conn))
            die("cannot connect to the X server ($DISPLAY)");
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_conn)).data->root;
        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(m_conn, &xcb_damage_id);
        if (!damage || !damage->present)
            die("the X server has no DAMAGE extension");
        m_damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
        Owned<xcb_damage_query_version_reply_t> version(
            xcb_damage_query_version_reply(m_conn, xcb_damage_query_version(m_conn, 1, 1), nullptr));
        if (!version)
            die("DAMAGE does not answer");
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_conn, m_root, XCB_CW_EVENT_MASK, &mask);
        const xcb_damage_damage_t damageId = xcb_generate_id(m_conn);
        xcb_damage_create(m_conn, damageId, m_root, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        xcb_flush(m_conn);
    }
    ~Display() { xcb_disconnect(m_conn); }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    xcb_connection_t* conn() const { return m_conn; }
    xcb_window_t root() const { return m_root; }

    // The next event, or null once `untilMs` has passed.
    Owned<xcb_generic_event_t> next(double untilMs)
    {
        for (;;) {
            if (xcb_generic_event_t* e = xcb_poll_for_event(m_conn))
                return Owned<xcb_generic_event_t>(e);
            const double left = untilMs - nowMs();
            if (left <= 0)
                return nullptr;
            pollfd fd{xcb_get_file_descriptor(m_conn), POLLIN, 0};
            poll(&fd, 1, int(left) + 1);
            if (xcb_connection_has_error(m_conn))
                die("lost the X server");
        }
    }

    bool isDamage(const xcb_generic_event_t& e) const { return (e.response_type & 0x7f) == m_damageEvent; }

    // Waits until nothing was drawn for `quietMs`; returns the time of the last damage (or -1)
    // and counts the rectangles, noting those that reach below `bottomY` in root coordinates.
    double lastDamage(double quietMs, double limitMs, int* rects = nullptr, int bottomY = 1 << 30,
                      bool* bottom = nullptr)
    {
        double last = -1;
        const double end = nowMs() + limitMs;
        for (;;) {
            const double deadline = std::min(end, (last < 0 ? nowMs() : last) + quietMs);
            Owned<xcb_generic_event_t> e = next(deadline);
            if (!e)
                return last;
            if (!isDamage(*e))
                continue;
            last = nowMs();
            const auto* d = reinterpret_cast<const xcb_damage_notify_event_t*>(e.get());
            if (rects)
                ++*rects;
            if (bottom && d->area.y + d->area.height > bottomY)
                *bottom = true;
        }
    }

    uint32_t wmPid(xcb_window_t window)
    {
        static const xcb_atom_t pidAtom = atom("_NET_WM_PID");
        Owned<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            m_conn, xcb_get_property(m_conn, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr));
        if (!reply || xcb_get_property_value_length(reply.get()) != 4)
            return 0;
        return *static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    }

    xcb_atom_t atom(const char* name)
    {
        Owned<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            m_conn, xcb_intern_atom(m_conn, 0, uint16_t(std::strlen(name)), name), nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

private:
    xcb_connection_t* m_conn = nullptr;
    xcb_window_t m_root = 0;
    uint8_t m_damageEvent = 0;
};

void endProgram(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 1000; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

int start(int argc, char** argv)
{
    bool keep = false;
    double quiet = 300;
    int i = 0;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--keep") == 0)
            keep = true;
        else if (std::strcmp(argv[i], "--quiet") == 0 && i + 1 < argc)
            quiet = std::atof(argv[++i]);
        else
            die("start: unknown option");
    }
    if (i + 1 >= argc)
        die("start: no program after --");
    char** command = argv + i + 1;

    Display x;
    const double t0 = nowMs();
    const pid_t pid = fork();
    if (pid < 0)
        die("cannot fork");
    if (pid == 0) {
        execvp(command[0], command);
        _exit(127);
    }
    xcb_window_t window = 0;
    double mapped = -1;
    while (!window) {
        Owned<xcb_generic_event_t> e = x.next(t0 + 30000);
        if (!e) {
            endProgram(pid);
            die("no window mapped within 30 s");
        }
        if ((e->response_type & 0x7f) != XCB_MAP_NOTIFY)
            continue;
        const double at = nowMs();
        const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(e.get());
        if (!map->override_redirect && x.wmPid(map->window) == uint32_t(pid)) {
            window = map->window;
            mapped = at;
        }
    }
    const double painted = x.lastDamage(quiet, 30000);
    std::printf("pid %d window %u map_ms %.2f paint_ms %.2f\n", int(pid), window, mapped - t0,
                (painted < 0 ? mapped : painted) - t0);
    std::fflush(stdout);
    if (!keep)
        endProgram(pid);
    return 0;
}

void fake(xcb_connection_t* c, uint8_t type, uint8_t detail, xcb_window_t root, int16_t x, int16_t y)
{
    xcb_test_fake_input(c, type, detail, XCB_CURRENT_TIME, root, x, y, 0);
    xcb_flush(c);
}

int clicks(int argc, char** argv)
{
    double quiet = 150;
    int i = 0;
    if (i + 1 < argc && std::strcmp(argv[i], "--quiet") == 0) {
        quiet = std::atof(argv[i + 1]);
        i += 2;
    }
    if (argc - i != 6)
        die("clicks: WINDOW X1 Y1 X2 Y2 COUNT");
    const xcb_window_t window = xcb_window_t(std::strtoul(argv[i], nullptr, 0));
    const int xs[2] = {std::atoi(argv[i + 1]), std::atoi(argv[i + 3])};
    const int ys[2] = {std::atoi(argv[i + 2]), std::atoi(argv[i + 4])};
    const int count = std::atoi(argv[i + 5]);

    Display x;
    xcb_connection_t* c = x.conn();
    Owned<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    Owned<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, x.root(), 0, 0), nullptr));
    if (!geometry || !origin)
        die("clicks: no such window");
    const int bottomY = origin->dst_y + geometry->height - 19;
    for (int n = 0; n < count; ++n) {
        const int16_t rx = int16_t(origin->dst_x + xs[n % 2]);
        const int16_t ry = int16_t(origin->dst_y + ys[n % 2]);
        fake(c, XCB_MOTION_NOTIFY, 0, x.root(), rx, ry);
        x.lastDamage(quiet, 10000); // hover effects are no part of the date change
        const double pressed = nowMs();
        fake(c, XCB_BUTTON_PRESS, 1, XCB_NONE, 0, 0);
        fake(c, XCB_BUTTON_RELEASE, 1, XCB_NONE, 0, 0);
        int rects = 0;
        bool bottom = false;
        const double last = x.lastDamage(quiet, 10000, &rects, bottomY, &bottom);
        std::printf("click %d ms %.3f rects %d bottom %d\n", n, last < 0 ? -1.0 : last - pressed, rects,
                    bottom ? 1 : 0);
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "start") == 0)
        return start(argc - 2, argv + 2);
    if (argc >= 2 && std::strcmp(argv[1], "clicks") == 0)
        return clicks(argc - 2, argv + 2);
    std::fprintf(stderr, "usage: bench_xwatch start [--keep] [--quiet MS] -- PROGRAM [ARGS...]\n"
                         "       bench_xwatch clicks [--quiet MS] WINDOW X1 Y1 X2 Y2 COUNT\n");
    return 2;
}
