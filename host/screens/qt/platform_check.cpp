#include "host/screens/qt/platform_check.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>
#include <QStringList>
#include <dlfcn.h>
#include <fcntl.h>
#include <glob.h>
#include <linux/fb.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace host::qt {

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

// The value of an option "KEY=VALUE" of the platform, or "".
std::string Option(const PlatformSpec& platform, const std::string& key)
{
    for (const std::string& option : platform.options)
        if (option.starts_with(key + "="))
            return option.substr(key.size() + 1);
    return "";
}

// A file descriptor that is closed with its scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};

// A shared library opened for a look, closed with the last connection made through it.
class Library {
public:
    explicit Library(const char* name) : handle_(dlopen(name, RTLD_NOW | RTLD_LOCAL), Close) {}
    template <typename Function>
    Function* Symbol(const char* name) const
    {
        return handle_ ? reinterpret_cast<Function*>(dlsym(handle_.get(), name)) : nullptr;
    }
    // Keeps `connection` open, and the library loaded, while the result lives.
    template <typename Disconnect>
    std::shared_ptr<void> Hold(void* connection, Disconnect* disconnect) const
    {
        return std::shared_ptr<void>(connection, [library = handle_, disconnect](void* held) { disconnect(held); });
    }

private:
    static void Close(void* handle)
    {
        if (handle != nullptr)
            dlclose(handle);
    }
    std::shared_ptr<void> handle_;
};

// Why a platform cannot start ("" when it can), and the display connection the look made.
struct Verdict {
    std::string problem;
    std::shared_ptr<void> held_connection;
};

std::string SystemError(int error) { return std::strerror(error); }

// Where Qt looks for platform plugins: QT_QPA_PLATFORM_PLUGIN_PATH first, then "platforms" under
// each plugin folder (QT_PLUGIN_PATH, Qt's own, the program's folder).
QStringList PlatformPluginFolders()
{
    QStringList folders;
    if (const std::string direct = Environment("QT_QPA_PLATFORM_PLUGIN_PATH"); !direct.empty())
        folders << QString::fromLocal8Bit(direct);
    QStringList roots = QString::fromLocal8Bit(Environment("QT_PLUGIN_PATH")).split(u':', Qt::SkipEmptyParts);
    roots << QLibraryInfo::path(QLibraryInfo::PluginsPath);
    roots << QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
    for (const QString& root : roots)
        folders << root + QStringLiteral("/platforms");
    return folders;
}

