#pragma once
// Whether Qt can start its platform here. Qt ends the whole process (qFatal) when its platform
// plugin is missing or cannot reach its display, and some platforms (linuxfb, vnc) start without
// a screen to show anything on; the host must live, so the Qt screen asks here first, before it
// makes the QGuiApplication.
#include <memory>
#include <string>
#include <vector>

namespace host::qt {

// One platform as Qt names it: "vnc:port=5901:size=1024x768" is the plugin "vnc" with its options.
struct PlatformSpec {
    std::string text;                  // as given, the argument of -platform
    std::string plugin;                // the part before the first ':'
    std::vector<std::string> options;  // the parts after it
};

PlatformSpec ParsePlatform(const std::string& text);

// The platforms Qt would try, in order: QT_QPA_PLATFORM's (a ';'-separated list); unset, X11
// when DISPLAY is set and Wayland when WAYLAND_DISPLAY is (a Wayland session first); `offscreen`
// asks for Qt's offscreen platform alone.
std::vector<PlatformSpec> CandidatePlatforms(bool offscreen);

// A platform found able to start. The check's own connection to the display stays open until
// this is dropped, after Qt has made its own: an X server resets when its last client leaves,
// and would turn Qt away for that moment.
struct CheckedPlatform {
    PlatformSpec platform;
    std::shared_ptr<void> held_connection;
};

// The first candidate that can start; throws std::runtime_error naming what each one lacks: its
// plugin not installed or not loadable, no X server or Wayland compositor answering, no
// framebuffer, no GPU, the VNC port taken.
CheckedPlatform StartablePlatform(bool offscreen);

}  // namespace host::qt