bool ProvidesPlatform(const QJsonObject& metadata, const QString& plugin)
{
    if (!metadata.value(QStringLiteral("IID")).toString().startsWith(
            QStringLiteral("org.qt-project.Qt.QPA.QPlatformIntegrationFactoryInterface")))
        return false;
    const QJsonArray keys = metadata.value(QStringLiteral("MetaData")).toObject().value(QStringLiteral("Keys")).toArray();
    for (const auto& key : keys)
        if (key.toString().compare(plugin, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

std::string PluginProblem(const std::string& name)
{
    const QString plugin = QString::fromStdString(name);
    const QStringList folders = PlatformPluginFolders();
    for (const QString& folder : folders) {
        const QDir directory(folder);
        QStringList files = directory.entryList({QStringLiteral("*.so")}, QDir::Files);
        // The file Qt names after the platform first ("libqxcb.so"): one file read, not every one.
        if (const qsizetype named = files.indexOf(QStringLiteral("libq%1.so").arg(plugin)); named > 0)
            files.move(named, 0);
        for (const QString& file : files) {
            QPluginLoader loader(directory.filePath(file));
            if (!ProvidesPlatform(loader.metaData(), plugin))
                continue;
            // Loaded now, it stays loaded for Qt: a library it needs that is missing shows here.
            if (!loader.load())
                return "the Qt platform plugin '" + name + "' cannot be loaded: " + loader.errorString().toStdString();
            return "";
        }
    }
    return "no Qt platform plugin '" + name + "' in " + folders.join(u':').toStdString();
}

Verdict X11Problem()
{
    const std::string display = Environment("DISPLAY");
    if (display.empty())
        return {"DISPLAY is not set", {}};
    const Library xcb("libxcb.so.1");
    using Connect = void*(const char*, int*);
    using HasError = int(void*);
    using Disconnect = void(void*);
    auto* connect = xcb.Symbol<Connect>("xcb_connect");
    auto* has_error = xcb.Symbol<HasError>("xcb_connection_has_error");
    auto* disconnect = xcb.Symbol<Disconnect>("xcb_disconnect");
    if (connect == nullptr || has_error == nullptr || disconnect == nullptr)
        return {"libxcb.so.1 cannot be loaded", {}};
    std::shared_ptr<void> connection = xcb.Hold(connect(nullptr, nullptr), disconnect);
    if (has_error(connection.get()) != 0)
        return {"no X server answers at DISPLAY=" + display, {}};
    return {"", std::move(connection)};
}

Verdict WaylandProblem()
{
    const Library client("libwayland-client.so.0");
    using Connect = void*(const char*);
    using Disconnect = void(void*);
    auto* connect = client.Symbol<Connect>("wl_display_connect");
    auto* disconnect = client.Symbol<Disconnect>("wl_display_disconnect");
    if (connect == nullptr || disconnect == nullptr)
        return {"libwayland-client.so.0 cannot be loaded", {}};
    if (void* display = connect(nullptr); display != nullptr)
        return {"", client.Hold(display, disconnect)};
    const std::string name = Environment("WAYLAND_DISPLAY");
    const std::string folder = Environment("XDG_RUNTIME_DIR");
    return {"no Wayland compositor answers at WAYLAND_DISPLAY=" + (name.empty() ? "wayland-0 (unset)" : name) +
                (folder.empty() ? " (XDG_RUNTIME_DIR is not set)" : " in " + folder),
            {}};
}

std::string FramebufferProblem(const std::string& device)
{
    const Descriptor fd(::open(device.c_str(), O_RDWR | O_CLOEXEC));
    if (!fd.valid())
        return "no framebuffer: " + device + " cannot be opened (" + SystemError(errno) + ")";
    fb_var_screeninfo info{};
    if (::ioctl(fd.get(), FBIOGET_VSCREENINFO, &info) != 0)
        return "no framebuffer: " + device + " is not one (" + SystemError(errno) + ")";
    return "";
}

// A DRM device that opens, as the KMS back ends need.
std::string DrmProblem()
{
    glob_t found{};
    const bool any = ::glob("/dev/dri/card*", 0, nullptr, &found) == 0;
    std::string problem = "no GPU: no DRM device /dev/dri/card*";
    for (std::size_t i = 0; any && i < found.gl_pathc; ++i) {
        const Descriptor fd(::open(found.gl_pathv[i], O_RDWR | O_CLOEXEC));
        if (fd.valid()) {
            problem.clear();
            break;
        }
        problem = std::string("no GPU: ") + found.gl_pathv[i] + " cannot be opened (" + SystemError(errno) + ")";
    }
    ::globfree(&found);
    return problem;
}

Verdict EglfsProblem()
{
    const std::string integration = Environment("QT_QPA_EGLFS_INTEGRATION");
    if (integration == "eglfs_x11")
        return X11Problem();
    if (integration.empty() || integration.starts_with("eglfs_kms"))
        return {DrmProblem(), {}};
    // A vendor's integration draws on the framebuffer or a DRM device.
    if (FramebufferProblem("/dev/fb0").empty())
        return {};
    return {DrmProblem(), {}};
}

// Binds `port` on every address as Qt's VNC server does (IPv6 with IPv4, the address reusable)
// and lets it go again: 0, or the error that binding gave.
int BindError(int port)
{
    const int yes = 1, no = 0;
    if (const Descriptor fd(::socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0)); fd.valid()) {
        ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        ::setsockopt(fd.get(), IPPROTO_IPV6, IPV6_V6ONLY, &no, sizeof no);
        sockaddr_in6 address{};
        address.sin6_family = AF_INET6;
        address.sin6_addr = in6addr_any;
        address.sin6_port = htons(static_cast<uint16_t>(port));
        return ::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ? 0 : errno;
    }
    const Descriptor fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.valid())
        return errno;
    ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(static_cast<uint16_t>(port));
    return ::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ? 0 : errno;
}

std::string VncProblem(const PlatformSpec& platform)
{
    const std::string option = Option(platform, "port");
    const int port = option.empty() ? 5900 : std::atoi(option.c_str());
    if (const int error = BindError(port); error != 0)
        return "the VNC port " + std::to_string(port) + " cannot be had (" + SystemError(error) + ")";
    return "";
}

Verdict DisplayProblem(const PlatformSpec& platform)
{
    const std::string& plugin = platform.plugin;
    if (plugin == "xcb")
        return X11Problem();
    if (plugin.starts_with("wayland"))
        return WaylandProblem();
    if (plugin == "linuxfb") {
        if (!Environment("QT_QPA_FB_DRM").empty())
            return {DrmProblem(), {}};
        const std::string device = Option(platform, "fb");
        return {FramebufferProblem(device.empty() ? "/dev/fb0" : device), {}};
    }
    if (plugin == "eglfs")
        return EglfsProblem();
    if (plugin == "vnc")
        return {VncProblem(platform), {}};
    return {};
}

Verdict Check(const PlatformSpec& platform)
{
    if (std::string problem = PluginProblem(platform.plugin); !problem.empty())
        return {std::move(problem), {}};
    return DisplayProblem(platform);
}

}  // namespace

PlatformSpec ParsePlatform(const std::string& text)
{
    std::vector<std::string> parts = Split(text, ':');
    PlatformSpec platform{text, parts.front(), {}};
    platform.options.assign(parts.begin() + 1, parts.end());
    return platform;
}

std::vector<PlatformSpec> CandidatePlatforms(bool offscreen)
{
    if (offscreen)
        return {ParsePlatform("offscreen")};
    std::vector<PlatformSpec> candidates;
    if (const std::string chosen = Environment("QT_QPA_PLATFORM"); !chosen.empty()) {
        for (const std::string& one : Split(chosen, ';'))
            if (!one.empty())
                candidates.push_back(ParsePlatform(one));
        return candidates;
    }
    const bool x11 = !Environment("DISPLAY").empty();
    const bool wayland = !Environment("WAYLAND_DISPLAY").empty();
    if (wayland && Environment("XDG_SESSION_TYPE") == "wayland")
        candidates.push_back(ParsePlatform("wayland"));
    if (x11)
        candidates.push_back(ParsePlatform("xcb"));
    if (wayland && Environment("XDG_SESSION_TYPE") != "wayland")
        candidates.push_back(ParsePlatform("wayland"));
    return candidates;
}

CheckedPlatform StartablePlatform(bool offscreen)
{
    const std::vector<PlatformSpec> candidates = CandidatePlatforms(offscreen);
    if (candidates.empty())
        throw std::runtime_error("no display for the window screen (DISPLAY and WAYLAND_DISPLAY are not set)");
    std::string problems;
    for (const PlatformSpec& candidate : candidates) {
        Verdict verdict = Check(candidate);
        if (verdict.problem.empty())
            return {candidate, std::move(verdict.held_connection)};
        problems += (problems.empty() ? "" : "; ") + candidate.plugin + ": " + verdict.problem;
    }
    throw std::runtime_error("no display for the window screen: " + problems);
}

}  // namespace host::qt
